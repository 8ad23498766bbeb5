// Where the host is and which code pages it writes: command line over the
// user's settings over the system's over the executable's folder and locale.
#include "app/StartupSettings.h"
#include "app/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include <gtest/gtest.h>

namespace {

constexpr platform::CodePagePair kEnglishUs{1252, 437};

class StartupSettingsTest : public ::testing::Test {
  protected:
    StartupSettingsTest() {
        for (const char* folder : {"cli", "user", "system", "exe", "user/host", "shares/host"})
            QDir(root_.path()).mkpath(QString::fromLatin1(folder));
        files_ = {root_.filePath("user/tlacsub.ini"), root_.filePath("system/tlacsub.ini")};
    }

    static void Write(const QString& file, const QByteArray& text) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text);
    }
    std::string Folder(const char* relative) const {
        return root_.filePath(QString::fromLatin1(relative)).toStdString() + "/";
    }
    StartupSettings Resolve(const CommandLineOptions& options = {}) const {
        return ResolveStartupSettings(options, files_, Folder("exe"), kEnglishUs);
    }

    QTemporaryDir root_;
    SettingsFiles files_;
};

TEST_F(StartupSettingsTest, EachSettingTakesTheFirstSourceThatNamesIt) {
    const QByteArray user =
        "HostFolder=" + root_.filePath("user").toUtf8() + "\nAnsiCodePage=1250\nOemCodePage=852\n";
    const QByteArray system = "HostFolder=" + root_.filePath("system").toUtf8() +
                              "\nAnsiCodePage=1251\nOemCodePage=866\n";
    const CommandLineOptions commandLine{root_.filePath("cli"), 1253, 737};
    struct Case {
        const char* name;
        bool withCommandLine;
        QByteArray user;
        QByteArray system;
        const char* folder;
        int ansi;
        int oem;
    };
    const Case cases[] = {
        {"command line wins", true, user, system, "cli", 1253, 737},
        {"user over system", false, user, system, "user", 1250, 852},
        {"system alone", false, "", system, "system", 1251, 866},
        {"nothing: executable and locale", false, "", "", "exe", 1252, 437},
        {"per key: user names only the OEM page", false, "OemCodePage=852\n", system, "system",
         1251, 852},
        {"an empty value is no setting", false, "HostFolder=\nAnsiCodePage=\n", system, "system",
         1251, 866},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write(files_.user, c.user);
        Write(files_.system, c.system);
        const StartupSettings settings =
            Resolve(c.withCommandLine ? commandLine : CommandLineOptions{});
        EXPECT_EQ(settings.appFolder, Folder(c.folder));
        EXPECT_EQ(settings.ansiCodePage, c.ansi);
        EXPECT_EQ(settings.oemCodePage, c.oem);
        EXPECT_TRUE(settings.error.isEmpty()) << settings.error.toStdString();
        EXPECT_TRUE(settings.warnings.isEmpty());
    }
}

TEST_F(StartupSettingsTest, ARelativeHostFolderBelongsToItsSettingsFile) {
    Write(files_.user, "HostFolder=host\n");
    EXPECT_EQ(Resolve().appFolder, Folder("user/host"));
    Write(files_.user, "");
    Write(files_.system, "HostFolder=../shares/host/\n");
    EXPECT_EQ(Resolve().appFolder, Folder("shares/host"));
    // On the command line it is the working folder's, as for any program.
    const QString working = QDir::currentPath();
    QDir::setCurrent(root_.path());
    const StartupSettings fromCommandLine = Resolve({QStringLiteral("cli"), {}, {}});
    QDir::setCurrent(working);
    EXPECT_EQ(fromCommandLine.appFolder, Folder("cli"));
}

