// The installed tool on an English desktop (LANG=en_US.UTF-8, set by the test
// main): the settings files name the host and its code pages, and the window
// shows the host's Slovak text as a Slovak desktop would.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "WindowControls.h"

#include "app/BrowserStart.h"
#include "app/CatalogModel.h"
#include "app/Form1.h"
#include "platform/Locale.h"
#include "viewer/MemoEx.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

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
