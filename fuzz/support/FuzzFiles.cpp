#include "fuzz/support/FuzzFiles.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iostream>

namespace fuzzing {

namespace {

std::filesystem::path& Scratch() {
    static std::filesystem::path folder;
    return folder;
}

void RemoveScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(Scratch(), ignored);
}

} // namespace

std::filesystem::path MakeScratchFolder(const std::string& prefix) {
    Scratch() =
        std::filesystem::temp_directory_path() / (prefix + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(Scratch());
    std::atexit(RemoveScratch);
    return Scratch();
}

void WriteBytes(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::optional<std::filesystem::path> SeedFolder(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << std::filesystem::path(argv[0]).filename().string() << " FOLDER\n";
        return std::nullopt;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);
    return folder;
}

} // namespace fuzzing
