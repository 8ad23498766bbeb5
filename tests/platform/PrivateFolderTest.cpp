#include "platform/PrivateFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <string>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

class PrivateFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("tlacsub-private-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }

    // A file last modified that many days ago (a link itself, not its target, for a link).
    static void Age(const fs::path& path, int days) {
        const std::time_t when = std::time(nullptr) - days * 24 * 3600;
        const timespec times[2] = {{when, 0}, {when, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
    }
    void Write(const fs::path& path, int days) {
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "%PDF";
        Age(path, days);
    }
    static unsigned Mode(const fs::path& path) {
        struct stat info {};
        EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
        return info.st_mode & 07777;
    }

    fs::path root_;
};

// Sets or unsets an environment variable for one test, restoring it afterwards.
class EnvironmentVariable {
  public:
    EnvironmentVariable(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~EnvironmentVariable() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST(UserCacheFolder, FollowsXdgCacheHomeOnlyWhenAbsolute) {
    const struct {
        std::optional<std::string> xdgCacheHome;
        fs::path expected;
    } cases[] = {
        {"/srv/cache", "/srv/cache"},
        {"relative/cache", "/home/jana/.cache"},
        {"", "/home/jana/.cache"},
        {std::nullopt, "/home/jana/.cache"},
    };
    const EnvironmentVariable home("HOME", "/home/jana");
    for (const auto& c : cases) {
        const EnvironmentVariable cache("XDG_CACHE_HOME", c.xdgCacheHome);
        EXPECT_EQ(platform::UserCacheFolder(), c.expected) << c.xdgCacheHome.value_or("(unset)");
    }
}

TEST_F(PrivateFolderTest, IsMadeOrNarrowedToTheOwnerAlone) {
    const fs::path made = root_ / "cache" / "tlacsub";
    platform::EnsurePrivateFolder(made);
    EXPECT_TRUE(fs::is_directory(made));
    EXPECT_EQ(Mode(made), 0700u);

    const fs::path open = root_ / "open";
    fs::create_directory(open);
    ::chmod(open.c_str(), 0777);
    platform::EnsurePrivateFolder(open);
    EXPECT_EQ(Mode(open), 0700u);
}

TEST_F(PrivateFolderTest, RefusesWhatCouldHandTheFilesToSomeoneElse) {
    const fs::path target = root_ / "elsewhere";
    fs::create_directory(target);
    ::chmod(target.c_str(), 0755);
    fs::create_directory_symlink(target, root_ / "link");
    Write(root_ / "file", 0);
    fs::create_directory(root_ / "foreign");
    const bool canChown = ::chown((root_ / "foreign").c_str(), 65534, 65534) == 0;

    for (const char* name : {"link", "file", "foreign"}) {
        if (std::string(name) == "foreign" && !canChown) continue;
        EXPECT_THROW(platform::EnsurePrivateFolder(root_ / name), platform::EPrivateFolder) << name;
    }
    // The link's target was not narrowed through it.
    EXPECT_EQ(Mode(target), 0755u);
}

TEST_F(PrivateFolderTest, OnlyOldPlainFilesAreRemoved) {
    const fs::path folder = root_ / "tlacsub";
    Write(folder / "MZDY.pdf", 8);       // old: removed
    Write(folder / "MZDY_2.pdf", 6);     // a week not yet over: kept
    Write(folder / "DPH.pdf", 30);       // old: removed
    Write(folder / "old/KNIHA.pdf", 30); // in a folder below: kept
    Age(folder / "old", 30);             // and the folder itself too
    Write(root_ / "outside.pdf", 30);    // reached only through a link: kept
    fs::create_symlink(root_ / "outside.pdf", folder / "link.pdf");
    Age(folder / "link.pdf", 30);

    EXPECT_EQ(platform::RemoveFilesOlderThan(folder, 7 * 24h), 2);
    EXPECT_FALSE(fs::exists(folder / "MZDY.pdf"));
    EXPECT_FALSE(fs::exists(folder / "DPH.pdf"));
    EXPECT_TRUE(fs::exists(folder / "MZDY_2.pdf"));
    EXPECT_TRUE(fs::exists(folder / "old/KNIHA.pdf"));
    EXPECT_TRUE(fs::is_symlink(folder / "link.pdf"));
    EXPECT_TRUE(fs::exists(root_ / "outside.pdf"));

    // A folder that is a link is not cleaned through it; one that is missing is no error.
    Write(root_ / "real/OLD.pdf", 30);
    fs::create_directory_symlink(root_ / "real", root_ / "linked");
    EXPECT_EQ(platform::RemoveFilesOlderThan(root_ / "linked", 7 * 24h), 0);
    EXPECT_TRUE(fs::exists(root_ / "real/OLD.pdf"));
    EXPECT_EQ(platform::RemoveFilesOlderThan(root_ / "missing", 7 * 24h), 0);
}
