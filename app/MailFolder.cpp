#include "app/MailFolder.h"

#include "platform/PrivateFolder.h"

#include <system_error>

namespace fs = std::filesystem;

namespace mail_folder {

fs::path Folder() {
    const fs::path cache = platform::UserCacheFolder();
    return cache.empty() ? fs::path() : cache / "tlacsub";
}

fs::path FreePdfName(const fs::path& folder, const std::string& nazov) {
    std::string stem;
    for (const char c : nazov)
        stem += c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '_' : c;
    if (stem.empty() || stem == "." || stem == "..") stem = "zostava";
    fs::path name = folder / (stem + ".pdf");
    std::error_code ec;
    for (int number = 2; fs::exists(fs::symlink_status(name, ec)); ++number)
        name = folder / (stem + "_" + std::to_string(number) + ".pdf");
    return name;
}

int RemoveOldFiles() {
    const fs::path folder = Folder();
    if (folder.empty()) return 0;
    return platform::RemoveFilesOlderThan(folder, kKeepFor);
}

} // namespace mail_folder
