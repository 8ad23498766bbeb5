// tlacsub --print and --export-pdf run as a program, end to end through the
// private CUPS scheduler: what comes out, what is told, and the exit status.
#include "HostFolder.h"

#include "app/BatchPrint.h"
#include "platform/CodePages.h"
#include "tests/print/PdfOutput.h"
#include "tests/print/PrivateCups.h"
#include "tests/print/SmallFileSystem.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace {

using testing_cups::PausedScheduler;
using testing_cups::PdfPages;
using testing_cups::PdfPageSize;
using testing_cups::PdfPageText;
using testing_cups::PrivateCups;
using testing_cups::SmallFileSystem;

std::string Report(const std::string& title, int pages) {
    std::string report;
    for (int page = 1; page <= pages; ++page) {
        report += title + " STRANA " + std::to_string(page) + "\r\n";
        for (int row = 1; row <= 10; ++row)
            report += "  Novak Jan              1234,50\r\n";
        report += "\f\r\n";
    }
    return report;
}

struct Outcome {
    int status = -1;
    std::string errors;
};

class BatchPrintTest : public ::testing::Test {
  protected:
    void SetUp() override {
        cups_ = &PrivateCups::ForThisProcess();
        out_ = cups_->Folder() / "out" / "batch";
        std::filesystem::remove_all(out_);
        std::filesystem::create_directories(out_);
        host_.WriteCatalog(
            "Cis", {{"PASKY", "Výplatné pásky", {2007, 12, 5}, "10:15", "PASKY.TXT", 80, 60}});
        host_.WriteFile("Tla/PASKY.TXT", Report("PASKY", 3));
    }
    void TearDown() override {
        for (const std::string& queue : queues_)
            cups_->RemovePrinter(queue);
    }
    // environment: more variables as NAME=VALUE, or NAME alone to leave one out.
    Outcome Tlacsub(QStringList arguments, const QStringList& environment = {}) {
        arguments = QStringList{"--host-folder",   QString::fromStdString(host_.AppFolder()),
                                "--ansi-codepage", "1250",
                                "--oem-codepage",  "852"} +
                    arguments;
        QProcess process;
        QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
        for (const QString& variable : environment)
            if (variable.contains('='))
                variables.insert(variable.section('=', 0, 0), variable.section('=', 1));
            else
                variables.remove(variable);
        process.setProcessEnvironment(variables);
        process.start(TLACSUB_EXECUTABLE, arguments);
        process.waitForFinished(120000);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardError().toStdString()};
    }
    void AddPrinter(const std::string& queue) {
        cups_->AddPdfPrinter(queue, out_ / (queue + ".pdf"));
        queues_.push_back(queue);
    }

    PrivateCups* cups_ = nullptr;
    std::filesystem::path out_;
    std::vector<std::string> queues_;
    HostFolder host_;
};

TEST_F(BatchPrintTest, PrintHandsTheEntryToTheSpoolerOrAFile) {
    AddPrinter("tlacsub-batch");
    Outcome run = Tlacsub({"--print", "PASKY", "--pages", "2-3"});
    EXPECT_EQ(run.status, 0) << run.errors;
    ASSERT_TRUE(cups_->WaitUntilIdle());
    ASSERT_EQ(PdfPages(out_ / "tlacsub-batch.pdf"), 2);
    EXPECT_NE(PdfPageText(out_ / "tlacsub-batch.pdf", 1).find("STRANA 2"), std::string::npos);
    EXPECT_NE(PdfPageText(out_ / "tlacsub-batch.pdf", 2).find("STRANA 3"), std::string::npos);

    run = Tlacsub({"--print", "PASKY", "--landscape", "--pdf",
                   QString::fromStdString((out_ / "l.pdf").string())});
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(PdfPages(out_ / "l.pdf"), 3);
    const auto [width, height] = PdfPageSize(out_ / "l.pdf");
    EXPECT_GT(width, height);

    // Failures: the reason on standard error and status 1.
    cups_->RejectJobs("tlacsub-batch", "Údržba");
    struct Case {
        QStringList arguments;
        std::string mentions;
    };
    const Case failures[] = {
        {{"--print", "PASKY"}, "Údržba"},
        {{"--print", "PASKY", "--printer", "tlacsub-nikde"}, "tlacsub-nikde"},
        {{"--print", "INE"}, "INE"},
        {{"--print", "PASKY", "--pages", "7-9", "--pdf", "/tmp/x.pdf"}, "Rozsah"},
    };
    for (const Case& c : failures) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        run = Tlacsub(c.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.errors.find(c.mentions), std::string::npos) << run.errors;
    }
}

TEST_F(BatchPrintTest, UsageErrorsEndWithStatusTwo) {
    const QStringList usages[] = {
        {"--print", "PASKY", "--export-pdf", "/tmp"},
        {"--print", "PASKY", "--pages", "5"},
        {"--print", "PASKY", "--source", "0713"},
        {"--print", "PASKY", "--printer", "a", "--pdf", "b.pdf"},
        {"--landscape"},
        {"--export-pdf", "/tmp", "--printer", "a"},
    };
    for (const QStringList& arguments : usages) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        EXPECT_EQ(Tlacsub(arguments).status, 2);
    }
}