TEST_F(StartupSettingsTest, AHostFolderThatCannotBeUsedIsAnErrorNamingIt) {
    const QString missing = root_.filePath("share/not-mounted");
    Write(files_.user, "HostFolder=" + missing.toUtf8() + "\n");
    const StartupSettings fromFile = Resolve();
    EXPECT_TRUE(fromFile.error.contains(missing)) << fromFile.error.toStdString();
    EXPECT_TRUE(fromFile.error.contains(files_.user));
    EXPECT_TRUE(fromFile.error.contains(QString::fromUtf8("neexistuje")));

    const StartupSettings aFile = Resolve({files_.user, {}, {}});
    EXPECT_TRUE(aFile.error.contains(QString::fromUtf8("nie je priečinok")));
    EXPECT_TRUE(aFile.error.contains(QStringLiteral("--host-folder")));

    if (geteuid() != 0) { // root reads any folder
        QFile::setPermissions(root_.filePath("cli"), QFileDevice::WriteOwner);
        EXPECT_TRUE(Resolve({root_.filePath("cli"), {}, {}})
                        .error.contains(QString::fromUtf8("sa nedá čítať")));
        QFile::setPermissions(root_.filePath("cli"), QFileDevice::ReadOwner |
                                                         QFileDevice::WriteOwner |
                                                         QFileDevice::ExeOwner);
    }
    // Nothing was made in its place.
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(StartupSettingsTest, AnUninstalledCodePageGivesWayToTheNextSourceWithANotice) {
    Write(files_.user, "AnsiCodePage=1250\nOemCodePage=seven\n");
    Write(files_.system, "OemCodePage=4242\n");
    const StartupSettings settings = Resolve({{}, 9999, {}});
    EXPECT_EQ(settings.ansiCodePage, 1250);
    EXPECT_EQ(settings.oemCodePage, 437);
    ASSERT_EQ(settings.warnings.size(), 3);
    const QString uninstalled = QString::fromUtf8("nie je na tomto počítači nainštalovaná");
    EXPECT_TRUE(settings.warnings[0].contains(QStringLiteral("9999 (voľba --ansi-codepage)")));
    EXPECT_TRUE(settings.warnings[0].contains(QString::fromUtf8("použije sa kódová stránka 1250")));
    EXPECT_TRUE(settings.warnings[1].contains(QStringLiteral("seven (OemCodePage v súbore ") +
                                              files_.user));
    EXPECT_TRUE(settings.warnings[2].contains(QStringLiteral("4242")));
    for (const QString& warning : settings.warnings)
        EXPECT_TRUE(warning.contains(uninstalled)) << warning.toStdString();
    EXPECT_TRUE(settings.warnings[2].contains(QString::fromUtf8("použije sa kódová stránka 437")));
}

// EBCDIC pages keep no ASCII, and the preview shows one byte per cell, so such
// pages give way like an uninstalled one; Kamenický and Mazovia are taken.
TEST_F(StartupSettingsTest, PagesTheToolCannotUseGiveWayToTheNextSourceWithANotice) {
    struct Case {
        const char* name;
        std::optional<int> commandLineOem;
        QByteArray user;
        int ansi;
        int oem;
        std::vector<const char*> noticed; // in each notice in turn
    };
    const Case cases[] = {
        {"EBCDIC as the OEM page",
         {},
         "OemCodePage=37\n",
         1252,
         437,
         {"37 (OemCodePage v súbore", "nie je založená na ASCII", "kódová stránka 437"}},
        {"EBCDIC as the ANSI page",
         {},
         "AnsiCodePage=1140\nOemCodePage=852\n",
         1252,
         852,
         {"1140 (AnsiCodePage v súbore", "nie je založená na ASCII", "kódová stránka 1252"}},
        {"multibyte as the OEM page, the next source's taken",
         932,
         "OemCodePage=895\n",
         1252,
         895,
         {"932 (voľba --oem-codepage)", "je viacbajtová", "kódová stránka 895"}},
        {"multibyte as the ANSI page", {}, "AnsiCodePage=936\nOemCodePage=620\n", 936, 620, {}},
        {"Kamenický by its other number", 867, "", 1252, 867, {}},
        {"Mazovia by another", {}, "OemCodePage=991\n", 1252, 991, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Write(files_.user, c.user);
        const StartupSettings settings = Resolve({{}, {}, c.commandLineOem});
        EXPECT_EQ(settings.ansiCodePage, c.ansi);
        EXPECT_EQ(settings.oemCodePage, c.oem);
        ASSERT_EQ(settings.warnings.size(), c.noticed.empty() ? 0 : 1);
        for (const char* part : c.noticed)
            EXPECT_TRUE(settings.warnings.front().contains(QString::fromUtf8(part)))
                << settings.warnings.front().toStdString();
    }
    // A desktop whose own OEM page is multibyte gets the C locale's, without a notice.
    Write(files_.user, "");
    const StartupSettings japanese =
        ResolveStartupSettings({}, files_, Folder("exe"), platform::CodePagePair{932, 932});
    EXPECT_EQ(japanese.ansiCodePage, 932);
    EXPECT_EQ(japanese.oemCodePage, 437);
    EXPECT_TRUE(japanese.warnings.isEmpty());
}

TEST_F(StartupSettingsTest, ASettingsFileThatCannotBeReadIsReported) {
    Write(files_.system, "[General\nHostFolder=/mnt/host\n");
    const StartupSettings settings = Resolve();
    ASSERT_EQ(settings.warnings.size(), 1);
    EXPECT_TRUE(settings.warnings.front().contains(files_.system));
    EXPECT_EQ(settings.appFolder, Folder("exe"));
}

TEST_F(StartupSettingsTest, AFileThatIsNoSettingsFileIsReportedAndNoneOfItsValuesUsed) {
    const QByteArray good =
        "HostFolder=" + root_.filePath("user").toUtf8() + "\nAnsiCodePage=1250\n";
    QByteArray utf16("\xff\xfe");
    for (const char c : good)
        utf16 += QByteArray(1, c) + '\0';
    QByteArray garbage;
    for (int i = 0; i < 300; ++i)
        garbage += char(0x80 + i * 7 % 120);
    struct Case {
        const char* name;
        std::function<void(const QString&)> make;
    };
    const Case cases[] = {
        {"a pipe",
         [](const QString& path) { ASSERT_EQ(::mkfifo(QFile::encodeName(path), 0600), 0); }},
        {"a folder", [](const QString& path) { ASSERT_TRUE(QDir().mkpath(path)); }},
        {"a link to a device",
         [](const QString& path) { ASSERT_TRUE(QFile::link("/dev/zero", path)); }},
        {"a link to nothing",
         [this](const QString& path) {
             ASSERT_TRUE(QFile::link(root_.filePath("gone.ini"), path));
         }},
        {"UTF-16 text", [&](const QString& path) { Write(path, utf16); }},
        {"garbage around a HostFolder line",
         [&](const QString& path) { Write(path, garbage + "\n" + good + garbage); }},
        {"text lines around it", [&](const QString& path) { Write(path, "ahoj svet\n" + good); }},
        {"an unclosed section", [&](const QString& path) { Write(path, "[General\n" + good); }},
        {"a NUL byte in a value",
         [&](const QString& path) { Write(path, good + QByteArray("OemCodePage=852\0\n", 17)); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir(root_.filePath("user")).removeRecursively();
        QDir(root_.path()).mkpath(QStringLiteral("user"));
        c.make(files_.user);
        const StartupSettings settings = Resolve();
        ASSERT_EQ(settings.warnings.size(), 1);
        EXPECT_EQ(
            settings.warnings.front(),
            QString::fromUtf8("Súbor nastavení %1 sa nedá prečítať, jeho nastavenia sa nepoužijú.")
                .arg(files_.user));
        EXPECT_EQ(settings.appFolder, Folder("exe"));
        EXPECT_EQ(settings.ansiCodePage, 1252);
    }

    // Nearly the same, but a settings file: a mark of UTF-8, comments, sections,
    // CRLF line ends and a value that goes on after a backslash.
    Write(files_.user, "\xef\xbb\xbf; Nastavenia\r\n# tlacsub\r\n[General]\r\n" + good +
                           "OemCodePage=\"8\\\n52\"\n[Other]\nx = y\n");
    const StartupSettings settings = Resolve();
    EXPECT_TRUE(settings.warnings.isEmpty()) << settings.warnings.join('\n').toStdString();
    EXPECT_EQ(settings.appFolder, Folder("user"));
    EXPECT_EQ(settings.ansiCodePage, 1250);
    EXPECT_EQ(settings.oemCodePage, 852);
}

TEST(SettingsFilesTest, FollowTheDesktopsConfigurationFolders) {
    QTemporaryDir home;
    QTemporaryDir first;
    QTemporaryDir second;
    QDir(second.path()).mkpath(QStringLiteral("tlacsub"));
    QFile(second.filePath(QStringLiteral("tlacsub/tlacsub.ini"))).open(QIODevice::WriteOnly);
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_DIRS", (first.path() + QLatin1Char(':') + second.path()).toUtf8());
    const SettingsFiles found = DefaultSettingsFiles();
    EXPECT_EQ(found.user, home.filePath(QStringLiteral("tlacsub/tlacsub.ini")));
    EXPECT_EQ(found.system, second.filePath(QStringLiteral("tlacsub/tlacsub.ini")));
    qputenv("XDG_CONFIG_DIRS", first.path().toUtf8());
    EXPECT_EQ(DefaultSettingsFiles().system, QStringLiteral("/etc/xdg/tlacsub/tlacsub.ini"));
}

} // namespace
