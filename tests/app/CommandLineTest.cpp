// The command line as a Linux program has it: help, version, and a wrong option
// or value ending the program with status 2 before anything else happens.
#include "app/CommandLine.h"

#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <tuple>

namespace {

CommandLine Parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("/usr/bin/tlacsub"));
    return ParseCommandLine(arguments);
}

TEST(CommandLineTest, OptionsAndTheirValues) {
    const CommandLine all =
        Parse({"--host-folder", "/mnt/host", "--ansi-codepage=1250", "--oem-codepage", "852"});
    EXPECT_FALSE(all.exitCode);
    EXPECT_EQ(all.options.hostFolder, QStringLiteral("/mnt/host"));
    EXPECT_EQ(all.options.ansiCodePage, 1250);
    EXPECT_EQ(all.options.oemCodePage, 852);

    // Page ranges compare as numbers; one page alone is a range too.
    for (const auto& [pages, first, last] : {std::tuple{"3-3", "3", "3"}, {"9-10", "9", "10"}}) {
        const CommandLine range = Parse({"--print", "MZDY", "--pages", pages});
        EXPECT_FALSE(range.exitCode) << pages;
        ASSERT_TRUE(range.batch) << pages;
        EXPECT_EQ(range.batch->firstPage, QString::fromUtf8(first));
        EXPECT_EQ(range.batch->lastPage, QString::fromUtf8(last));
    }

    const CommandLine none = Parse({});
    EXPECT_FALSE(none.exitCode);
    EXPECT_FALSE(none.options.hostFolder || none.options.ansiCodePage || none.options.oemCodePage);

    struct Wrong {
        QStringList arguments;
        const char* named; // what the one-line error must mention
    };
    const Wrong wrongs[] = {
        {{"--colour"}, "colour"},
        {{"--oem-codepage"}, "oem-codepage"},
        {{"--oem-codepage", "cp852"}, "cp852"},
        {{"--ansi-codepage", "0"}, "ansi-codepage"},
        {{"--ansi-codepage", "70000"}, "70000"},
        {{"--host-folder", ""}, "host-folder"},
        {{"/mnt/host"}, "/mnt/host"},
        {{"--print", "MZDY", "--pages", "3-1"}, "3-1"},
        {{"--print", "MZDY", "--pages", "10-9"}, "10-9"},
    };
    for (const Wrong& wrong : wrongs) {
        SCOPED_TRACE(wrong.arguments.join(' ').toStdString());
        const CommandLine result = Parse(wrong.arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.output.isEmpty());
        const QString firstLine = result.errors.section(QLatin1Char('\n'), 0, 0);
        EXPECT_TRUE(firstLine.startsWith(QStringLiteral("tlacsub: ")));
        EXPECT_TRUE(firstLine.contains(QString::fromUtf8(wrong.named))) << firstLine.toStdString();
        EXPECT_TRUE(result.errors.contains(QStringLiteral("Usage: tlacsub [options]")));
    }
}

TEST(CommandLineTest, QtsStandardOptionsAreTakenAsEveryQtProgramTakesThem) {
    struct Case {
        QStringList arguments;
        const char* hostFolder; // what the tool's own options still say
        const char* printed;
    };
    const Case cases[] = {
        {{"-platform", "offscreen", "--host-folder", "/mnt/host"}, "/mnt/host", nullptr},
        {{"--platform", "xcb", "-display", ":0", "-style=fusion", "-reverse", "--print", "MZDY"},
         nullptr,
         "MZDY"},
        {{"--host-folder", "/h", "-stylesheet", "a.qss", "-qwindowtitle", "Tlač", "-style",
          "fusion", "--print", "PASKY", "-widgetcount"},
         "/h",
         "PASKY"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CommandLine result = Parse(c.arguments);
        ASSERT_FALSE(result.exitCode) << result.errors.toStdString();
        EXPECT_EQ(result.options.hostFolder.value_or(QString()),
                  QString::fromUtf8(c.hostFolder ? c.hostFolder : ""));
        EXPECT_EQ(result.batch.has_value(), c.printed != nullptr);
        if (result.batch) {
            EXPECT_EQ(result.batch->nazov, QString::fromUtf8(c.printed));
        }
    }
    // Only Qt's own: anything else is still a wrong option.
    EXPECT_EQ(Parse({"-platforms", "xcb"}).exitCode, 2);
    EXPECT_EQ(Parse({"-colour"}).exitCode, 2);
}

struct Finished {
    int status;
    QString out;
    QString err;
};

Finished Start(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(30000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

TEST(CommandLineTest, TheProgramsEndWithTheRightStatus) {
    const QString tlacsub = QStringLiteral(TLACSUB_EXECUTABLE);
    const Finished help = Start(tlacsub, {"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.err.isEmpty());
    for (const char* text : {"Usage: tlacsub [options]", "--host-folder <DIR>",
                             "--ansi-codepage <N>", "--oem-codepage <N>", "--version",
                             "tlacsub/tlacsub.ini", "/etc/xdg/tlacsub/tlacsub.ini", "HostFolder"})
        EXPECT_TRUE(help.out.contains(QString::fromUtf8(text))) << text;

    const Finished version = Start(tlacsub, {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(
        version.out.contains(QRegularExpression(QStringLiteral("^tlacsub 1\\.2\\.\\d+\\n$"))))
        << version.out.toStdString();

    for (const QStringList& wrong :
         {QStringList{"--frobnicate"}, QStringList{"--oem-codepage", "x"},
          QStringList{"--print", "MZDY", "--pages", "3-1"}}) {
        const Finished bad = Start(tlacsub, wrong);
        EXPECT_EQ(bad.status, 2);
        EXPECT_TRUE(bad.out.isEmpty());
        EXPECT_TRUE(bad.err.startsWith(QStringLiteral("tlacsub: ")));
        EXPECT_TRUE(bad.err.contains(QStringLiteral("Usage: tlacsub")));
    }

    const QString dbfdump = QStringLiteral(DBFDUMP_EXECUTABLE);
    const Finished dumpHelp = Start(dbfdump, {"--help"});
    EXPECT_EQ(dumpHelp.status, 0);
    EXPECT_TRUE(dumpHelp.out.startsWith(QStringLiteral("usage: tlacsub-dbfdump [--deleted]")));
    const Finished dumpVersion = Start(dbfdump, {"--version"});
    EXPECT_EQ(dumpVersion.status, 0);
    EXPECT_TRUE(dumpVersion.out.startsWith(QStringLiteral("tlacsub-dbfdump 1.2.")));
    EXPECT_EQ(Start(dbfdump, {"--bogus"}).status, 2);
}

} // namespace