TEST_F(BatchPrintTest, ExportWritesEveryEntryAndListsWhatIsMissing) {
    host_.WriteCatalog("Zal/Obd712/Tla",
                       {{"PASKY", "Pásky", {2007, 12, 5}, "10:15", "A.TXT", 80, 60},
                        {"PASKY", "Pásky znova", {2007, 12, 6}, "10:15", "B.TXT", 80, 60},
                        {"../X", "Zlé meno", {2007, 12, 7}, "10:15", "A.TXT", 80, 60},
                        {"CHYBA", "Bez súboru", {2007, 12, 8}, "10:15", "NIEJE.TXT", 80, 60}});
    host_.WriteFile("Zal/Obd712/Tla/A.TXT", Report("PRVA", 1));
    host_.WriteFile("Zal/Obd712/Tla/B.TXT", Report("DRUHA", 2));
    const Outcome run =
        Tlacsub({"--export-pdf", QString::fromStdString(out_.string()), "--source", "0712"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find("CHYBA"), std::string::npos) << run.errors;
    EXPECT_EQ(PdfPages(out_ / "PASKY.pdf"), 1);
    EXPECT_EQ(PdfPages(out_ / "PASKY_2.pdf"), 2);
    EXPECT_EQ(PdfPages(out_ / ".._X.pdf"), 1);
    EXPECT_FALSE(std::filesystem::exists(out_ / "CHYBA.pdf"));

    // Every file there: status 0.
    std::filesystem::remove_all(out_);
    EXPECT_EQ(Tlacsub({"--export-pdf", QString::fromStdString(out_.string())}).status, 0);
    EXPECT_EQ(PdfPages(out_ / "PASKY.pdf"), 3);

    // The missing file first: what follows is written, and the run still fails.
    std::filesystem::remove_all(out_);
    host_.WriteCatalog("Cis",
                       {{"CHYBA", "Bez súboru", {2007, 12, 4}, "10:15", "NIEJE.TXT", 80, 60},
                        {"PASKY", "Výplatné pásky", {2007, 12, 5}, "10:15", "PASKY.TXT", 80, 60}});
    const Outcome first = Tlacsub({"--export-pdf", QString::fromStdString(out_.string())});
    EXPECT_EQ(first.status, 1);
    EXPECT_NE(first.errors.find("CHYBA"), std::string::npos) << first.errors;
    EXPECT_EQ(PdfPages(out_ / "PASKY.pdf"), 3);
}

TEST_F(BatchPrintTest, PdfFilesOnAFullDiskAreCompleteOrAbsentAndTheRunFails) {
    if (!SmallFileSystem::CanMount()) GTEST_SKIP() << "mounting a small file system needs root";
    std::vector<CatalogEntry> entries;
    for (int i = 1; i <= 12; ++i)
        entries.push_back(
            {"P" + std::to_string(i), "Pásky", {2007, 12, i}, "10:15", "PASKY.TXT", 80, 60});
    host_.WriteCatalog("Cis", entries);
    SmallFileSystem disk(4096);
    // The system's reason in a language the test knows.
    const QStringList english{"LC_ALL=C.UTF-8", "LANGUAGE="};
    const std::string full = "No space left on device";

    const std::filesystem::path file = disk.Folder() / "pasky.pdf";
    Outcome run =
        Tlacsub({"--print", "P1", "--pdf", QString::fromStdString(file.string())}, english);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find(file.string()), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find(full), std::string::npos) << run.errors;
    EXPECT_FALSE(std::filesystem::exists(file));

    // Room for a few of the twelve.
    disk.LeaveFree(32 * 1024);
    const std::filesystem::path folder = disk.Folder() / "export";
    run = Tlacsub({"--export-pdf", QString::fromStdString(folder.string())}, english);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find(full), std::string::npos) << run.errors;
    int written = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        SCOPED_TRACE(entry.path().string());
        EXPECT_EQ(PdfPages(entry.path()), 3);
        ++written;
    }
    EXPECT_GT(written, 0);
    EXPECT_LT(written, 12);
}

TEST_F(BatchPrintTest, AStoppedSchedulerEndsPrintingWithinTheBound) {
    AddPrinter("tlacsub-batch-paused");
    const PausedScheduler paused(*cups_);
    struct Case {
        QStringList arguments;
        std::string names;
    };
    const Case cases[] = {
        {{"--print", "PASKY", "--printer", "tlacsub-batch-paused"}, "tlacsub-batch-paused"},
        {{"--print", "PASKY"}, "Predvolen"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const Outcome run = Tlacsub(c.arguments, {"TLACSUB_PRINT_TIMEOUT=1"});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.errors.find("tlačový systém neodpovedá"), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(c.names), std::string::npos) << run.errors;
    }
    EXPECT_FALSE(paused.ResumedByLimit()) << "tlacsub waited for the scheduler unbounded";
}

