// The window's logic that needs no widget: the meal-calculation folder and
// catalog loading into the memory table.
#include "HostFolder.h"

#include "app/CatalogEntry.h"
#include "app/CatalogLoading.h"
#include "app/MealCalcFolder.h"
#include "memtable/loxDisplay.h"
#include "platform/CodePages.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A Slovak office machine: catalogs read into 1250, print files in 852.
class SlovakMachine : public ::testing::Environment {
  public:
    void SetUp() override {
        platform::SetUserLocale("sk_SK");
        platform::SetMachineCodePages(1250, 852);
    }
};
const auto* const kMachine = ::testing::AddGlobalTestEnvironment(new SlovakMachine);

using Records = HostFolder::SettingsRecords;

TEST(MealCalcFolder, EndsInOneSeparatorWhateverTheHostWrote) {
    HostFolder host;
    host.WriteSettings("D:\\KALK");
    EXPECT_EQ(ReadMealCalcFolder(host.AppFolder()), "D:\\KALK\\");
    host.WriteSettings("D:\\KALK\\");
    EXPECT_EQ(ReadMealCalcFolder(host.AppFolder()), "D:\\KALK\\");
    host.WriteSettings("/srv/kalk/");
    EXPECT_EQ(ReadMealCalcFolder(host.AppFolder()), "/srv/kalk/");
    // An empty value, or none at all, names the root.
    host.WriteSettings("");
    EXPECT_EQ(ReadMealCalcFolder(host.AppFolder()), "\\");
    host.WriteSettings("D:\\KALK", Records::None);
    EXPECT_EQ(ReadMealCalcFolder(host.AppFolder()), "\\");
    // The first live record counts, in the machine's letters.
    host.WriteSettings("/srv/Kalkulácie jedál", Records::DeletedThenOne);
    EXPECT_EQ(ReadMealCalcFolder(host.AppFolder()), "/srv/Kalkulácie jedál\\");
    // A deep folder is kept whole: cutting it would name some other folder.
    const std::string deep = "/srv/" + std::string(240, 'k') + "/kalk";
    host.WriteSettings(deep);
    EXPECT_EQ(ReadMealCalcFolder(host.AppFolder()), deep + "\\");
}

TEST(MealCalcFolder, AnyFailureGivesAnEmptyFolderQuietly) {
    HostFolder host;
    EXPECT_EQ(ReadMealCalcFolder(host.AppFolder()), ""); // no table
    host.WriteSettings(std::nullopt);
    EXPECT_EQ(ReadMealCalcFolder(host.AppFolder()), ""); // no CESTAKAL
    host.WriteFile("oposcis.dbf", "not a table at all");
    EXPECT_EQ(ReadMealCalcFolder(host.AppFolder()), "");
}

TEST(MealCalcFolder, TheSettingsTableIsNeverWritten) {
    HostFolder host;
    // A header count that lags behind the records, as while the host appends:
    // a table opened for writing would get its header rewritten.
    host.WriteSettings("/srv/kalk", Records::DeletedThenOne, 1);
    const std::string before = host.ReadFile("oposcis.dbf");
    EXPECT_EQ(ReadMealCalcFolder(host.AppFolder()), "/srv/kalk\\");
    EXPECT_EQ(host.ReadFile("oposcis.dbf"), before);
}

class CatalogLoadingTest : public ::testing::Test {
  protected:
    CatalogLoadingTest() : PrnData(memtable::MakePrnData()) { ConfigureCatalogTable(Dbf1); }

    bool Load(const std::string& folder = "Cis") {
        return LoadCatalog(Dbf1, *PrnData, host_.Path(folder));
    }
    std::string Text(const char* field) const {
        return PrnData->ValueText(PrnData->FieldNamed(field));
    }
    int Integer(const char* field) const {
        return PrnData->ValueInteger(PrnData->FieldNamed(field));
    }
    int Day() const { return PrnData->ValueDayNumber(PrnData->FieldNamed("Datum")); }

    HostFolder host_;
    dbf::TDbf Dbf1;
    std::unique_ptr<memtable::TloxMemTable> PrnData;
};

TEST_F(CatalogLoadingTest, CopiesEveryEntryWithItsSevenValues) {
    host_.WriteCatalog("Cis",
                       {{"MZDY", "Výplatná páska", {2007, 12, 3}, "10:15", "MZDY.TXT", 136, 64},
                        {"DPH", "Priznanie k DPH", {2007, 12, 1}, "8:05", "DPH.TXT", 80, 60}});
    ASSERT_TRUE(Load());
    EXPECT_FALSE(Dbf1.Active());
    ASSERT_EQ(PrnData->RecordTotal(), 2);
    // RPrintN is active: DPH comes first and is current.
    EXPECT_EQ(PrnData->CursorPosition(), 1);
    EXPECT_EQ(Text("Nazov"), "DPH");
    PrnData->Step(1);
    EXPECT_EQ(Text("Nazov"), "MZDY");
    EXPECT_EQ(platform::AnsiToUtf8(Text("Popis")), "Výplatná páska");
    EXPECT_EQ(Day(), memtable::DateToDayNumber(2007, 12, 3));
    EXPECT_EQ(Text("Cas"), "10:15");
    EXPECT_EQ(Text("FilName"), "MZDY.TXT");
    EXPECT_EQ(Integer("Sirka"), 136);
    EXPECT_EQ(Integer("Dlzka"), 64);
}

