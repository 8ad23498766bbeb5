// The list's use cases driven without a window: choosing each kind of source,
// the entry kept across a reload, the request to print the entry the user is
// on, and when a catalog that changed on disk is reloaded.
#include "HostFolder.h"

#include "app/CatalogLoading.h"
#include "app/CatalogSession.h"
#include "app/HeldReload.h"
#include "app/SourceChoice.h"
#include "memtable/loxMemTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

class UseCasesTest : public ::testing::Test {
  protected:
    UseCasesTest()
        : PrnData(memtable::MakePrnData()), sources_(host_.AppFolder()),
          session_(sources_, Dbf1, *PrnData) {
        ConfigureCatalogTable(Dbf1);
    }

    std::vector<std::string> Labels() const {
        std::vector<std::string> labels;
        for (const Source& source : sources_.Offered())
            labels.push_back(source.Label());
        return labels;
    }

    HostFolder host_;
    dbf::TDbf Dbf1;
    std::unique_ptr<memtable::TloxMemTable> PrnData;
    SourceChoice sources_;
    CatalogSession session_;
};

TEST_F(UseCasesTest, EachKindOfSourceLoadsItsOwnCatalog) {
    host_.WriteCatalog("Cis", {{"AKTUALNY", "", {2007, 12, 5}, "", "A.TXT", 80, 60}});
    host_.WriteSettings(host_.AppFolder() + "Kalk");
    host_.WriteCatalog("Kalk/Cis", {{"OBED", "", {2007, 12, 3}, "", "O.TXT", 80, 60}});
    host_.WriteCatalog("Zal/Obd712/Tla", {{"DECEMBER", "", {2007, 12, 31}, "", "D.TXT", 80, 60}});
    host_.WriteCatalog("Zal/Obd611/Tla", {{"NOVEMBER", "", {2006, 11, 30}, "", "N.TXT", 80, 60}});
    sources_.FindSources();
    ASSERT_EQ(Labels(), (std::vector<std::string>{"Aktuálny mesiac", "Kalkulácie jedál",
                                                  "2007 / 12", "2006 / 11"}));
    struct Case {
        Source source;
        std::string nazov;
        std::string printFile;
    };
    const Case cases[] = {
        {Source::MealCalculations(), "OBED", "Kalk/Tla/O.TXT"},
        {Source::ArchivedPeriod(2006, 11), "NOVEMBER", "Zal/Obd611/Tla/N.TXT"},
        {Source::ArchivedPeriod(2007, 12), "DECEMBER", "Zal/Obd712/Tla/D.TXT"},
        {Source::CurrentMonth(), "AKTUALNY", "Tla/A.TXT"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source.Label());
        ASSERT_TRUE(sources_.Choose(c.source));
        EXPECT_EQ(sources_.Offered()[sources_.CurrentIndex()], c.source);
        ASSERT_TRUE(session_.Load());
        EXPECT_EQ(PrnData->RecordTotal(), 1);
        const CatalogEntry entry = session_.CurrentEntry();
        EXPECT_EQ(entry.Nazov, c.nazov);
        EXPECT_EQ(session_.PrintFileOf(entry), host_.Path(c.printFile));
    }

    // What is not offered is not chosen, and the choice stays.
    EXPECT_FALSE(sources_.Choose(Source::ArchivedPeriod(2005, 1)));
    EXPECT_FALSE(sources_.Choose(4));
    EXPECT_EQ(sources_.Current(), Source::CurrentMonth());
    // Finding the sources again keeps the choice while it is offered.
    ASSERT_TRUE(sources_.Choose(3));
    sources_.FindSources();
    EXPECT_EQ(sources_.Current(), Source::ArchivedPeriod(2006, 11));
    std::filesystem::remove_all(host_.Path("Zal/Obd611"));
    sources_.FindSources();
    EXPECT_EQ(sources_.Current(), Source::CurrentMonth());
    EXPECT_EQ(sources_.Offered().size(), 3u);
}

TEST_F(UseCasesTest, WithoutAMealCalculationFolderTheCurrentMonthIsShownForIt) {
    host_.WriteCatalog("Cis", {{"AKTUALNY", "", {2007, 12, 5}, "", "A.TXT", 80, 60}});
    sources_.FindSources();
    ASSERT_TRUE(sources_.Choose(Source::MealCalculations()));
    ASSERT_TRUE(session_.Load());
    EXPECT_EQ(session_.CurrentEntry().Nazov, "AKTUALNY");
    EXPECT_EQ(session_.PrintFileOf(session_.CurrentEntry()), host_.Path("Tla/A.TXT"));
}

