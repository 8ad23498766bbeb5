#include "app/Sources.h"

#include "app/Source.h"

#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace sources;

namespace {

std::vector<std::string> ArchivedPeriodLabels(const std::string& appFolder) {
    std::vector<std::string> labels;
    for (const Source& period : ArchivedPeriods(appFolder))
        labels.push_back(period.Label());
    return labels;
}

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
    Touch("Zal/ObdX12/Tla/ZozTls.dbf"); // labelled from its characters, as the host named it
    EXPECT_EQ(ArchivedPeriodLabels(app_), (std::vector<std::string>{"200X / 12", "2000 / 12"}));
}

TEST_F(AppFolder, HostCapitalsAreFoundOnACaseSensitiveFileSystem) {
    Touch("ZAL/obd712/TLA/zoztls.DBF");
    EXPECT_EQ(ArchivedPeriodLabels(app_), (std::vector<std::string>{"2007 / 12"}));
}

TEST_F(AppFolder, NoArchiveMeansNoPeriods) {
    EXPECT_TRUE(ArchivedPeriodLabels(app_).empty());
}

TEST_F(AppFolder, TheSelectorOffersTheTwoFixedSourcesFirst) {
    Touch("Zal/Obd712/Tla/ZozTls.dbf");
    EXPECT_EQ(OfferedSources(app_),
              (std::vector<Source>{Source::CurrentMonth(), Source::MealCalculations(),
                                   Source::ArchivedPeriod(2007, 12)}));
}

TEST(Folders, EachSourceHasItsCatalogAndPrintFileFolder) {
    const HostFolders host{"/host/", "/kalk/"};
    struct Case {
        Source source;
        std::string label;
        std::string catalog;
        std::string printFiles;
    };
    const Case cases[] = {
        {Source::CurrentMonth(), "Aktuálny mesiac", "/host/Cis/", "/host/Tla/"},
        {Source::MealCalculations(), "Kalkulácie jedál", "/kalk/Cis/", "/kalk/Tla/"},
        {Source::ArchivedPeriod(2007, 12), "2007 / 12", "/host/Zal/Obd712/Tla/",
         "/host/Zal/Obd712/Tla/"},
        {Source::ArchivedPeriod(2000, 12), "2000 / 12", "/host/Zal/Obd012/Tla/",
         "/host/Zal/Obd012/Tla/"},
        {Source::ArchivedPeriod(2006, 1), "2006 / 01", "/host/Zal/Obd601/Tla/",
         "/host/Zal/Obd601/Tla/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.source.Label(), c.label);
        EXPECT_EQ(c.source.CatalogFolder(host), c.catalog);
        EXPECT_EQ(c.source.PrintFileFolder(host), c.printFiles);
    }
    // Without a meal-calculation folder the folders are relative.
    EXPECT_EQ(Source::MealCalculations().CatalogFolder({"/host/", ""}), "Cis/");
}

TEST(Folders, PeriodsComeFromTheFolderName) {
    EXPECT_EQ(Source::FromPeriodFolder("Obd712"), Source::ArchivedPeriod(2007, 12));
    EXPECT_EQ(Source::FromPeriodFolder("oBD012"), Source::ArchivedPeriod(2000, 12));
    for (const char* name : {"Obd71", "Obd7123", "Abc712", ""})
        EXPECT_EQ(Source::FromPeriodFolder(name), std::nullopt) << name;
    // The host's characters are kept as they are, digits or not.
    const std::optional<Source> odd = Source::FromPeriodFolder("Obd7x2");
    ASSERT_TRUE(odd.has_value());
    EXPECT_EQ(odd->Label(), "2007 / x2");
    EXPECT_EQ(odd->CatalogFolder({"/host/", ""}), "/host/Zal/Obd7x2/Tla/");
}

TEST(Folders, ADeepApplicationFolderIsNotCut) {
    const std::string deep = "/" + std::string(300, 'd') + "/";
    EXPECT_EQ(Source::CurrentMonth().CatalogFolder({deep, ""}), deep + "Cis/");
    EXPECT_EQ(ApplicationFolder().back(), '/');
}

TEST_F(AppFolder, FoldersAreFoundWhateverTheLetterCase) {
    Touch("ZAL/obd712/TLA/MZDY.txt");
    Touch("cis/ZOZTLS.DBF");
    const HostFolders host{app_, ""};
    const Source period = Source::ArchivedPeriod(2007, 12);
    EXPECT_EQ(period.ResolvedPrintFile(host, "mzdy.TXT"), root_ / "ZAL/obd712/TLA/MZDY.txt");
    EXPECT_EQ(Source::CurrentMonth().ResolvedCatalogFolder(host), root_ / "cis");
    // The meal calculations without their folder look beside the current month.
    EXPECT_EQ(Source::MealCalculations().ResolvedCatalogFolder(host), root_ / "cis");
}
