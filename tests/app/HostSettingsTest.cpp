// The settings as the user edits them: writing a key into a file written by
// hand, checking a host folder, saying where a value in force comes from, the
// code-page lists and the sample of a catalog read with other pages.
#include "HostFolder.h"

#include "app/CodePageSample.h"
#include "app/HostFolderCheck.h"
#include "app/HostSettings.h"
#include "app/SettingsFileEdit.h"
#include "platform/CodePageNames.h"
#include "platform/CodePages.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

namespace {

constexpr platform::CodePagePair kEnglishUs{1252, 437};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(SettingsFileEdit, SetsOneKeyAndKeepsEveryOtherLine) {
    struct Case {
        const char* name;
        QString before;
        std::optional<QString> value;
        QString after;
    };
    const QString host = QStringLiteral("/mnt/host");
    const Case cases[] = {
        {"a new file", "", host, "[General]\nHostFolder=/mnt/host\n"},
        {"replaced where it stands",
         "; ours\n[General]\nAnsiCodePage=1250\nHostFolder=/old\nOemCodePage=852\n\n[Other]\nx=1\n",
         host,
         "; ours\n[General]\nAnsiCodePage=1250\nHostFolder=/mnt/host\nOemCodePage=852\n\n[Other]\n"
         "x=1\n"},
        {"added at the end of [General], not in a later section",
         "[General]\nAnsiCodePage=1250\n\n[Other]\nHostFolder=/other\n", host,
         "[General]\nAnsiCodePage=1250\nHostFolder=/mnt/host\n\n[Other]\nHostFolder=/other\n"},
        {"keys without a section are top-level too", "# x\nOemCodePage=852\n[Other]\ny=2\n", host,
         "# x\nOemCodePage=852\nHostFolder=/mnt/host\n[Other]\ny=2\n"},
        {"a repeated key keeps only the first place", "HostFolder=/a\nx=1\nHostFolder=/b\n", host,
         "HostFolder=/mnt/host\nx=1\n"},
        {"removed with the lines its value goes on to", "a=1\nHostFolder=\"/x\\\ny\"\nb=2\n",
         std::nullopt, "a=1\nb=2\n"},
        {"CRLF lines stay CRLF", "[General]\r\nAnsiCodePage=1250\r\n", host,
         "[General]\r\nAnsiCodePage=1250\r\nHostFolder=/mnt/host\r\n"},
        {"a comma is quoted", "", QStringLiteral("/mnt/a,b"),
         "[General]\nHostFolder=\"/mnt/a,b\"\n"},
    };
    QTemporaryDir folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString after = WithSettingValue(c.before, QStringLiteral("HostFolder"), c.value);
        EXPECT_EQ(after.toStdString(), c.after.toStdString());
        // QSettings reads back what was set.
        const QString file = folder.filePath(QStringLiteral("check.ini"));
        Write(file, after.toUtf8());
        const QSettings read(file, QSettings::IniFormat);
        EXPECT_EQ(read.value(QStringLiteral("HostFolder")).toString(), c.value.value_or(""));
    }
}

class HostSettingsTest : public ::testing::Test {
  protected:
    HostSettingsTest() {
        files_ = {root_.filePath("user/tlacsub.ini"), root_.filePath("system.ini")};
    }
    HostSettings Settings(const CommandLineOptions& options = {}) const {
        return HostSettings(options, files_, host_.AppFolder(), kEnglishUs);
    }

    QTemporaryDir root_;
    SettingsFiles files_;
    HostFolder host_;
};

