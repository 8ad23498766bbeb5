// Print files that are not tidy reports, through the window's preview and the
// print job: the window shows them, moves about in them and lays them out on
// pages without a crash, a hang or a box it should not show.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "ShownWindow.h"
#include "WindowControls.h"

#include "app/CatalogGrid.h"
#include "app/CatalogModel.h"
#include "app/Form1.h"
#include "app/print/PrintError.h"
#include "app/print/PrintJob.h"
#include "app/print/RecordingSurface.h"
#include "memtable/loxMemTable.h"
#include "tools/dbfwriter/DbfWriter.h"
#include "viewer/MemoEx.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

const QString kFileMissing = QString::fromUtf8("Zvolený súbor neexistuje ...");

std::string AllHighBytes() {
    std::string bytes;
    for (int b = 128; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

struct AwkwardFile {
    const char* name;
    std::string bytes;
    std::vector<std::size_t> lineLengths; // as loaded
    int sheets;                           // printed with 80 x 60; 0: nothing to print
};

void PrintTo(const AwkwardFile& file, std::ostream* out) {
    *out << file.name;
}

std::vector<AwkwardFile> Files() {
    return {
        {"NulBytes", std::string("A\r\nB\0C\r\nD", 9), {1, 1}, 1},
        {"HundredThousandByteLine", std::string(100000, 'x') + "\r\nkoniec\r\n", {100000, 6}, 1},
        {"NoLineBreaks", Repeat("stlpec  ", 40000), {320000}, 1},
        {"OnlyFormFeeds", std::string(5000, '\f'), {5000}, 1},
        {"FormFeedLines", Repeat("\f\r\n", 300), std::vector<std::size_t>(300, 1), 300},
        {"HighBytes", Repeat(AllHighBytes() + "\r\n", 3), {128, 128, 128}, 1},
        {"Empty", "", {}, 0},
        {"OnlyBreaks", Repeat("\r\n", 70), std::vector<std::size_t>(70, 0), 2},
        {"BareCarriageReturns", Repeat("r\r", 10), std::vector<std::size_t>(10, 1), 1},
    };
}

class AwkwardPrintFileTest : public ::testing::TestWithParam<AwkwardFile> {
  protected:
    void Start() { ShowWindow(form_, host_); }
    // The entry's print file through the recording surface, with the entry's page format.
    print::PrintJobResult Print(print::RecordingSurface& surface) {
        print::PrintJobInput input;
        input.firstPageText = "1";
        input.lastPageText = "9999";
        input.Sirka =
            form_->CatalogRecords().ValueInteger(form_->CatalogRecords().FieldNamed("Sirka"));
        input.Dlzka =
            form_->CatalogRecords().ValueInteger(form_->CatalogRecords().FieldNamed("Dlzka"));
        return print::RunPrintJob(surface, Controls(*form_).MSubor->Lines(), input);
    }
    // Moves the caret to the far ends, with the painting that goes with it.
    void WalkAbout() {
        QWidget* viewer = Controls(*form_).MSubor;
        viewer->setFocus();
        for (auto key : {Qt::Key_End, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_Down, Qt::Key_End})
            QTest::keyClick(viewer, key);
        // The end of the text, then its start.
        QTest::keyClick(viewer, Qt::Key_PageDown, Qt::ControlModifier);
        const int last = std::max(0, Controls(*form_).MSubor->Lines().LineCount() - 1);
        EXPECT_EQ(Controls(*form_).MSubor->CaretY(), last);
        EXPECT_EQ(Controls(*form_).MSubor->CaretX(),
                  Controls(*form_).MSubor->Lines().LineLength(last));
        EXPECT_FALSE(Controls(*form_).MSubor->grab().isNull());
        QTest::keyClick(viewer, Qt::Key_PageUp, Qt::ControlModifier);
        EXPECT_EQ(Controls(*form_).MSubor->CaretY(), 0);
        EXPECT_FALSE(Controls(*form_).MSubor->grab().isNull());
    }

    HostFolder host_;
    MessageBoxCatcher boxes_;
    std::unique_ptr<TForm1> form_;
};

TEST_P(AwkwardPrintFileTest, PreviewsAndPrints) {
    const AwkwardFile& file = GetParam();
    host_.WriteCatalog("Cis", {{"ZLY", "Neporiadny", {2007, 12, 5}, "10:15", "ZLY.TXT", 80, 60}});
    host_.WriteFile("Tla/ZLY.TXT", file.bytes);
    Start();
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    ASSERT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
    EXPECT_TRUE(boxes_.Texts().isEmpty());
    const TMemoExStrings& lines = Controls(*form_).MSubor->Lines();
    ASSERT_EQ(static_cast<std::size_t>(lines.LineCount()), file.lineLengths.size());
    for (int i = 0; i < lines.LineCount(); ++i)
        EXPECT_EQ(lines.LineAt(i).size(), file.lineLengths[static_cast<std::size_t>(i)]) << i;
    WalkAbout();

    print::RecordingSurface surface;
    if (file.sheets == 0) {
        EXPECT_THROW(Print(surface), print::ERangeOutsideDocument);
        EXPECT_EQ(surface.State(), print::RecordingSurface::JobState::Aborted);
    } else {
        EXPECT_EQ(Print(surface).sheets, file.sheets);
        EXPECT_EQ(surface.State(), print::RecordingSurface::JobState::Ended);
    }
    // The bytes reach the printer as they are.
    if (file.lineLengths.size() == 3 && file.lineLengths[0] == 128) {
        EXPECT_EQ(surface.Sheets().at(0).at(2).text, AllHighBytes());
    }
    EXPECT_TRUE(boxes_.Texts().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(PrintFiles, AwkwardPrintFileTest, ::testing::ValuesIn(Files()),
                         [](const auto& info) { return std::string(info.param.name); });

class PrintFileGoneTest : public AwkwardPrintFileTest {};

TEST_F(PrintFileGoneTest, AFileRemovedOrReplacedByAFolderAfterListingIsReported) {
    host_.WriteCatalog("Cis", {{"ZLY", "Neporiadny", {2007, 12, 5}, "10:15", "ZLY.TXT", 80, 60}});
    host_.WriteFile("Tla/ZLY.TXT", "riadok\r\n");
    Start();
    fs::remove(host_.Path("Tla/ZLY.TXT"));
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    EXPECT_EQ(boxes_.Texts(), QStringList{kFileMissing});
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabZozn);
    fs::create_directories(host_.Path("Tla/ZLY.TXT"));
    QTest::mouseClick(Controls(*form_).BTlac, Qt::LeftButton);
    EXPECT_EQ(boxes_.Texts(), (QStringList{kFileMissing, kFileMissing}));

    // A pipe of that name has nothing to read and nobody writing.
    fs::remove(host_.Path("Tla/ZLY.TXT"));
    ASSERT_EQ(::mkfifo(host_.Path("Tla/ZLY.TXT").c_str(), 0644), 0);
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    EXPECT_EQ(boxes_.Texts().size(), 3);
    EXPECT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabZozn);

    // Removed while shown: the preview keeps its lines, a new preview is refused.
    fs::remove(host_.Path("Tla/ZLY.TXT"));
    host_.WriteFile("Tla/ZLY.TXT", "riadok\r\n");
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    ASSERT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);
    fs::remove(host_.Path("Tla/ZLY.TXT"));
    QTest::mouseClick(Controls(*form_).BZozn, Qt::LeftButton);
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    EXPECT_EQ(boxes_.Texts().size(), 4);
    EXPECT_EQ(Controls(*form_).MSubor->Lines().LineAt(0), "riadok");
}

// Page formats the host may store: zero, negative, at the integer limits.
struct PageFormat {
    std::int64_t sirka;
    std::int64_t dlzka;
    int sheets; // for 10 lines
};

class OddPageFormatTest : public AwkwardPrintFileTest {};

TEST_F(OddPageFormatTest, PrintsEveryLineOnABoundedNumberOfSheets) {
    const PageFormat formats[] = {
        {0, 0, 5},              // a page after the two extra lines
        {-80, -60, 10},         // a page per line
        {INT_MAX, INT_MAX, 1},  // nothing fits: the smallest font, as many lines as fit
        {INT_MIN, INT_MIN, 10}, // the far negative end
        {99999999999, 0, 5},    // more than an integer holds
        {80, 99999999999, 1},
    };
    dbfwriter::DbfWriter writer(0x03, 0x64);
    writer.AddField("NAZOV", 'C', 10).AddField("POPIS", 'C', 45).AddField("DATUM", 'D', 8);
    writer.AddField("CAS", 'C', 8).AddField("FILNAME", 'C', 12);
    writer.AddField("SIRKA", 'N', 20).AddField("DLZKA", 'N', 20);
    for (std::size_t i = 0; i < std::size(formats); ++i)
        writer.AddRecord()
            .Text("NAZOV", std::to_string(i))
            .Date("DATUM", 2007, 12, 5)
            .Text("FILNAME", "ZLY.TXT")
            .Integer("SIRKA", formats[i].sirka)
            .Integer("DLZKA", formats[i].dlzka);
    fs::create_directories(host_.Path("Cis"));
    writer.WriteTo(host_.Path("Cis/ZOZTLS.DBF"));
    host_.WriteFile("Tla/ZLY.TXT", Repeat("riadok\r\n", 10));
    Start();
    ASSERT_EQ(Controls(*form_).rows->rowCount(), static_cast<int>(std::size(formats)));
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    ASSERT_EQ(Controls(*form_).PStrany->currentWidget(), Controls(*form_).TabView);

    for (int row = 0; row < static_cast<int>(std::size(formats)); ++row) {
        SelectEntry(*form_, row + 1);
        const int dlzka =
            form_->CatalogRecords().ValueInteger(form_->CatalogRecords().FieldNamed("Dlzka"));
        const std::size_t entry = std::stoul(
            form_->CatalogRecords().ValueText(form_->CatalogRecords().FieldNamed("Nazov")));
        ASSERT_LT(entry, std::size(formats));
        const PageFormat* expected = &formats[entry];
        print::RecordingSurface surface;
        const print::PrintJobResult result = Print(surface);
        EXPECT_EQ(result.sheets, expected->sheets) << "Dlzka " << dlzka;
        std::size_t drawn = 0;
        for (const auto& sheet : surface.Sheets())
            drawn += sheet.size();
        EXPECT_EQ(drawn, 10u) << "Dlzka " << dlzka;
    }
    EXPECT_TRUE(boxes_.Texts().isEmpty());
}

// "Tlač" hands the entry's Sirka and Dlzka to the job in their places: with 80
// and 60, a page holds 62 lines and the font is the largest at which 80 columns
// and 60 lines fit. Swapped, pages would hold 82 lines at a smaller size.
TEST(WindowPrintHandOver, SirkaAndDlzkaReachTheJobInTheirPlaces) {
    HostFolder host;
    MessageBoxCatcher boxes;
    host.WriteCatalog("Cis", {{"DLHY", "Bez strán", {2007, 12, 5}, "10:15", "DLHY.TXT", 80, 60}});
    std::string text;
    for (int line = 1; line <= 130; ++line)
        text += "riadok " + std::to_string(line) + "\r\n";
    host.WriteFile("Tla/DLHY.TXT", text);
    TForm1 form(host.AppFolder());
    auto recording = std::make_unique<print::RecordingSurface>();
    const print::RecordingSurface& surface = *recording;
    form.SetPrintSurface(std::move(recording));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    QTest::mouseClick(Controls(form).BTlac, Qt::LeftButton);
    EXPECT_TRUE(boxes.Texts().isEmpty()) << boxes.Texts().join('\n').toStdString();
    ASSERT_EQ(surface.State(), print::RecordingSurface::JobState::Ended);
    std::vector<std::size_t> linesPerSheet;
    for (const auto& sheet : surface.Sheets())
        linesPerSheet.push_back(sheet.size());
    ASSERT_EQ(linesPerSheet, (std::vector<std::size_t>{62, 62, 6}));
    // On the recording surface 11 points give 81 columns and 70 lines; 12 points only 73 columns.
    EXPECT_EQ(surface.FontSize(), 11);
    EXPECT_EQ(surface.Sheets()[2].back().text, "riadok 130");
}

} // namespace
