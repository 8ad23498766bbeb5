#include "dbf/TablePath.h"

#include "platform/Files.h"

#include <filesystem>

namespace dbf {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

// A drive ("C:..."), a share ("\\server...") or a path from this system's root.
bool IsAbsoluteFolder(std::string_view text) {
    if (!text.empty() && text[0] == '/') return true;
    if (text.size() < 2) return false;
    const char c = text[0];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return (letter && text[1] == ':') || (text[0] == '\\' && text[1] == '\\');
}

std::string WithNativeSeparators(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::string WithTrailingSeparator(std::string text) {
    if (text.empty() || !IsSeparator(text.back())) text += '/';
    return text;
}

} // namespace

std::string FolderWithSeparator(std::string_view folder) {
    return folder.empty() ? std::string() : WithTrailingSeparator(std::string(folder));
}

std::string AbsoluteFolder(std::string_view folder) {
    std::string native = WithNativeSeparators(folder);
    if (IsAbsoluteFolder(folder)) return WithTrailingSeparator(native);
    while (!native.empty() && native.front() == '/')
        native.erase(0, 1);
    std::filesystem::path base = platform::ExecutableFile().parent_path();
    std::filesystem::path full = native.empty() ? base : (base / native).lexically_normal();
    return WithTrailingSeparator(full.string());
}

} // namespace dbf
