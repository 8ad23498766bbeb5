// Writes the line store fuzzer's seed corpus: small print files of each shape.
// The first byte of each seed picks the tab size.

#include "fuzz/support/FuzzFiles.h"

#include <filesystem>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    const auto seedFolder = fuzzing::SeedFolder(argc, argv);
    if (!seedFolder) return 2;
    const std::filesystem::path& folder = *seedFolder;
    const std::string seeds[] = {
        std::string("\x04") + "VYPLATNE PASKY   STRANA 1\r\n  Novak Jan  1234,50\r\n\f\r\n",
        std::string("\x04") + "A\rB\nC\n\rD\r\r\nE",
        std::string("\x00", 1) + "a\tb\t\tc\r\n\td",
        std::string("\x04") + "X" + std::string("\0Y\r\nZ", 5),
        std::string("\x04") + "\xC4\xC4\xB3\xDA\xBF\xA0\x9F\r\n\f\f\f",
        std::string("\x04") + std::string(700, 'w') + "\r\n",
    };
    int n = 0;
    for (const std::string& seed : seeds)
        std::ofstream(folder / ("seed" + std::to_string(n++) + ".txt"), std::ios::binary) << seed;
    return 0;
}
