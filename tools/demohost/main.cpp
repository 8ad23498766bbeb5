// demohost: writes a demo host folder for tlacsub.
// Usage: demohost [--month YYYY-MM] [--oem 852|895|867|620] FOLDER
// The month defaults to the current one; the same month always gives the same
// files. --oem writes the texts in Kamenický (895, 867) or Mazovia (620) instead
// of 852, with catalogs whose language driver names the page.

#include "tools/demohost/HostFolder.h"
#include "tools/demohost/OemText.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <exception>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: demohost [--month YYYY-MM] [--oem 852|895|867|620] FOLDER\n");
    return 2;
}

bool ParseMonth(const std::string& text, demohost::Month& month) {
    int year = 0, number = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d%c", &year, &number, &tail) != 2) return false;
    // The host's period folders keep one year digit and label every year "200x",
    // so only years that its catalogs' dates can hold make sense here.
    if (year < 1900 || year > 2099 || number < 1 || number > 12) return false;
    month = {year, number};
    return true;
}

demohost::Month ThisMonth() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1};
}

} // namespace

int main(int argc, char* argv[]) {
    demohost::Month month = ThisMonth();
    int codePage = demohost::kHostCodePage;
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--month" && i + 1 < argc) {
            if (!ParseMonth(argv[++i], month)) {
                std::fprintf(stderr, "demohost: not a month (YYYY-MM): %s\n", argv[i]);
                return 2;
            }
        } else if (argument == "--oem" && i + 1 < argc) {
            char* end = nullptr;
            codePage = static_cast<int>(std::strtol(argv[++i], &end, 10));
            if (*end != '\0' || demohost::LanguageDriverFor(codePage) == 0) {
                std::fprintf(stderr, "demohost: not a code page a demo is written in: %s\n",
                             argv[i]);
                return 2;
            }
        } else if (!argument.empty() && argument[0] != '-' && folder.empty()) {
            folder = argument;
        } else {
            return Usage();
        }
    }
    if (folder.empty()) return Usage();

    try {
        const demohost::HostFolderSummary summary =
            demohost::WriteHostFolder(folder, month, codePage);
        std::printf("Demo host folder %s: current month %s, archived", folder.c_str(),
                    month.Short().c_str());
        for (const std::string& name : summary.archivedFolders)
            std::printf(" %s", name.c_str());
        std::printf(", meal calculations in %s; %d print files in %zu catalogs, code page %d.\n",
                    summary.mealFolder.c_str(), summary.printFiles, summary.catalogs.size(),
                    codePage);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "demohost: %s\n", error.what());
        return 1;
    }
    return 0;
}
