#pragma once
// Files of the fuzzers and their seed writers: a scratch folder per process, bytes
// written to a file, and the folder a seed writer is given.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace fuzzing {

// Makes <temp>/<prefix>-<process id> and removes it with its files when the
// process exits, so parallel fuzzing jobs never share an input file.
std::filesystem::path MakeScratchFolder(const std::string& prefix);

// Writes the bytes as the file's whole content.
void WriteBytes(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size);

// The one argument of a seed writer, the corpus folder, made if missing; without
// exactly one argument it prints the usage and gives nothing.
std::optional<std::filesystem::path> SeedFolder(int argc, char** argv);

} // namespace fuzzing