TEST_F(BatchPrintTest, FromCronOnlyTheToolSpeaks) {
    // cron's environment: no session, no display; Qt's options as any Qt program takes them.
    const QStringList cron{"XDG_RUNTIME_DIR", "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    const QStringList qtOptions{"-platform", "xcb", "-display", ":77", "-style=fusion"};
    const Outcome exported = Tlacsub(
        qtOptions + QStringList{"--export-pdf", QString::fromStdString(out_.string())}, cron);
    EXPECT_EQ(exported.status, 0);
    EXPECT_EQ(exported.errors, "");
    EXPECT_EQ(PdfPages(out_ / "PASKY.pdf"), 3);

    const Outcome failed = Tlacsub(qtOptions + QStringList{"--print", "INE"}, cron);
    EXPECT_EQ(failed.status, 1);
    ASSERT_FALSE(failed.errors.empty());
    for (const QString& line :
         QString::fromStdString(failed.errors).split('\n', Qt::SkipEmptyParts))
        EXPECT_TRUE(line.startsWith(QStringLiteral("tlacsub: "))) << line.toStdString();
}

// Print files in Kamenický reach the paper and the PDF files as their letters.
TEST_F(BatchPrintTest, AKamenickyHostsLettersAndBoxDrawingReachThePaper) {
    const std::u16string report = u"┌──────────────────────┐\r\n"
                                  u"│ Čerpání žluťoučký kůň │\r\n"
                                  u"└──────────────────────┘\r\n";
    host_.WriteFile("Tla/PASKY.TXT", *platform::Utf16ToCodePage(895, report));
    AddPrinter("tlacsub-kamenicky");
    const Outcome printed =
        Tlacsub({"--print", "PASKY", "--printer", "tlacsub-kamenicky", "--oem-codepage", "895"});
    EXPECT_EQ(printed.status, 0) << printed.errors;
    const Outcome exported =
        Tlacsub({"--export-pdf", QString::fromStdString(out_.string()), "--oem-codepage", "895"});
    EXPECT_EQ(exported.status, 0) << exported.errors;
    ASSERT_TRUE(cups_->WaitUntilIdle());
    for (const char* pdf : {"tlacsub-kamenicky.pdf", "PASKY.pdf"}) {
        const std::string text = PdfPageText(out_ / pdf, 1);
        EXPECT_NE(text.find("│ Čerpání žluťoučký kůň │"), std::string::npos) << pdf << ": " << text;
        EXPECT_NE(text.find("┌──────"), std::string::npos) << pdf << ": " << text;
    }
}

TEST_F(BatchPrintTest, TheMealCalculationsNeedTheirFolder) {
    // Without a folder the window would look beside the current month; a run
    // nobody watches must not print that month's PASKY instead.
    const std::string pdf = (out_ / "obed.pdf").string();
    const QStringList runs[] = {
        {"--print", "PASKY", "--source", "meal", "--pdf", QString::fromStdString(pdf)},
        {"--export-pdf", QString::fromStdString((out_ / "vsetko").string()), "--source", "meal"},
    };
    struct Settings {
        const char* what;
        std::optional<std::string> cestakal;
        bool written;
    };
    const Settings settings[] = {
        {"no oposcis.dbf", std::nullopt, false},
        {"an empty CESTAKAL", "", false},
        {"a meal-calculation folder", host_.AppFolder() + "Kalk", true},
    };
    host_.WriteCatalog("Kalk/Cis", {{"PASKY", "Obedy", {2007, 12, 3}, "", "OBED.TXT", 80, 60}});
    host_.WriteFile("Kalk/Tla/OBED.TXT", Report("OBEDY", 1));
    for (const Settings& setting : settings) {
        SCOPED_TRACE(setting.what);
        if (setting.cestakal) host_.WriteSettings(*setting.cestakal);
        for (const QStringList& arguments : runs) {
            SCOPED_TRACE(arguments.join(' ').toStdString());
            std::filesystem::remove_all(out_);
            std::filesystem::create_directories(out_);
            const Outcome run = Tlacsub(arguments);
            EXPECT_EQ(run.status, setting.written ? 0 : 1) << run.errors;
            EXPECT_EQ(run.errors.find("kalkulácií jedál") != std::string::npos, !setting.written)
                << run.errors;
            EXPECT_EQ(std::filesystem::exists(pdf) ||
                          std::filesystem::exists(out_ / "vsetko/PASKY.pdf"),
                      setting.written);
        }
    }
    EXPECT_NE(PdfPageText(out_ / "vsetko/PASKY.pdf", 1).find("OBEDY"), std::string::npos);
}

TEST(PdfFileStem, KeepsNamesInsideTheFolder) {
    EXPECT_EQ(PdfFileStem("  MZDY  "), "MZDY");
    EXPECT_EQ(PdfFileStem("a/b\\c"), "a_b_c");
    EXPECT_EQ(PdfFileStem(".."), "_..");
    EXPECT_EQ(PdfFileStem(""), "_");
    EXPECT_EQ(PdfFileStem("Výplata"), "Výplata");
}

} // namespace