TEST_F(CatalogLoadingTest, LongTextsAreCutAndAnEmptyDateIsTheFirstDay) {
    host_.WriteCatalog("Cis", {{"A", std::string(60, 'p'), {}, "", "DLHEMENO1.TXT", 80, 60}}, 60,
                       14);
    ASSERT_TRUE(Load());
    EXPECT_EQ(Text("Popis"), std::string(45, 'p'));
    EXPECT_EQ(Text("FilName"), "DLHEMENO1.TX");
    EXPECT_EQ(Day(), memtable::kDayNumberOf30Dec1899);
}

TEST_F(CatalogLoadingTest, FailuresAreReportedOnlyByTheResult) {
    host_.WriteCatalog("Cis", {{"A", "", {2007, 1, 1}, "", "A.TXT", 80, 60}});
    ASSERT_TRUE(Load());
    // A missing catalog leaves the table as it was.
    EXPECT_FALSE(Load("Zal/Obd612/Tla"));
    EXPECT_EQ(PrnData->RecordTotal(), 1);
    // So does one that cannot be opened; a folder of that name is no catalog.
    host_.WriteFile("Bad/ZOZTLS.DBF", "garbage");
    EXPECT_FALSE(Load("Bad"));
    EXPECT_EQ(PrnData->RecordTotal(), 1);
    std::filesystem::create_directories(host_.Path("Dir/ZOZTLS.DBF"));
    EXPECT_FALSE(Load("Dir"));
    // A catalog without a wanted field fails while copying, after the table was emptied.
    host_.WriteCatalogWithoutDlzka("Old", {{"X", "", {2007, 1, 1}, "", "X.TXT", 80, 60}});
    EXPECT_FALSE(Load("Old"));
    EXPECT_FALSE(Dbf1.Active());
    EXPECT_EQ(PrnData->RecordTotal(), 0);
}

TEST_F(CatalogLoadingTest, EntriesAreReadWholeFromTheCursorOrAPosition) {
    // Three entries share a name; the one wanted is first, in the middle and last.
    const std::vector<CatalogEntry> written = {
        {"MZDY", "Mzdy - zálohy", {2007, 12, 3}, "10:15", "MZDY1.TXT", 136, 64},
        {"MZDY", "Mzdy - výplaty", {2007, 12, 3}, "10:16", "MZDY2.TXT", 80, 60},
        {"ĽUDIA", "", {}, "", "L.TXT", 0, 0},
        {"MZDY", "Mzdy - opravy", {2007, 12, 3}, "10:16", "MZDY3.TXT", 80, 66},
    };
    host_.WriteCatalog("Cis", written);
    ASSERT_TRUE(Load());
    PrnData->SetIndexName(""); // arrival order: the catalog's own
    PrnData->GoFirst();
    PrnData->Step(1);
    EXPECT_EQ(CatalogEntry::Current(*PrnData), written[1]);
    for (int position = 1; position <= 4; ++position) {
        EXPECT_EQ(CatalogEntry::At(*PrnData, position), written[position - 1]) << position;
        EXPECT_EQ(FindEntry(*PrnData, written[position - 1]), position);
    }
    EXPECT_EQ(CatalogEntry::At(*PrnData, 5), CatalogEntry{});
    EXPECT_EQ(written[2].TrimmedNazov(), "ĽUDIA");
    // An entry is the same one by name, date, time and file, whatever its other fields.
    CatalogEntry changed = written[3];
    changed.Popis = "Iný popis";
    changed.Sirka = 10;
    EXPECT_EQ(FindEntry(*PrnData, changed), 4);
    for (auto change :
         {+[](CatalogEntry& e) { e.Nazov = "MZDX"; }, +[](CatalogEntry& e) { e.Datum.day = 4; },
          +[](CatalogEntry& e) { e.Cas = "10:17"; },
          +[](CatalogEntry& e) { e.FilName = "MZDY4.TXT"; }}) {
        CatalogEntry other = written[3];
        change(other);
        EXPECT_EQ(FindEntry(*PrnData, other), 0);
    }
    // An empty table has no current entry.
    PrnData->DeleteAll();
    EXPECT_EQ(CatalogEntry::Current(*PrnData), CatalogEntry{});
}

TEST(MealCalcFolder, OnlyAFolderTheHostNamesCountsAsSet) {
    EXPECT_FALSE(MealCalcFolderSet(""));
    EXPECT_FALSE(MealCalcFolderSet("\\"));
    EXPECT_TRUE(MealCalcFolderSet("D:\\KALK\\"));
    EXPECT_TRUE(MealCalcFolderSet("/"));
}

TEST_F(CatalogLoadingTest, TheCatalogIsOnlyRead) {
    host_.WriteCatalog("Cis", {{"A", "", {2007, 1, 1}, "", "A.TXT", 80, 60}});
    const std::string before = host_.ReadFile("Cis/ZOZTLS.DBF");
    ASSERT_TRUE(Load());
    EXPECT_EQ(host_.ReadFile("Cis/ZOZTLS.DBF"), before);
}

} // namespace
