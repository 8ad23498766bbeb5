#pragma once
// Where a report sent by e-mail waits for the mail program: a folder of the
// user's cache that only the user may enter. Its files are kept a week, long
// enough for a message that is written slowly, and removed at the next start
// after that.

#include <chrono>
#include <filesystem>
#include <string>

namespace mail_folder {

inline constexpr std::chrono::hours kKeepFor{7 * 24};

// ~/.cache/tlacsub (or under $XDG_CACHE_HOME); empty when the user has no home.
std::filesystem::path Folder();

// A free name for the report's PDF in the folder: <Nazov>.pdf, or <Nazov>_2.pdf
// and so on when an earlier message may still be using that name. A name that
// could leave the folder ('/' or control characters in it, "." or "..") is
// made safe.
std::filesystem::path FreePdfName(const std::filesystem::path& folder, const std::string& nazov);

// Removes the folder's files older than a week; nothing else, and nothing when
// it is not the user's own folder. Returns how many.
int RemoveOldFiles();

} // namespace mail_folder
