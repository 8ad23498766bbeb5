// "Poslať e-mailom..." through the real xdg-email: a stand-in mail program,
// registered as the mailto: handler in a temporary XDG_DATA_HOME, records what
// it is handed; without any handler the user is told where the PDF waits.
#include "HostFolder.h"
#include "MessageBoxCatcher.h"
#include "PopupMenus.h"
#include "PrintReports.h"
#include "ShownWindow.h"
#include "WindowControls.h"

#include "app/Form1.h"
#include "app/PrintPreview.h"
#include "tests/print/PdfOutput.h"
#include "tests/print/PrivateCups.h"

#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

using testing_cups::PdfPages;
using testing_cups::PdfPageText;

// The fields of the mailto: address the mail program was given.
std::map<QString, QString> MailtoFields(const std::string& uri) {
    std::map<QString, QString> fields;
    const QString text = QString::fromStdString(uri).trimmed();
    if (!text.startsWith("mailto:")) return fields;
    for (const QString& field : text.mid(text.indexOf('?') + 1).split('&')) {
        const qsizetype equals = field.indexOf('=');
        fields[field.left(equals)] = QUrl::fromPercentEncoding(field.mid(equals + 1).toUtf8());
    }
    return fields;
}

class MailTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // No print system of the machine is asked: without a printer the PDF is A4.
        testing_cups::PrivateCups::ForThisProcess();
        root_ = fs::temp_directory_path() /
                ("tlacsub-mail-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "none");
        // xdg-email on a desktop it cannot name, with only our folders to look in.
        Set("XDG_CACHE_HOME", (root_ / "cache").string());
        Set("XDG_DATA_HOME", (root_ / "data").string());
        Set("XDG_CONFIG_HOME", (root_ / "config").string());
        Set("XDG_DATA_DIRS", (root_ / "none").string());
        Set("XDG_CONFIG_DIRS", (root_ / "none").string());
        Set("DISPLAY", ":4711");
        Set("BROWSER", "tlacsub-no-browser");
        for (const char* name :
             {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "MAILER", "KDE_FULL_SESSION",
              "GNOME_DESKTOP_SESSION_ID", "MATE_DESKTOP_SESSION_ID", "WAYLAND_DISPLAY"})
            Set(name, std::nullopt);

        host_.WriteCatalog("Cis", {{"PASKY",
                                    "Výplatné pásky 12/2007 & prémie",
                                    {2007, 12, 5},
                                    "10:15",
                                    "PASKY.TXT",
                                    80,
                                    60}});
        host_.WriteFile("Tla/PASKY.TXT", ThreePageReport());
    }
    void TearDown() override {
        form_.reset();
        for (const auto& [name, value] : saved_)
            if (value)
                qputenv(name.c_str(), *value);
            else
                qunsetenv(name.c_str());
        fs::remove_all(root_);
    }
    void Set(const char* name, const std::optional<std::string>& value) {
        if (!saved_.count(name))
            saved_[name] =
                qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        if (value)
            qputenv(name, QByteArray::fromStdString(*value));
        else
            qunsetenv(name);
    }
    // A mail program that writes its arguments to a file, the desktop's choice for mailto:.
    void RegisterStandIn() {
        const fs::path program = root_ / "stand-in-mail";
        std::ofstream(program) << "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" << Arguments().string()
                               << ".new'\nmv '" << Arguments().string() << ".new' '"
                               << Arguments().string() << "'\n";
        fs::permissions(program, fs::perms::owner_all);
        fs::create_directories(root_ / "data/applications");
        std::ofstream(root_ / "data/applications/tlacsub-stand-in-mail.desktop")
            << "[Desktop Entry]\nType=Application\nName=Stand-in mail\nExec=" << program.string()
            << " %u\nMimeType=x-scheme-handler/mailto;\n";
        fs::create_directories(root_ / "config");
        std::ofstream(root_ / "config/mimeapps.list")
            << "[Default Applications]\nx-scheme-handler/mailto=tlacsub-stand-in-mail.desktop\n";
    }
    fs::path Arguments() const { return root_ / "arguments"; }
    fs::path MailFolder() const { return root_ / "cache" / "tlacsub"; }
    // What the mail program was handed by the next message.
    std::map<QString, QString> NextMessage() {
        EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(Arguments()); }, 20000));
        std::ifstream in(Arguments());
        std::stringstream text;
        text << in.rdbuf();
        fs::remove(Arguments());
        return MailtoFields(text.str());
    }
    void MailFromTheMenu() {
        ChooseFromNextMenu("Poslať e-mailom...");
        RightClick(Controls(*form_).BTlac);
    }

    fs::path root_;
    std::map<std::string, std::optional<QByteArray>> saved_;
    HostFolder host_;
    MessageBoxCatcher boxes_;
    std::unique_ptr<TForm1> form_;
};