TEST_F(HostSettingsTest, SavingWritesWhatChangedAndNeverAFileItCouldNotRead) {
    // The folder of the user's file is made; nothing else is written.
    EXPECT_EQ(Settings().Save({root_.path(), std::nullopt, 852}), QString());
    EXPECT_EQ(ReadAll(files_.user),
              "[General]\nHostFolder=" + root_.path().toUtf8() + "\nOemCodePage=852\n");
    // What the user wrote by hand stays, also a code page that is no number.
    Write(files_.user, "; nastavené ručne\n[General]\nAnsiCodePage=seven\nOemCodePage=852\n");
    HostSettings settings = Settings();
    UserSettings chosen = settings.UserChoices();
    EXPECT_EQ(chosen.oemCodePage, 852);
    EXPECT_FALSE(chosen.ansiCodePage);
    chosen.hostFolder = QStringLiteral("/mnt/host");
    EXPECT_EQ(settings.Save(chosen), QString());
    EXPECT_EQ(ReadAll(files_.user), "; nastavené ručne\n[General]\nAnsiCodePage=seven\n"
                                    "OemCodePage=852\nHostFolder=/mnt/host\n");
    // Choosing "from the locale" takes the key out.
    chosen.oemCodePage.reset();
    EXPECT_EQ(settings.Save(chosen), QString());
    EXPECT_EQ(ReadAll(files_.user),
              "; nastavené ručne\n[General]\nAnsiCodePage=seven\nHostFolder=/mnt/host\n");

    const QByteArray garbage("\x80\x81 HostFolder=/x\n\xff", 18);
    Write(files_.user, garbage);
    const QString refused = Settings().Save({QStringLiteral("/mnt/host"), 1250, 852});
    EXPECT_TRUE(refused.contains(files_.user)) << refused.toStdString();
    EXPECT_EQ(ReadAll(files_.user), garbage);
    EXPECT_EQ(QDir(root_.filePath("user")).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "a temporary file was left";
}

TEST_F(HostSettingsTest, AHostFolderHoldsCisZalOrOposcis) {
    struct Case {
        const char* name;
        std::vector<std::string> folders;
        std::vector<std::string> files;
        const char* problem; // a part of the message, or nullptr for a host
    };
    const Case cases[] = {
        {"cis in small letters", {"cis"}, {}, nullptr},
        {"ZAL alone", {"ZAL"}, {}, nullptr},
        {"OPOSCIS.DBF alone", {}, {"OPOSCIS.DBF"}, nullptr},
        {"empty", {}, {}, "chýbajú priečinky Cis, Tla a Zal aj súbor oposcis.dbf"},
        {"Tla alone", {"Tla"}, {}, "chýbajú priečinky Cis a Zal aj súbor oposcis.dbf"},
        {"a file named Cis", {}, {"Cis"}, "Cis, Tla a Zal"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HostFolder folder;
        for (const std::string& name : c.folders)
            std::filesystem::create_directories(folder.Path(name));
        for (const std::string& name : c.files)
            folder.WriteFile(name, "x");
        const QString problem = HostFolderProblem(QString::fromStdString(folder.AppFolder()));
        if (c.problem == nullptr)
            EXPECT_EQ(problem, QString());
        else
            EXPECT_TRUE(problem.contains(QString::fromUtf8(c.problem))) << problem.toStdString();
    }
    EXPECT_TRUE(
        HostFolderProblem(root_.filePath("none")).contains(QString::fromUtf8("neexistuje")));
    // A relative folder is the user's file's, as the file takes it.
    QDir(root_.path()).mkpath(QStringLiteral("user/host/Cis"));
    EXPECT_EQ(Settings().HostFolderProblem(QStringLiteral("host")), QString());
}

TEST_F(HostSettingsTest, SaysWhereAValueInForceComesFrom) {
    Write(files_.system, "OemCodePage=852\nAnsiCodePage=1250\n");
    Write(files_.user, "AnsiCodePage=1251\n");
    const HostSettings settings = Settings({std::nullopt, std::nullopt, 866});
    const SettingState ansi = settings.AnsiCodePage();
    EXPECT_EQ(ansi.userValue, "1251");
    EXPECT_EQ(ansi.source, SettingSource::UserFile);
    EXPECT_EQ(ansi.note, QString());
    // The command line wins over the system's file, and the note says so.
    const SettingState oem = settings.OemCodePage();
    EXPECT_EQ(oem.source, SettingSource::CommandLine);
    EXPECT_TRUE(oem.note.contains(QStringLiteral("866 – DOS ruská"))) << oem.note.toStdString();
    EXPECT_TRUE(oem.note.contains(QStringLiteral("--oem-codepage")));
    const SettingState system = Settings().OemCodePage();
    EXPECT_EQ(system.source, SettingSource::SystemFile);
    EXPECT_TRUE(system.note.contains(QStringLiteral("852 – DOS stredoeurópska (Latin 2)")));
    EXPECT_TRUE(system.note.contains(files_.system));
    // Without the user's file, the system's pages; without both, the locale's.
    EXPECT_EQ(settings.AnsiCodePageWithoutUserFile(), 1250);
    QFile::remove(files_.system);
    EXPECT_EQ(settings.AnsiCodePageWithoutUserFile(), 1252);

    // The host folder is asked for only where nothing names it and the
    // executable's folder is no host.
    EXPECT_TRUE(Settings().InForce().hostFolderNeeded);
    host_.WriteFile("OPOSCIS.DBF", "x");
    EXPECT_FALSE(Settings().InForce().hostFolderNeeded);
    QTemporaryDir bare;
    const HostSettings nowhere({}, files_, bare.path().toStdString() + "/", kEnglishUs);
    EXPECT_TRUE(nowhere.InForce().hostFolderNeeded);
    Write(files_.user, "HostFolder=" + root_.path().toUtf8() + "\n");
    EXPECT_FALSE(nowhere.InForce().hostFolderNeeded);
}

TEST(CodePageChoicesTest, TheListsNameThePagesTheToolCanUse) {
    using platform::CodePageChoice;
    using platform::CodePageRole;
    const auto label = [](const std::vector<CodePageChoice>& list, int page) -> std::string {
        const auto found = std::find_if(list.begin(), list.end(), [page](const CodePageChoice& c) {
            return c.codePage == page;
        });
        return found == list.end() ? std::string() : found->label;
    };
    const auto ansi = platform::CodePageChoices(CodePageRole::Ansi);
    const auto oem = platform::CodePageChoices(CodePageRole::Oem);
    for (const auto* list : {&ansi, &oem}) {
        EXPECT_EQ(label(*list, 852), "852 – DOS stredoeurópska (Latin 2)");
        EXPECT_EQ(label(*list, 1250), "1250 – Windows stredoeurópska");
        // EBCDIC reads no ASCII letter right.
        EXPECT_EQ(label(*list, 37), "");
        EXPECT_TRUE(std::is_sorted(list->begin(), list->end(), [](const auto& a, const auto& b) {
            return a.codePage < b.codePage;
        }));
    }
    // The preview shows one byte per cell.
    EXPECT_EQ(label(oem, 932), "");
    EXPECT_EQ(label(ansi, 932).empty(), !platform::IsCodePageInstalled(932));
    // Kamenický and Mazovia once, under the numbers they are listed as.
    EXPECT_EQ(label(oem, 895), "895 – DOS Kamenický (KEYBCS2)");
    EXPECT_EQ(label(oem, 620), "620 – DOS Mazovia");
    EXPECT_EQ(label(oem, 867), "");
}

TEST(CodePageSampleTest, ReadsTheCatalogWithThePagesGivenAndLeavesTheMachinesAlone) {
    HostFolder host;
    host.WriteCatalog("Cis",
                      {{"CHYBA", "Bez súboru", {2007, 12, 4}, "9:00", "NIE.TXT", 80, 60},
                       {"SKOLA", "Žiaci ŠOŠ ľň", {2007, 12, 5}, "10:15", "SKOLA.TXT", 80, 60}});
    host.WriteFile("Tla/SKOLA.TXT", Oem852("\f\r\n  \r\nZOZNAM\r\n│ ŠOŠ Žilina │\r\n"));
    platform::SetMachineCodePages(1252, 437);
    const auto sample = [&](int ansi, int oem) {
        return SampleWithCodePages(ansi, oem, Source::CurrentMonth(), {host.AppFolder(), ""});
    };
    const CodePageSample slovak = sample(1250, 852);
    // The first entry whose print file is there, and its first line with letters.
    EXPECT_EQ(QString::fromStdU16String(slovak.popis).trimmed().toStdString(), "Žiaci ŠOŠ ľň");
    EXPECT_EQ(QString::fromStdU16String(slovak.line).toStdString(), "│ ŠOŠ Žilina │");
    const CodePageSample english = sample(1252, 437);
    EXPECT_NE(QString::fromStdU16String(english.popis).trimmed().toStdString(), "Žiaci ŠOŠ ľň");
    EXPECT_NE(QString::fromStdU16String(english.line).toStdString(), "│ ŠOŠ Žilina │");
    EXPECT_EQ(platform::AnsiCodePage(), 1252);
    EXPECT_EQ(platform::OemCodePage(), 437);
    // No catalog: nothing to show.
    EXPECT_TRUE(
        SampleWithCodePages(1250, 852, Source::ArchivedPeriod(2007, 11), {host.AppFolder(), ""})
            .popis.empty());
}

} // namespace
