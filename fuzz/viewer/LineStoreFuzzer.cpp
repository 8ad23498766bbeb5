// Feeds arbitrary bytes to the line store, as a loaded file and as a whole text,
// and checks every line against a plain reading of the splitting rules: the
// text ends at its first NUL, each TAB becomes TabSize spaces, and CR LF, a
// lone CR or a lone LF ends a line.

#include "viewer/MemoExStrings.h"

#include "fuzz/support/FuzzFiles.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::filesystem::path& File() {
    static std::filesystem::path file;
    return file;
}

// The lines the store should hold, worked out the slow and obvious way.
std::vector<std::string> ExpectedLines(std::string_view bytes, int tabSize) {
    std::string text;
    for (char c : bytes) {
        if (c == '\0') break;
        if (c == '\t')
            text.append(static_cast<std::size_t>(tabSize), ' ');
        else
            text.push_back(c);
    }
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::string line;
        while (pos < text.size() && text[pos] != '\r' && text[pos] != '\n')
            line.push_back(text[pos++]);
        lines.push_back(std::move(line));
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    return lines;
}

void Check(const TMemoExStrings& store, const std::vector<std::string>& expected) {
    store.CheckInvariants();
    if (store.LineCount() != static_cast<int>(expected.size())) std::abort();
    for (int i = 0; i < store.LineCount(); ++i) {
        const std::string_view line = store.LineAt(i);
        if (line != expected[static_cast<std::size_t>(i)]) std::abort();
        if (store.LineLength(i) != static_cast<int>(line.size())) std::abort();
        if (static_cast<int>(line.size()) >= store.MaxLineLength()) std::abort();
    }
    if (!store.LineAt(-1).empty() || !store.LineAt(store.LineCount()).empty()) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    File() = fuzzing::MakeScratchFolder("linestore-fuzz") / "input.txt";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the tab size (0 drops tabs), the rest is the text.
    const int tabSize = data[0] % 9;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::vector<std::string> expected = ExpectedLines(bytes, tabSize);

    TMemoExStrings store;
    store.SetTabSize(tabSize);
    int notices = 0;
    store.OnTextChanged = [&](TMemoExStrings::ChangeKind) { ++notices; };

    fuzzing::WriteBytes(File(), data + 1, size - 1);
    store.LoadFile(File().string());
    Check(store, expected);
    if (notices != 1) std::abort();

    store.SetFullText(bytes);
    Check(store, expected);

    // The copy's text reads back as the same lines.
    const std::string full = store.FullText();
    store.SetFullText(full);
    Check(store, expected);

    // Editing calls keep every line free of breaks and leave the others alone.
    const int count = store.LineCount();
    const std::string_view piece = bytes.substr(0, bytes.size() / 2);
    store.InsertLine(count / 2, piece);
    store.AddLine(piece);
    for (int i = 0; i < store.LineCount(); ++i)
        if (store.LineAt(i).find_first_of(std::string_view("\r\n\0\t", 4)) !=
            std::string_view::npos)
            std::abort();
    store.ReplaceLine(0, bytes.substr(bytes.size() / 3));
    store.CheckInvariants();
    while (store.LineCount() > 0)
        store.DeleteLine(store.LineCount() - 1);
    store.ClearLines();
    if (store.LineCount() != 0 || !store.LineAt(0).empty()) std::abort();
    return 0;
}
