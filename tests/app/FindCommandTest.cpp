// tlacsub --find as a program without a display: the lines it prints, what it
// says on standard error, and its exit status.
#include "HostFolder.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <string>

namespace {

struct Outcome {
    int status = -1;
    std::string output;
    std::string errors;
};

Outcome Tlacsub(const HostFolder& host, QStringList arguments) {
    arguments = QStringList{"--host-folder",   QString::fromStdString(host.AppFolder()),
                            "--ansi-codepage", "1250",
                            "--oem-codepage",  "852"} +
                arguments;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(display));
    environment.insert("LC_ALL", "sk_SK.UTF-8");
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(TLACSUB_EXECUTABLE, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

class FindCommandTest : public ::testing::Test {
  protected:
    FindCommandTest() {
        host_.WriteCatalog("Cis", CurrentMonth());
        host_.WriteFile("Tla/MZDY.TXT", Oem852("Výplatná páska\r\nJán Šťastný\t1200\r\n"));
        host_.WriteFile("Tla/DPH.TXT", Oem852("DPH\r\n\fŠŤASTNÝ s.r.o.\r\n"));
        host_.WriteSettings("KALK");
        host_.WriteCatalog("KALK/Cis", {{"OBEDY", "Obedy", {2007, 12, 3}, "11:00", "OBEDY.TXT"}});
        host_.WriteFile("KALK/Tla/OBEDY.TXT", Oem852("Dodávateľ Šťastný\n"));
        host_.WriteCatalog("Zal/Obd712/Tla", {{"MZDY", "Mzdy", {2007, 12, 5}, "10:00", "M1.TXT"},
                                              {"MZDY", "Mzdy", {2007, 12, 6}, "10:00", "M2.TXT"}});
        host_.WriteFile("Zal/Obd712/Tla/M1.TXT", Oem852("nič\r\n"));
        host_.WriteFile("Zal/Obd712/Tla/M2.TXT", Oem852("a\rŠťastný Ján\r"));
    }

    HostFolder host_;
};

TEST_F(FindCommandTest, PrintsALinePerMatchSortedAndExitsZeroWhenFound) {
    struct Case {
        QStringList arguments;
        std::string output;
    };
    const std::vector<Case> cases = {
        {{"--find", "šťastný"},
         "current\tC-MZDY\tMZDY.TXT\t2\tJán Šťastný    1200\n"
         "current\tA-DPH\tDPH.TXT\t2\t♀ŠŤASTNÝ s.r.o.\n"},
        {{"--find", "šťastný", "--source", "all"},
         "current\tC-MZDY\tMZDY.TXT\t2\tJán Šťastný    1200\n"
         "current\tA-DPH\tDPH.TXT\t2\t♀ŠŤASTNÝ s.r.o.\n"
         "meal\tOBEDY\tOBEDY.TXT\t1\tDodávateľ Šťastný\n"
         "0712\tMZDY\tM2.TXT\t2\tŠťastný Ján\n"},
        {{"--find", "Šťastný", "--match-case", "--source", "0712"},
         "0712\tMZDY\tM2.TXT\t2\tŠťastný Ján\n"},
        {{"--find", "ŠŤASTNÝ", "--match-case", "--source", "meal"}, ""},
        {{"--find", "nikto", "--source", "all"}, ""},
    };
    for (const Case& c : cases) {
        const Outcome run = Tlacsub(host_, c.arguments);
        const std::string what = c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.output, c.output) << what;
        EXPECT_EQ(run.status, c.output.empty() ? 1 : 0) << what << run.errors;
        // The current month's third file is missing: named, never a stop.
        const bool current = c.arguments.contains("all") || !c.arguments.contains("--source");
        EXPECT_EQ(run.errors.find("KNIHA.TXT") != std::string::npos, current) << what << run.errors;
    }
}

TEST_F(FindCommandTest, UsageErrorsExitTwoAndTextThePageLacksFindsNothing) {
    const std::vector<QStringList> usage = {
        {"--find"},
        {"--find", ""},
        {"--match-case"},
        {"--find", "x", "--source", "0713"},
        {"--find", "x", "--source", "minulý"},
        {"--find", "x", "--print", "MZDY"},
        {"--find", "x", "--pages", "1-2"},
        {"--source", "all", "--export-pdf", "/tmp"},
    };
    for (const QStringList& arguments : usage) {
        const Outcome run = Tlacsub(host_, arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.output.empty()) << arguments.join(' ').toStdString();
    }

    const Outcome euro = Tlacsub(host_, {"--find", "5 €"});
    EXPECT_EQ(euro.status, 1);
    EXPECT_NE(euro.errors.find("852"), std::string::npos) << euro.errors;

    // Without a meal-calculation folder there is nothing to search there.
    HostFolder bare;
    bare.WriteCatalog("Cis", CurrentMonth());
    const Outcome meal = Tlacsub(bare, {"--find", "x", "--source", "meal"});
    EXPECT_EQ(meal.status, 2);
    EXPECT_NE(meal.errors.find("kalkulácií jedál"), std::string::npos) << meal.errors;
}

} // namespace
