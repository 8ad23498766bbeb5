#include "app/Sources.h"

#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace sources;

namespace {

class AppFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetUserLocale("sk_SK");
        root_ = fs::temp_directory_path() /
                (std::string("tlacsub-sources-") +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        fs::create_directories(root_);
        app_ = root_.string() + "/";
    }
    void TearDown() override { fs::remove_all(root_); }
    void Touch(const std::string& relative) {
        fs::create_directories((root_ / relative).parent_path());
        std::ofstream(root_ / relative) << "x";
    }
    fs::path root_;
    std::string app_;
};

} // namespace

TEST_F(AppFolder, ArchivedPeriodsAreListedNewestFirst) {
    Touch("Zal/Obd611/Tla/ZozTls.dbf");
    Touch("Zal/Obd712/Tla/ZozTls.dbf");
    Touch("Zal/Obd701/Tla/ZozTls.dbf");
    EXPECT_EQ(ArchivedPeriodLabels(app_),
              (std::vector<std::string>{"2007 / 12", "2007 / 01", "2006 / 11"}));
}

TEST_F(AppFolder, OnlyPeriodFoldersWithACatalogAreOffered) {
    Touch("Zal/Obd012/Tla/ZozTls.dbf");
    Touch("Zal/Obd611/Tla/other.dbf"); // no catalog
    Touch("Zal/Obd712");               // a plain file named like a period
    Touch("Zal/Obd7123/Tla/ZozTls.dbf");
    EXPECT_EQ(ArchivedPeriodLabels(app_), (std::vector<std::string>{"2000 / 12"}));
}

TEST_F(AppFolder, HostCapitalsAreFoundOnACaseSensitiveFileSystem) {
    Touch("ZAL/obd712/TLA/zoztls.DBF");
    EXPECT_EQ(ArchivedPeriodLabels(app_), (std::vector<std::string>{"2007 / 12"}));
}

TEST_F(AppFolder, NoArchiveMeansNoPeriods) {
    EXPECT_TRUE(ArchivedPeriodLabels(app_).empty());
}

TEST(Folders, EachSourceHasItsCatalogAndPrintFileFolder) {
    const std::string app = "/host/";
    const std::string meal = "/kalk/";
    EXPECT_EQ(CatalogFolder(0, kCurrentMonth, app, meal), "/host/Cis/");
    EXPECT_EQ(PrintFileFolder(0, kCurrentMonth, app, meal), "/host/Tla/");
    EXPECT_EQ(CatalogFolder(1, kMealCalculations, app, meal), "/kalk/Cis/");
    EXPECT_EQ(PrintFileFolder(1, kMealCalculations, app, meal), "/kalk/Tla/");
    EXPECT_EQ(CatalogFolder(2, "2007 / 12", app, meal), "/host/Zal/Obd712/Tla/");
    EXPECT_EQ(PrintFileFolder(3, "2000 / 12", app, meal), "/host/Zal/Obd012/Tla/");
    // Without a meal-calculation folder the folders are relative.
    EXPECT_EQ(CatalogFolder(1, kMealCalculations, app, ""), "Cis/");
}

TEST(Folders, PeriodLabelsComeFromTheFolderName) {
    EXPECT_EQ(PeriodLabel("Obd712"), "2007 / 12");
    EXPECT_EQ(PeriodLabel("obd012"), "2000 / 12");
}

TEST(Folders, ADeepApplicationFolderIsNotCut) {
    const std::string deep = "/" + std::string(300, 'd') + "/";
    EXPECT_EQ(CatalogFolder(0, kCurrentMonth, deep, ""), deep + "Cis/");
    EXPECT_EQ(ApplicationFolder().back(), '/');
}
