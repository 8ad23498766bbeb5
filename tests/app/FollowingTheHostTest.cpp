// The list following the host's catalog through what hosts and users do to the
// folders and files around it: folders deleted and created again or swapped,
// catalogs written slowly or with their time restored, entries that share a name.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "WindowControls.h"

#include "app/CatalogGrid.h"
#include "app/CatalogWatch.h"
#include "app/Form1.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

namespace fs = std::filesystem;

namespace {

constexpr int kWithin = 3000; // ms the list may take to follow the host

// Counts how often a control was shown.
class ShowCounter : public QObject {
  public:
    explicit ShowCounter(QWidget* watched) { watched->installEventFilter(this); }
    int shown = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) ++shown;
        return QObject::eventFilter(watched, event);
    }
};

class FollowingTheHostTest : public ::testing::Test {
  protected:
    FollowingTheHostTest() { host_.WriteCatalog("Cis", CurrentMonth()); }

    void Start(int item = 0) {
        form_ = std::make_unique<TForm1>(host_.AppFolder());
        form_->show();
        QApplication::setActiveWindow(form_.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form_.get()));
        if (item != 0) ChooseSource(*form_, item);
        Controls(*form_).GrZozn->setFocus();
    }

    std::string Current(const char* field) const {
        return form_->CatalogRecords().ValueText(form_->CatalogRecords().FieldNamed(field));
    }
    int Rows() const { return Controls(*form_).rows->rowCount(); }
    bool Listed(const std::string& nazov) const {
        for (int row = 0; row < Rows(); ++row)
            if (Controls(*form_).rows->index(row, 0).data().toString().toStdString() == nazov)
                return true;
        return false;
    }
    static bool WaitFor(const std::function<bool()>& condition) {
        return QTest::qWaitFor(condition, kWithin);
    }

    HostFolder host_;
    MessageBoxCatcher boxes_;
    std::unique_ptr<TForm1> form_;
};

std::vector<CatalogEntry> WithEntry(std::vector<CatalogEntry> entries, const char* nazov) {
    entries.push_back({nazov, "Nová zostava", {2007, 12, 28}, "16:00", "NOVA.TXT", 80, 60});
    return entries;
}

TEST_F(FollowingTheHostTest, TheCatalogsPathIsFollowedWhenFoldersAreRecreatedOrSwapped) {
    enum class Change { Recreated, Swapped };
    struct Case {
        int item;
        std::string catalogFolder;
        std::string changed; // the folder deleted or swapped, on the catalog's path
        Change change;
    };
    const Case cases[] = {
        {0, "Cis", "Cis", Change::Recreated},
        {0, "Cis", "Cis", Change::Swapped},
        {2, "Zal/Obd712/Tla", "Zal/Obd712", Change::Swapped},
    };
    host_.WriteCatalog("Zal/Obd712/Tla", CurrentMonth());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.changed + (c.change == Change::Swapped ? " swapped" : " recreated"));
        host_.WriteCatalog(c.catalogFolder, CurrentMonth());
        Start(c.item);
        ASSERT_EQ(Rows(), 3);
        const fs::path changed = host_.Path(c.changed);
        if (c.change == Change::Recreated) {
            fs::remove_all(changed);
            ASSERT_TRUE(WaitFor([this] { return FailureShown(*form_); }));
            // The folders come back empty; the catalog follows well after the quiet time.
            fs::create_directories(host_.Path(c.catalogFolder));
            QTest::qWait(CatalogWatch::kQuietMilliseconds + 300);
            host_.WriteCatalog(c.catalogFolder, WithEntry(CurrentMonth(), "D-NOVY"));
        } else {
            const std::string below = fs::path(c.catalogFolder).lexically_relative(c.changed);
            host_.WriteCatalog((fs::path(c.changed + ".new") / below).lexically_normal().string(),
                               WithEntry(CurrentMonth(), "D-NOVY"));
            fs::rename(changed, host_.Path(c.changed + ".old"));
            fs::rename(host_.Path(c.changed + ".new"), changed);
        }
        ASSERT_TRUE(WaitFor([this] { return Rows() == 4 && ListShown(*form_); }));
        EXPECT_TRUE(Listed("D-NOVY"));
        if (c.change == Change::Swapped) {
            // The folder swapped in is the one followed from here on.
            host_.WriteCatalog(c.catalogFolder, WithEntry(CurrentMonth(), "E-DALSI"));
            ASSERT_TRUE(WaitFor([this] { return Listed("E-DALSI"); }));
        }
        EXPECT_TRUE(boxes_.Texts().isEmpty());
        form_.reset();
        fs::remove_all(host_.Path(c.changed + ".old"));
    }
}

