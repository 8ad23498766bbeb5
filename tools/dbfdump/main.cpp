// tlacsub-dbfdump [--deleted] [--ansi N] [--oem N] FILE
// Prints a dBase table as JSON lines, the way the tool's reader sees it.

#include "platform/CodePages.h"
#include "tlacsub/Version.h"
#include "tools/dbfdump/JsonLines.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr char kUsage[] = "usage: tlacsub-dbfdump [--deleted] [--ansi N] [--oem N] FILE\n";

int Usage() {
    std::cerr << kUsage;
    return 2;
}

int Help() {
    std::cout << kUsage
              << "\nPrints a dBase table as JSON lines, the way tlacsub's reader sees it: the\n"
                 "table's layout first, then one line per record, texts in UTF-8. A table the\n"
                 "reader refuses gives the reader's message, a line naming the header field or\n"
                 "field descriptor at fault and the value found there, and exit status 1.\n\n"
                 "  --deleted   list deleted records too, marked as such\n"
                 "  --ansi N    the machine's ANSI code page (default: from the locale)\n"
                 "  --oem N     the machine's OEM code page (default: from the locale)\n"
                 "  -h, --help  show this help and end\n"
                 "  -v, --version  show the version and end\n";
    return 0;
}

std::optional<int> CodePageArgument(const char* text) {
    char* end = nullptr;
    long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value <= 0 || value > 65535) return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

int main(int argc, char** argv) {
    bool withDeleted = false;
    std::optional<int> ansi;
    std::optional<int> oem;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            return Help();
        } else if (arg == "-v" || arg == "--version") {
            std::cout << "tlacsub-dbfdump " << kTlacsubVersion << '\n';
            return 0;
        } else if (arg == "--deleted") {
            withDeleted = true;
        } else if ((arg == "--ansi" || arg == "--oem") && i + 1 < argc) {
            auto page = CodePageArgument(argv[++i]);
            if (!page) return Usage();
            (arg == "--ansi" ? ansi : oem) = page;
        } else if (file.empty() && !arg.starts_with("--")) {
            file = arg;
        } else {
            return Usage();
        }
    }
    if (file.empty()) return Usage();
    // The machine's code pages must be settled before the first table object exists.
    if (ansi || oem) {
        platform::SetMachineCodePages(ansi.value_or(platform::AnsiCodePage()),
                                      oem.value_or(platform::OemCodePage()));
    }

    try {
        dbf::TDbf table;
        table.SetReadOnly(true);
        table.SetShowDeleted(withDeleted);
        table.SetTableName(std::filesystem::absolute(file).string());
        table.Open();
        // Lines gather in one buffer that goes out a megabyte at a time.
        std::string out = dbfdump::DescribeTable(table) + '\n';
        dbfdump::RecordWriter writer(table);
        bool written = true;
        for (table.First(); !table.Eof(); table.Next()) {
            writer.Append(out, withDeleted);
            out += '\n';
            if (out.size() >= (1u << 20)) {
                written = written && std::fwrite(out.data(), 1, out.size(), stdout) == out.size();
                out.clear();
            }
        }
        table.Close();
        written = written && std::fwrite(out.data(), 1, out.size(), stdout) == out.size();
        return written && std::fflush(stdout) == 0 ? 0 : 1;
    } catch (const std::exception& error) {
        // The reader's message as the tool shows it, then what in the file made it refuse.
        std::cerr << error.what() << "\n";
        const std::string_view reason = dbf::RefusalReason(error);
        if (!reason.empty()) std::cerr << "Reason: " << reason << "\n";
        return 1;
    }
}
