// The first start on a new desk: an empty XDG_CONFIG_HOME and the executable
// (this test's) in a folder that is no host. The user is asked for the host
// folder until a host is chosen, the choice is saved, and the next start opens
// the list at once; Cancel ends the tool having written nothing.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "WhenShown.h"
#include "WindowControls.h"

#include "app/BrowserStart.h"
#include "app/DisplayCheck.h"
#include "app/FirstStartDialog.h"
#include "app/Form1.h"
#include "app/HostFolderCheck.h"
#include "app/Sources.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TForm1* ShownWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<TForm1*>(widget); form != nullptr && form->isVisible())
            return form;
    return nullptr;
}

FirstStartDialog* ShownDialog() {
    return ShownTopLevel<FirstStartDialog>("FirstStartDialog");
}

// A click as the user's, posted so that the modal loop it opens does not run
// inside the test's timer.
void Click(QAbstractButton* button) {
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

QString WithoutSeparator(const std::string& folder) {
    return QString::fromStdString(folder).chopped(1);
}

class FirstStartTest : public ::testing::Test {
  protected:
    FirstStartTest() {
        qputenv("XDG_CONFIG_HOME", home_.path().toUtf8());
        qputenv("XDG_CONFIG_DIRS", system_.path().toUtf8());
        host_.WriteCatalog("Cis", CurrentMonth());
        std::filesystem::create_directories(notHost_.Path("Tla"));
    }
    void SetUp() override {
        ASSERT_FALSE(IsHostFolder(QString::fromStdString(sources::ApplicationFolder())));
    }
    QString UserFile() const { return home_.filePath(QStringLiteral("tlacsub/tlacsub.ini")); }

    QTemporaryDir home_;
    QTemporaryDir system_;
    HostFolder host_;
    HostFolder notHost_;
    MessageBoxCatcher boxes_;
};

TEST_F(FirstStartTest, AsksUntilAHostIsChosenSavesItAndTheNextStartOpensTheList) {
    // The user's file is there already, with a comment and another key.
    QDir().mkpath(home_.filePath(QStringLiteral("tlacsub")));
    {
        QFile file(UserFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("; moje nastavenia\n[General]\nAnsiCodePage=1250\n");
    }
    WhenShown(ShownDialog, [](FirstStartDialog* dialog) {
        Click(dialog->findChild<QAbstractButton*>("HostFolderBrowse"));
    });
    // The folder chooser: first a folder that is no host, then, asked again, the host.
    QStringList chosen{WithoutSeparator(notHost_.AppFolder()), WithoutSeparator(host_.AppFolder())};
    int choosers = 0;
    const QPointer<QTimer> chooser =
        WhenShown([] { return ShownTopLevel<QFileDialog>("HostFolderChooser"); },
                  [&](QFileDialog* dialog) {
                      dialog->setDirectory(chosen.at(choosers++));
                      QMetaObject::invokeMethod(dialog, "accept");
                      return choosers == 2;
                  });
    int rows = -1;
    WhenShown(ShownWindow, [&](TForm1* form) {
        rows = ListShown(*form) ? Controls(*form).rows->rowCount() : 0;
        form->close();
    });
    EXPECT_EQ(RunBrowser({}), 0);
    EXPECT_EQ(choosers, 2);
    ASSERT_EQ(boxes_.Texts().size(), 1);
    EXPECT_TRUE(boxes_.Texts().front().contains(chosen.front()));
    EXPECT_TRUE(boxes_.Texts().front().contains(QString::fromUtf8("chýbajú priečinky Cis a Zal")))
        << boxes_.Texts().front().toStdString();
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(ReadAll(UserFile()), "; moje nastavenia\n[General]\nAnsiCodePage=1250\nHostFolder=" +
                                       chosen.back().toUtf8() + "\n");
    delete chooser;

    // The next start opens the list directly.
    boxes_.Clear();
    bool asked = false;
    const QPointer<QTimer> dialog = WhenShown(ShownDialog, [&](FirstStartDialog* shown) {
        asked = true;
        shown->reject();
    });
    rows = -1;
    WhenShown(ShownWindow, [&](TForm1* form) {
        rows = ListShown(*form) ? Controls(*form).rows->rowCount() : 0;
        form->close();
    });
    EXPECT_EQ(RunBrowser({}), 0);
    delete dialog;
    EXPECT_FALSE(asked);
    EXPECT_EQ(rows, 3);
    EXPECT_TRUE(boxes_.Texts().isEmpty());
}

TEST_F(FirstStartTest, ATypedFolderIsCheckedAndCancelEndsWithoutWritingAnything) {
    bool typed = false;
    WhenShown(ShownDialog, [&](FirstStartDialog* dialog) {
        if (!typed) {
            // A folder that is no host: told, and the dialog stays.
            dialog->findChild<QLineEdit*>("HostFolderEdit")
                ->setText(QString::fromStdString(notHost_.AppFolder()));
            Click(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok));
            typed = true;
            return false;
        }
        if (boxes_.Texts().isEmpty()) return false;
        Click(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel));
        return true;
    });
    bool windowShown = false;
    const QPointer<QTimer> window = WhenShown(ShownWindow, [&](TForm1* form) {
        windowShown = true;
        form->close();
    });
    EXPECT_EQ(RunBrowser({}), 0);
    delete window;
    EXPECT_FALSE(windowShown);
    ASSERT_EQ(boxes_.Texts().size(), 1);
    EXPECT_TRUE(boxes_.Texts().front().contains(QString::fromUtf8("chýbajú")));
    EXPECT_TRUE(QDir(home_.path()).isEmpty());
    EXPECT_TRUE(QDir(system_.path()).isEmpty());
}