TEST_F(FollowingTheHostTest, TheListComingBackByItselfTakesTheFocusUnlessAPageIsBeingTyped) {
    struct Case {
        const char* focusDuringBanner;
        const char* focusAfter;
    };
    for (const Case& c : {Case{"cbMesiac", "GrZozn"}, Case{"EStr1", "EStr1"}}) {
        SCOPED_TRACE(c.focusDuringBanner);
        Start();
        fs::remove(host_.Path("Cis/ZOZTLS.DBF"));
        ASSERT_TRUE(WaitFor([this] { return FailureShown(*form_); }));
        form_->findChild<QWidget*>(c.focusDuringBanner)->setFocus();
        host_.WriteCatalog("Cis", CurrentMonth());
        ASSERT_TRUE(WaitFor([this] { return ListShown(*form_); }));
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), c.focusAfter);
        // Down Down then moves in the list, not to another source.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        EXPECT_EQ(Controls(*form_).cbMesiac->currentIndex(), 0);
        if (QApplication::focusWidget() == Controls(*form_).GrZozn) {
            EXPECT_EQ(Controls(*form_).GrZozn->CurrentRow(), 2);
        }
        form_.reset();
    }
}

TEST_F(FollowingTheHostTest, AReloadKeepsTheEntryAmongEntriesOfOneName) {
    // Each entry before the current one differs from it in one key field only:
    // the date, the time, the file (its tie in the order puts it first).
    const std::vector<CatalogEntry> mzdy = {
        {"MZDY", "Mzdy", {2007, 12, 4}, "08:00", "M2.TXT", 80, 60}, // current
        {"MZDY", "Mzdy", {2007, 12, 4}, "08:00", "M1.TXT", 80, 60},
        {"MZDY", "Mzdy", {2007, 12, 4}, "07:00", "M2.TXT", 80, 60},
        {"MZDY", "Mzdy", {2007, 12, 3}, "08:00", "M2.TXT", 80, 60},
        {"MZDY", "Mzdy", {2007, 12, 5}, "08:00", "M2.TXT", 80, 60},
    };
    host_.WriteCatalog("Cis", mzdy);
    Start();
    SelectEntry(*form_, 4);
    ASSERT_EQ(Current("FilName"), "M2.TXT");
    ASSERT_EQ(Current("Cas").substr(0, 5), "08:00");

    // The host adds an entry that comes first, so every row moves down one.
    std::vector<CatalogEntry> more = mzdy;
    more.push_back({"MZDY", "Mzdy", {2007, 12, 1}, "08:00", "M0.TXT", 80, 60});
    host_.WriteCatalog("Cis", more);
    ASSERT_TRUE(WaitFor([this] { return Rows() == 6; }));
    EXPECT_EQ(Controls(*form_).GrZozn->CurrentRow(), 4);
    EXPECT_EQ(Current("FilName"), "M2.TXT");
    EXPECT_EQ(Current("Cas").substr(0, 5), "08:00");
}

