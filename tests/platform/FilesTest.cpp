#include "platform/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace fs = std::filesystem;
using namespace platform;

namespace {

class HostFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ =
            fs::temp_directory_path() /
            ("tlacsub-files-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    void Touch(const fs::path& relative) {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative) << "x";
    }
    fs::path root_;
};

} // namespace

TEST_F(HostFolder, ResolvesHostNamesIgnoringCaseAndBackslashes) {
    Touch("ZAL/obd712/TLA/zoztls.DBF");
    fs::path found = ResolveHostPath((root_.string() + "/Zal\\Obd712\\Tla\\ZozTls.dbf"));
    EXPECT_EQ(found, root_ / "ZAL/obd712/TLA/zoztls.DBF");
    EXPECT_TRUE(FileExists(root_.string() + "/Zal/Obd712/Tla/ZOZTLS.DBF"));
    EXPECT_TRUE(FolderExists(root_.string() + "/zal/OBD712"));
    EXPECT_FALSE(FileExists(root_.string() + "/Zal/Obd712")); // a folder is no file
    EXPECT_FALSE(FileExists(root_.string() + "/Zal/Obd713/Tla/ZozTls.dbf"));
}

TEST_F(HostFolder, RelativePathsStartAtTheGivenBase) {
    Touch("Cis/ZOZTLS.DBF");
    EXPECT_TRUE(FileExists("Cis\\ZozTls.dbf", root_));
    EXPECT_TRUE(FileExists("cis/zoztls.dbf", root_));
    EXPECT_EQ(ResolveHostPath("CIS/zoztls.dbf", root_), root_ / "Cis/ZOZTLS.DBF");
}

TEST_F(HostFolder, ExactNamesWinOverOtherCasings) {
    Touch("tla/a.txt");
    Touch("Tla/b.txt");
    EXPECT_TRUE(FileExists(root_.string() + "/Tla/b.txt"));
    EXPECT_TRUE(FileExists(root_.string() + "/tla/a.txt"));
}

TEST_F(HostFolder, EnumeratesByWildcardIgnoringCaseAndSkippingHidden) {
    Touch("Zal/Obd712/x");
    Touch("Zal/OBD611/x");
    Touch("Zal/obd7012/x");
    Touch("Zal/.Obd999/x");
    Touch("Zal/Obd701"); // a plain file is listed too
    auto names = EnumerateFolder(root_.string() + "/zal/", "Obd???");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"OBD611", "Obd701", "Obd712"}));
    EXPECT_TRUE(EnumerateFolder(root_.string() + "/missing/", "*").empty());
}

TEST(ExecutableFile, NamesThisTestProgram) {
    EXPECT_EQ(ExecutableFile().filename(), "platform_tests");
    EXPECT_EQ(PathSeparator(), "/");
}
