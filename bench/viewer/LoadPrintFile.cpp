// load_print_file FILE: loads a print file into the line store and exits, so a
// whole process can be timed and its peak memory read beside other programs.
#include "viewer/MemoExStrings.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: load_print_file FILE\n");
        return 2;
    }
    try {
        TMemoExStrings lines;
        lines.LoadFile(argv[1]);
        std::printf("%d lines, longest under %d bytes\n", lines.LineCount(), lines.MaxLineLength());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
