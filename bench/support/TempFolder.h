#pragma once
// A folder of its own under the system's temporary folder, removed with
// everything in it when the benchmark is done.

#include <filesystem>
#include <string>

namespace bench {

class TempFolder {
  public:
    // Makes <temp>/<prefix>-XXXXXX with a name no other run has; throws when it cannot.
    explicit TempFolder(const std::string& prefix);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

  private:
    std::filesystem::path path_;
};

} // namespace bench