TEST_F(UseCasesTest, AReloadKeepsTheEntryTheUserWasOnAmongNamesakes) {
    // Three entries named MZDY, each told from the second by one field only.
    const std::vector<CatalogEntry> mzdy = {
        {"MZDY", "Zálohy", {2007, 12, 3}, "10:15", "M.TXT", 80, 60},
        {"MZDY", "Výplaty", {2007, 12, 3}, "10:16", "M.TXT", 80, 60},
        {"MZDY", "Opravy", {2007, 12, 3}, "10:16", "N.TXT", 80, 60},
    };
    const CatalogEntry dph{"DPH", "", {2007, 12, 1}, "", "DPH.TXT", 80, 60};
    for (size_t kept = 0; kept < mzdy.size(); ++kept) {
        SCOPED_TRACE("kept entry " + std::to_string(kept + 1));
        host_.WriteCatalog("Cis", {mzdy[0], mzdy[1], mzdy[2], dph});
        ASSERT_TRUE(session_.Load());
        PrnData->MoveToPosition(FindEntry(*PrnData, mzdy[kept]));
        ASSERT_TRUE(session_.CurrentEntry().SameEntryAs(mzdy[kept]));

        // The host writes the catalog again: another order, new descriptions, one more entry.
        std::vector<CatalogEntry> rewritten = {mzdy[2], dph, mzdy[1], mzdy[0]};
        for (CatalogEntry& entry : rewritten)
            entry.Popis += " (opravené)";
        rewritten.push_back({"ANO", "", {2007, 12, 9}, "", "ANO.TXT", 80, 60});
        host_.WriteCatalog("Cis", rewritten);
        const CatalogSession::Reload reload = session_.LoadKeeping(session_.CurrentEntry());
        ASSERT_TRUE(reload.loaded);
        EXPECT_EQ(reload.keptPosition, PrnData->CursorPosition());
        EXPECT_TRUE(session_.CurrentEntry().SameEntryAs(mzdy[kept]));
        EXPECT_EQ(session_.CurrentEntry().Popis, mzdy[kept].Popis + " (opravené)");
    }

    // An entry the catalog no longer holds leaves the first entry current.
    host_.WriteCatalog("Cis", {dph, mzdy[0]});
    const CatalogSession::Reload gone = session_.LoadKeeping(mzdy[1]);
    EXPECT_TRUE(gone.loaded);
    EXPECT_EQ(gone.keptPosition, 0);
    EXPECT_EQ(PrnData->CursorPosition(), 1);
    // A catalog that cannot be read is no reload.
    std::filesystem::remove(host_.Path("Cis/ZOZTLS.DBF"));
    EXPECT_FALSE(session_.LoadKeeping(dph).loaded);
}

TEST_F(UseCasesTest, APrintRequestIsForTheEntryTheUserIsOn) {
    host_.WriteCatalog("Zal/Obd712/Tla",
                       {{"A", "", {2007, 12, 1}, "", "A.TXT", 80, 60},
                        {"B", "Druhá", {2007, 12, 2}, "11:00", "B.TXT", 136, 66}});
    sources_.FindSources();
    ASSERT_TRUE(sources_.Choose(Source::ArchivedPeriod(2007, 12)));
    ASSERT_TRUE(session_.Load());
    PrnData->MoveToPosition(2);
    const PrintRequest request =
        session_.RequestForCurrent({2, 3}, false, PrintDestination::Queue("druha"));
    EXPECT_EQ(request.entry,
              (CatalogEntry{"B", "Druhá", {2007, 12, 2}, "11:00", "B.TXT", 136, 66}));
    EXPECT_EQ(request.printFile, host_.Path("Zal/Obd712/Tla/B.TXT"));
    EXPECT_EQ(request.pages.first, 2);
    EXPECT_EQ(request.pages.last, 3);
    EXPECT_FALSE(request.Portrait);
    EXPECT_EQ(request.destination.kind, PrintDestination::Kind::Queue);
    EXPECT_EQ(request.destination.queue, "druha");
}

TEST(HeldReloadTest, AChangeWaitsForTheListAndForTheEndOfAPrint) {
    HeldReload held;
    EXPECT_TRUE(held.CatalogChanged(true)); // the list is shown: at once
    held.Reloaded();
    EXPECT_FALSE(held.Pending());

    EXPECT_FALSE(held.CatalogChanged(false)); // the preview is shown
    EXPECT_TRUE(held.Pending());
    EXPECT_FALSE(held.Due(false));
    held.PrintStarted(); // a print from the preview
    EXPECT_FALSE(held.Due(true));
    held.PrintEnded();
    EXPECT_TRUE(held.Due(true)); // back on the list
    held.Reloaded();
    EXPECT_FALSE(held.Due(true));

    held.PrintStarted(); // a print from the list
    EXPECT_FALSE(held.CatalogChanged(true));
    held.PrintEnded();
    EXPECT_TRUE(held.Due(true));
}

} // namespace
