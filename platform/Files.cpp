#include "platform/Files.h"

#include "platform/TextCase.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace platform {
namespace {

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    if (SameIgnoringAsciiCase(a, b)) return true;
    icu::UnicodeString ua = icu::UnicodeString::fromUTF8(a);
    icu::UnicodeString ub = icu::UnicodeString::fromUTF8(b);
    return ua.caseCompare(ub, U_FOLD_CASE_DEFAULT) == 0;
}

// Wildcard match with '?' (one character) and '*' (any run), letter case ignored.
bool MatchesWildcard(std::string_view name, std::string_view pattern) {
    icu::UnicodeString n = icu::UnicodeString::fromUTF8(
        icu::StringPiece(name.data(), static_cast<int32_t>(name.size())));
    icu::UnicodeString p = icu::UnicodeString::fromUTF8(
        icu::StringPiece(pattern.data(), static_cast<int32_t>(pattern.size())));
    n.foldCase();
    p.foldCase();
    int32_t ni = 0, pi = 0, star = -1, resume = 0;
    while (ni < n.length()) {
        if (pi < p.length() && (p[pi] == u'?' || p[pi] == n[ni])) {
            ++ni;
            ++pi;
        } else if (pi < p.length() && p[pi] == u'*') {
            star = pi++;
            resume = ni;
        } else if (star >= 0) {
            pi = star + 1;
            ni = ++resume;
        } else {
            return false;
        }
    }
    while (pi < p.length() && p[pi] == u'*')
        ++pi;
    return pi == p.length();
}

} // namespace

fs::path ExecutableFile() {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : self;
}

std::string PathSeparator() {
    return std::string(1, fs::path::preferred_separator);
}

fs::path ResolveHostPath(std::string_view hostPath, const fs::path& base) {
    std::string text(hostPath);
    for (char& c : text)
        if (c == '\\') c = '/';
    fs::path given(text);
    fs::path resolved = given.is_absolute() ? given.root_path() : base;
    std::vector<fs::path> parts;
    fs::path written = resolved;
    for (const fs::path& part : given.relative_path()) {
        if (part.empty() || part == ".") continue;
        parts.push_back(part);
        written /= part;
    }
    // Most paths name what is there as written: one look at the whole path
    // then, instead of one at each of its folders.
    std::error_code ec;
    if (parts.empty() || fs::exists(written, ec)) return written;
    for (const fs::path& part : parts) {
        std::string name = part.string();
        fs::path exact = resolved / part;
        if (name == ".." || fs::exists(exact, ec)) {
            resolved = exact;
            continue;
        }
        fs::path match = exact;
        for (fs::directory_iterator it(resolved.empty() ? fs::path(".") : resolved, ec), end;
             !ec && it != end; it.increment(ec)) {
            if (SameNameIgnoringCase(it->path().filename().string(), name)) {
                match = resolved / it->path().filename();
                break;
            }
        }
        resolved = match;
    }
    return resolved;
}

bool FileExists(std::string_view hostPath, const fs::path& base) {
    std::error_code ec;
    return fs::is_regular_file(ResolveHostPath(hostPath, base), ec);
}

bool FolderExists(std::string_view hostPath, const fs::path& base) {
    std::error_code ec;
    return fs::is_directory(ResolveHostPath(hostPath, base), ec);
}

std::vector<std::string> EnumerateFolder(std::string_view hostFolder, std::string_view pattern) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(ResolveHostPath(hostFolder), ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue; // hidden
        if (MatchesWildcard(name, pattern)) names.push_back(name);
    }
    return names;
}

} // namespace platform
