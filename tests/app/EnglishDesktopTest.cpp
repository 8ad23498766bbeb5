// The installed tool on an English desktop (LANG=en_US.UTF-8, set by the test
// main): the settings files name the host and its code pages, and the window
// shows the host's Slovak text as a Slovak desktop would.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "WindowControls.h"

#include "app/BrowserStart.h"
#include "app/CatalogModel.h"
#include "app/Form1.h"
#include "app/print/RecordingSurface.h"
#include "platform/CodePages.h"
#include "platform/Locale.h"
#include "tools/dbfwriter/CatalogTable.h"
#include "viewer/MemoEx.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

const char kPrintFile[] = "┌──────────────────────┐\r\n"
                          "│ ŠOŠ hotelová Žilina  │\r\n"
                          "└──────────────────────┘\r\n";

class EnglishDesktopTest : public ::testing::Test {
  protected:
    EnglishDesktopTest() {
        qputenv("XDG_CONFIG_HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_DIRS", system_.path().toUtf8());
        QDir(home_.path()).mkpath(QStringLiteral("tlacsub"));
    }
    void WriteSettings(const QByteArray& text) {
        QFile file(home_.filePath(QStringLiteral("tlacsub/tlacsub.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir home_;
    QTemporaryDir system_;
};

TEST_F(EnglishDesktopTest, TheSettingsCodePagesShowSlovakText) {
    // Without settings this locale reads the host's text as US DOS text.
    ASSERT_EQ(platform::CodePagesForLocale(platform::UserLocale()).oem, 437);

    HostFolder host;
    host.WriteCatalog("Cis", {{"SKOLA",
                               "Zoznam žiakov - ŠOŠ hotelová, Žilina ľň",
                               {2007, 12, 5},
                               "10:15",
                               "SKOLA.TXT",
                               80,
                               60}});
    host.WriteFile("Tla/SKOLA.TXT", Oem852(kPrintFile));
    WriteSettings("HostFolder=" + QByteArray::fromStdString(host.AppFolder()) +
                  "\nAnsiCodePage=1250\nOemCodePage=852\n");

    const auto settings = PrepareBrowser({});
    ASSERT_TRUE(settings);
    EXPECT_TRUE(settings->warnings.isEmpty());
    TForm1 form(settings->appFolder);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

    // Compared as UTF-8, so a failure shows the letters that came out.
    const std::string popis = "Zoznam žiakov - ŠOŠ hotelová, Žilina ľň";
    EXPECT_EQ(Controls(form).rows->index(0, 1).data().toString().toStdString(), popis);

    QTest::mouseClick(Controls(form).BView, Qt::LeftButton);
    EXPECT_EQ(form.windowTitle().toStdString(), "Tlač súborov v1.2 - náhľad na súbor " + popis);
    QTest::keyClick(Controls(form).MSubor, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(Controls(form).MSubor, Qt::Key_C, Qt::ControlModifier);
    const std::string printFile = kPrintFile;
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              printFile.substr(0, printFile.size() - 2)); // the last line break is no line
}

// A Czech host writing Kamenický: its catalog names the page by language driver
// 0x68, its print files are in it, and the settings name it as the OEM page.
const char16_t kKamenickyReport[] = u"┌─────────────────────────┐\r\n"
                                    u"│ Čerpání žluťoučký kůň   │\r\n"
                                    u"│ Ďáblík Řehoř: ěščřžýáíé │\r\n"
                                    u"╚═════════════════════════╝\r\n";

std::string InPage(int codePage, std::u16string_view text) {
    return *platform::Utf16ToCodePage(codePage, text);
}

class KamenickyHostTest : public EnglishDesktopTest {
  protected:
    // Opens the preview of the host's one entry with the settings' code pages,
    // then the find bar, and gives what the viewer shows.
    QImage Preview(TForm1& form) {
        form.show();
        QApplication::setActiveWindow(&form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        QTest::mouseClick(Controls(form).BView, Qt::LeftButton);
        EXPECT_EQ(Controls(form).PStrany->currentWidget(), Controls(form).TabView);
        QTest::keyClick(Controls(form).MSubor, Qt::Key_F, Qt::ControlModifier);
        return Controls(form).MSubor->viewport()->grab().toImage();
    }
    std::optional<StartupSettings> Prepare(const HostFolder& host, int oem) {
        WriteSettings("HostFolder=" + QByteArray::fromStdString(host.AppFolder()) +
                      "\nAnsiCodePage=1250\nOemCodePage=" + QByteArray::number(oem) + "\n");
        return PrepareBrowser({});
    }
};

TEST_F(KamenickyHostTest, PreviewFindCopyAndPrintShowItsLettersAndBoxDrawing) {
    const std::u16string report = kKamenickyReport;
    const std::u16string popis = u"Čerpání žluťoučký kůň";
    HostFolder host;
    dbfwriter::DbfWriter catalog(0x03, 0x68);
    dbfwriter::AddCatalogFields(catalog);
    catalog.AddRecord()
        .Text("NAZOV", "CERPANI")
        .Text("POPIS", InPage(895, popis))
        .Date("DATUM", 2007, 12, 5)
        .Text("CAS", "10:15")
        .Text("FILNAME", "CERPANI.TXT")
        .Integer("SIRKA", 40)
        .Integer("DLZKA", 60);
    std::filesystem::create_directories(host.Path("Cis"));
    catalog.WriteTo(host.Path("Cis/ZOZTLS.DBF"));
    host.WriteFile("Tla/CERPANI.TXT", InPage(895, report));

    const auto settings = Prepare(host, 895);
    ASSERT_TRUE(settings);
    EXPECT_TRUE(settings->warnings.isEmpty()) << settings->warnings.join('\n').toStdString();
    TForm1 form(settings->appFolder);
    auto recording = std::make_unique<print::RecordingSurface>();
    const print::RecordingSurface& surface = *recording;
    form.SetPrintSurface(std::move(recording));
    EXPECT_EQ(Controls(form).rows->index(0, 1).data().toString().toStdU16String(), popis);
    const QImage shown = Preview(form);

    // Find matches the page's letters, case blind, and selects them for copying.
    struct Find {
        const char* text;
        CellPos begin;
        CellPos end;
        const char* copied;
    };
    for (const Find& find :
         {Find{"ŽLUŤOUČKÝ", {10, 1}, {19, 1}, "žluťoučký"},
          Find{"ďáblík", {2, 2}, {8, 2}, "Ďáblík"}, Find{"═╝", {25, 3}, {27, 3}, "═╝"}}) {
        Controls(form).findText->setText(QString::fromUtf8(find.text));
        QTest::keyClick(Controls(form).findText, Qt::Key_Return);
        EXPECT_EQ(Controls(form).MSubor->SelBegin(), find.begin) << find.text;
        EXPECT_EQ(Controls(form).MSubor->SelEnd(), find.end) << find.text;
        QApplication::clipboard()->clear();
        QTest::keyClick(Controls(form).MSubor, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QApplication::clipboard()->text().toStdString(), find.copied);
    }
    QTest::keyClick(Controls(form).MSubor, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(Controls(form).MSubor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text().toStdU16String(),
              report.substr(0, report.size() - 2)); // the last line break is no line

    // The printout gets the page's bytes, which the printer's font shows as the letters.
    QTest::mouseClick(Controls(form).BTlac, Qt::LeftButton);
    ASSERT_EQ(surface.State(), print::RecordingSurface::JobState::Ended);
    ASSERT_EQ(surface.Sheets().size(), 1u);
    std::u16string printed;
    for (const auto& line : surface.Sheets()[0])
        printed += platform::OemToDisplay(line.text) + u"\r\n";
    EXPECT_EQ(printed, report);

    // The preview paints exactly what the same report in 852 paints with 852.
    HostFolder latin2;
    latin2.WriteCatalog("Cis",
                        {{"CERPANI", "Čerpání", {2007, 12, 5}, "10:15", "CERPANI.TXT", 40, 60}});
    latin2.WriteFile("Tla/CERPANI.TXT", InPage(852, report));
    const auto settings852 = Prepare(latin2, 852);
    ASSERT_TRUE(settings852);
    TForm1 form852(settings852->appFolder);
    const QImage shown852 = Preview(form852);
    EXPECT_TRUE(shown852 == shown) << "the preview differs from 852's";
}

TEST_F(EnglishDesktopTest, AMissingHostFolderEndsTheToolBeforeItsWindow) {
    QTemporaryDir shares;
    const QString missing = shares.filePath(QStringLiteral("host-not-mounted"));
    WriteSettings("HostFolder=" + missing.toUtf8() + "\n");
    MessageBoxCatcher boxes;
    EXPECT_EQ(RunBrowser({}), 1);
    ASSERT_EQ(boxes.Texts().size(), 1);
    EXPECT_TRUE(boxes.Texts().front().contains(missing));
    for (QWidget* widget : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TForm1*>(widget), nullptr);
    // Nothing written: no host folder made, no settings stored.
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(QDir(home_.filePath(QStringLiteral("tlacsub")))
                  .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QStringLiteral("tlacsub.ini")});
    EXPECT_TRUE(QDir(system_.path()).isEmpty());
}

} // namespace