TEST_F(FollowingTheHostTest, ACatalogWrittenInPiecesReloadsOnceAfterTheLast) {
    Start();
    CatalogWatch* watch = form_->findChild<CatalogWatch*>();
    ASSERT_NE(watch, nullptr);
    QSignalSpy reloads(watch, &CatalogWatch::CatalogChanged);
    ShowCounter banner(Controls(*form_).SText);
    host_.WriteCatalog("Slow", WithEntry(CurrentMonth(), "D-NOVY"));
    const std::string whole = host_.ReadFile("Slow/ZOZTLS.DBF");

    // A machine that stalls between two pieces for the whole quiet time gives
    // the host's pause away; such a try does not count.
    constexpr int kPause = 350;
    bool paced = false;
    for (int attempt = 0; attempt < 3 && !paced; ++attempt) {
        if (attempt > 0) {
            QTest::qWait(2 * CatalogWatch::kQuietMilliseconds);
            reloads.clear();
            banner.shown = 0;
        }
        std::ofstream catalog(host_.Path("Cis/ZOZTLS.DBF"), std::ios::binary | std::ios::trunc);
        QElapsedTimer pace;
        pace.start();
        paced = true;
        const size_t third = whole.size() / 3;
        for (int piece = 0; piece < 3; ++piece) {
            if (piece > 0) {
                QTest::qWait(kPause);
                paced = paced && pace.restart() < CatalogWatch::kQuietMilliseconds - 50;
            }
            catalog << whole.substr(piece * third, piece == 2 ? std::string::npos : third);
            catalog.flush();
        }
    }
    ASSERT_TRUE(paced) << "the machine was too busy to write at the host's pace";
    ASSERT_TRUE(WaitFor([this] { return Rows() == 4; }));
    // Time enough for a second reload, had one been coming.
    QTest::qWait(CatalogWatch::kQuietMilliseconds + 300);
    EXPECT_EQ(reloads.count(), 1);
    EXPECT_EQ(banner.shown, 0);
    EXPECT_TRUE(ListShown(*form_));
}

TEST_F(FollowingTheHostTest, ACatalogRewrittenWithItsSizeAndTimeRestoredIsNoticed) {
    // Coarse timestamps of a network share: the new catalog has the same size
    // and, once its time is set back, the same modification time.
    std::vector<CatalogEntry> renamed = CurrentMonth();
    renamed[1].Nazov = "A-DPX";
    for (const bool inPlace : {true, false}) {
        SCOPED_TRACE(inPlace ? "rewritten in place" : "replaced");
        host_.WriteCatalog("Cis", CurrentMonth());
        Start();
        ASSERT_TRUE(Listed("A-DPH"));
        const fs::path catalog = host_.Path("Cis/ZOZTLS.DBF");
        const auto size = fs::file_size(catalog);
        const auto written = fs::last_write_time(catalog);
        host_.WriteCatalog("New", renamed);
        const std::string bytes = host_.ReadFile("New/ZOZTLS.DBF");
        ASSERT_EQ(bytes.size(), size);
        const fs::path target = inPlace ? catalog : host_.Path("Cis/ZOZTLS.NEW");
        std::ofstream(target, std::ios::binary | std::ios::trunc) << bytes;
        fs::last_write_time(target, written);
        if (!inPlace) fs::rename(target, catalog);
        ASSERT_EQ(fs::last_write_time(catalog), written);
        EXPECT_TRUE(WaitFor([this] { return Listed("A-DPX"); }));
        EXPECT_FALSE(Listed("A-DPH"));
        form_.reset();
    }
}

TEST_F(FollowingTheHostTest, ACatalogReplacedWhileItIsReadIsLookedAtAgain) {
    // The watch as a load uses it: followed at the end of every load.
    CatalogWatch watch(nullptr);
    QSignalSpy changed(&watch, &CatalogWatch::CatalogChanged);
    const HostFolders folders{host_.AppFolder(), {}};
    watch.Follow(Source::CurrentMonth(), folders);
    // The host replaces the catalog while the load reads it: the load ends
    // before a single event of the replacement has been seen.
    host_.WriteCatalog("New", WithEntry(CurrentMonth(), "D-NOVY"));
    fs::rename(host_.Path("New/ZOZTLS.DBF"), host_.Path("Cis/ZOZTLS.DBF"));
    watch.Follow(Source::CurrentMonth(), folders);
    EXPECT_TRUE(changed.wait(kWithin));
    // The reload that follows, with nothing changed meanwhile, is the last.
    watch.Follow(Source::CurrentMonth(), folders);
    QTest::qWait(CatalogWatch::kQuietMilliseconds + 300);
    EXPECT_EQ(changed.count(), 1);
}

} // namespace