TEST_F(FirstStartTest, ABatchRunNeverAsks) {
    // The tool's own folder is no host either; with a display at hand, a
    // dialog would wait for ever.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", home_.path());
    environment.insert("XDG_CONFIG_DIRS", system_.path());
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir out;
    QProcess tlacsub;
    tlacsub.setProcessEnvironment(environment);
    tlacsub.start(TLACSUB_EXECUTABLE, {"--export-pdf", out.path()});
    ASSERT_TRUE(tlacsub.waitForFinished(30000)) << "the batch run waited";
    EXPECT_EQ(tlacsub.exitCode(), 1);
    EXPECT_TRUE(QDir(home_.path()).isEmpty());
}

TEST_F(FirstStartTest, WithoutADisplayNothingAsksAndTheToolSaysWhy) {
    // Qt's desktop platforms abort without a display; the tool speaks first.
    struct Case {
        QStringList arguments;
        const char* told;
    };
    const QString badHost = QString::fromStdString(notHost_.Path("nowhere").string());
    for (const Case& c :
         {Case{{}, "HostFolder"}, Case{{"--host-folder", badHost}, "nowhere"},
          Case{{"--host-folder", QString::fromStdString(host_.AppFolder())}, "DISPLAY"}}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", home_.path());
        environment.insert("XDG_CONFIG_DIRS", system_.path());
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(name);
        QProcess tlacsub;
        tlacsub.setProcessEnvironment(environment);
        tlacsub.start(TLACSUB_EXECUTABLE, c.arguments);
        ASSERT_TRUE(tlacsub.waitForFinished(30000)) << "the tool waited without a display";
        EXPECT_EQ(tlacsub.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(tlacsub.exitCode(), 1) << c.told;
        const QString err = QString::fromLocal8Bit(tlacsub.readAllStandardError());
        EXPECT_TRUE(err.startsWith(QStringLiteral("tlacsub: "))) << err.toStdString();
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.told))) << err.toStdString();
        EXPECT_TRUE(QDir(home_.path()).isEmpty());
    }
}

TEST(DisplayCheckTest, ThePlatformInUseNeedsItsOwnDisplay) {
    struct Case {
        QStringList arguments;
        std::vector<std::pair<QString, QString>> environment;
        bool available;
    };
    const QStringList none{"tlacsub"};
    for (const Case& c : {
             Case{none, {}, false},
             Case{none, {{"DISPLAY", ":0"}}, true},
             Case{none, {{"WAYLAND_DISPLAY", "wayland-0"}}, true},
             Case{none, {{"QT_QPA_PLATFORM", "offscreen"}}, true},
             Case{none, {{"QT_QPA_PLATFORM", "xcb"}, {"WAYLAND_DISPLAY", "wayland-0"}}, false},
             Case{none, {{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":0"}}, true},
             Case{none, {{"QT_QPA_PLATFORM", "vnc:size=800x600"}}, true},
             Case{{"tlacsub", "-platform", "offscreen"}, {}, true},
             Case{{"tlacsub", "--platform=xcb"}, {{"QT_QPA_PLATFORM", "offscreen"}}, false},
             Case{{"tlacsub", "-display", ":1"}, {}, true},
         }) {
        QProcessEnvironment environment;
        for (const auto& [name, value] : c.environment)
            environment.insert(name, value);
        EXPECT_EQ(DisplayAvailable(c.arguments, environment), c.available)
            << c.arguments.join(' ').toStdString();
    }
}

} // namespace