TEST_F(MailTest, TheMailProgramGetsThePdfWithThePopisAsSubject) {
    RegisterStandIn();
    ShowWindow(form_, host_);
    MailFromTheMenu();
    std::map<QString, QString> message = NextMessage();
    EXPECT_EQ(message["subject"], "Výplatné pásky 12/2007 & prémie");
    const fs::path first = MailFolder() / "PASKY.pdf";
    EXPECT_EQ(message["attach"].toStdString(), first.string());
    ASSERT_EQ(PdfPages(first), 3);
    EXPECT_NE(PdfPageText(first, 2).find("STRANA 2"), std::string::npos);
    struct stat folder {};
    ASSERT_EQ(::stat(MailFolder().c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);

    // On the preview page with pages 2 to 3, as "Tlač" prints them: a new file,
    // the first one left for the message that may still use it.
    QTest::mouseClick(Controls(*form_).BView, Qt::LeftButton);
    Controls(*form_).EStr1->setText("2");
    Controls(*form_).EStr2->setText("3");
    MailFromTheMenu();
    message = NextMessage();
    const fs::path second = MailFolder() / "PASKY_2.pdf";
    EXPECT_EQ(message["attach"].toStdString(), second.string());
    EXPECT_EQ(PdfPages(second), 2);
    EXPECT_NE(PdfPageText(second, 1).find("STRANA 2"), std::string::npos);
    EXPECT_EQ(PdfPages(first), 3);

    // And from the print preview's own button, the sheets it shows.
    QApplication::setActiveWindow(form_.get());
    QTest::keyClick(Controls(*form_).MSubor, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    PrintPreview* preview = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (preview = form_->findChild<PrintPreview*>()) != nullptr; }, 20000));
    QTest::mouseClick(preview->findChild<QPushButton*>("PreviewMail"), Qt::LeftButton);
    message = NextMessage();
    EXPECT_EQ(message["attach"].toStdString(), (MailFolder() / "PASKY_3.pdf").string());
    EXPECT_EQ(PdfPages(MailFolder() / "PASKY_3.pdf"), 2);
    preview->close();
    EXPECT_TRUE(boxes_.Texts().isEmpty()) << boxes_.Texts().join('\n').toStdString();
}

TEST_F(MailTest, WithoutAMailProgramTheUserIsToldWhereThePdfIs) {
    ShowWindow(form_, host_);
    MailFromTheMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes_.Texts().isEmpty(); }, 20000));
    const fs::path pdf = MailFolder() / "PASKY.pdf";
    EXPECT_TRUE(boxes_.Texts()[0].startsWith("Poštový program sa nepodarilo otvoriť."))
        << boxes_.Texts()[0].toStdString();
    EXPECT_TRUE(boxes_.Texts()[0].contains(QString::fromStdString(pdf.string())))
        << boxes_.Texts()[0].toStdString();
    EXPECT_EQ(PdfPages(pdf), 3);
}

} // namespace
