// Printing through the spooler's own answers, end to end through the private
// CUPS scheduler, each case on a queue of its own; and PDF files that agree
// with the layout the recording surface proves.

#include <gtest/gtest.h>

#include <QPrinter>
#include <QPrinterInfo>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include <cups/cups.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "app/print/PdfFileSurface.h"
#include "app/print/PrintError.h"
#include "app/print/PrintJob.h"
#include "app/print/PrinterSurface.h"
#include "app/print/RecordingSurface.h"
#include "app/print/Spooler.h"
#include "platform/CodePages.h"
#include "tests/print/PdfOutput.h"
#include "tests/print/PrivateCups.h"
#include "tests/print/SchedulerTimeoutFor.h"
#include "viewer/MemoExStrings.h"

namespace {

using testing_cups::PausedScheduler;
using testing_cups::PdfDarkPixels;
using testing_cups::PdfPages;
using testing_cups::PdfPageSize;
using testing_cups::PdfPageText;
using testing_cups::PrivateCups;
using testing_cups::SchedulerTimeoutFor;

// The error's text of a call to the spooler, empty when it succeeded.
std::string ErrorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const print::EPrintError& error) {
        return error.what();
    }
    return {};
}

// Five pages of 62 lines at Dlzka 60 (no form feeds), each headed by its number.
std::string FivePageReport() {
    std::string text;
    for (int page = 1; page <= 5; ++page)
        for (int row = 1; row <= 62; ++row)
            text += (row == 1 ? "STRANA " + std::to_string(page) : "  riadok") + "\r\n";
    return text;
}

class SpoolerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetMachineCodePages(1250, 852);
        cups_ = &PrivateCups::ForThisProcess();
        report_.SetFullText(FivePageReport());
    }
    void TearDown() override {
        for (const std::string& queue : queues_)
            cups_->RemovePrinter(queue);
    }
    std::filesystem::path Output(const std::string& queue) const {
        return cups_->Folder() / "out" / (queue + ".pdf");
    }
    void AddPrinter(const std::string& queue, bool makeDefault = true) {
        cups_->AddPdfPrinter(queue, Output(queue), makeDefault);
        queues_.push_back(queue);
    }
    // Prints the report on the queue; the error's text, or empty when it was accepted.
    std::string PrintOn(const std::string& queue, int* jobId = nullptr) {
        print::PrinterSurface surface(queue);
        try {
            print::RunPrintJob(surface, report_, {"1", "9999", 80, 60, true});
        } catch (const print::EPrintError& error) {
            return error.what();
        }
        if (jobId != nullptr) *jobId = surface.LastJobId();
        return {};
    }
    // How the job ends, waiting while the spooler still works on it.
    print::JobStatus Outcome(const std::string& queue, int jobId) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        print::JobStatus status = print::QueryJob(queue, jobId);
        while ((status.state == print::JobState::Waiting ||
                status.state == print::JobState::Processing) &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            status = print::QueryJob(queue, jobId);
        }
        return status;
    }

    PrivateCups* cups_ = nullptr;
    TMemoExStrings report_;
    std::vector<std::string> queues_;
};

TEST_F(SpoolerTest, RefusalsComeBeforeAnythingPrintsAndNameThePrinterAndTheReason) {
    AddPrinter("tlacsub-accepting");
    AddPrinter("tlacsub-rejecting");
    cups_->RejectJobs("tlacsub-rejecting", "Došiel toner");
    struct Case {
        const char* what;
        std::string queue;
        std::vector<std::string> mentions;
    };
    const Case cases[] = {
        {"a queue that rejects jobs", "tlacsub-rejecting", {"tlacsub-rejecting", "Došiel toner"}},
        {"a printer the system lacks", "tlacsub-missing", {"tlacsub-missing"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int jobsBefore = cups_->SubmittedJobs();
        const std::string message = PrintOn(c.queue);
        for (const std::string& mention : c.mentions)
            EXPECT_NE(message.find(mention), std::string::npos) << message;
        EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore);
    }
    EXPECT_FALSE(std::filesystem::exists(Output("tlacsub-rejecting")));

    // No scheduler at all.
    const std::string server = cupsServer();
    cupsSetServer((cups_->Folder() / "no-such.sock").c_str());
    const std::string message = PrintOn("tlacsub-accepting");
    cupsSetServer(server.c_str());
    EXPECT_NE(message.find("CUPS"), std::string::npos) << message;
}

TEST_F(SpoolerTest, AnUnreachableSchedulerIsToldWithTheSystemsOwnReason) {
    // A socket file that nobody listens on any more, as a crashed scheduler leaves it.
    const std::filesystem::path deserted = cups_->Folder() / "deserted.sock";
    {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, deserted.c_str(), sizeof address.sun_path - 1);
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        close(fd);
    }
    struct Case {
        const char* what;
        std::filesystem::path socket;
        int reason;
    };
    const Case cases[] = {
        {"no socket", cups_->Folder() / "no-such.sock", ENOENT},
        {"a socket nobody listens on", deserted, ECONNREFUSED},
    };
    const std::string server = cupsServer();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        cupsSetServer(c.socket.c_str());
        for (const std::string& message :
             {ErrorOf([] { print::ListPrinters(); }), ErrorOf([] { print::DefaultPrinterName(); }),
              PrintOn("tlacsub-nowhere")}) {
            EXPECT_NE(message.find("CUPS"), std::string::npos) << message;
            EXPECT_NE(message.find(std::strerror(c.reason)), std::string::npos) << message;
        }
    }
    cupsSetServer(server.c_str());
}

TEST_F(SpoolerTest, AStoppedSchedulerEndsEveryRequestWithinTheBound) {
    AddPrinter("tlacsub-paused");
    print::PrinterSurface lookedUp("tlacsub-paused");
    lookedUp.SetOrientation(print::PageOrientation::Portrait);
    int jobId = 0;
    ASSERT_EQ(PrintOn("tlacsub-paused", &jobId), "");
    ASSERT_TRUE(cups_->WaitUntilIdle());
    const int jobsBefore = cups_->SubmittedJobs();

    const SchedulerTimeoutFor bound(std::chrono::milliseconds(500));
    const std::string silent = "tlačový systém neodpovedá";
    {
        const PausedScheduler paused(*cups_);
        struct Case {
            const char* what;
            std::string message;
            std::string names;
        };
        const Case cases[] = {
            {"the list of printers", ErrorOf([] { print::ListPrinters(); }), ""},
            {"the default printer", ErrorOf([] { print::DefaultPrinterName(); }), ""},
            {"a printer looked up", PrintOn("tlacsub-paused"), "tlacsub-paused"},
            {"a submission", ErrorOf([&] {
                 print::RunPrintJob(lookedUp, report_, {"1", "9999", 80, 60, true});
             }),
             "tlacsub-paused"},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            EXPECT_NE(c.message.find(silent), std::string::npos) << c.message;
            EXPECT_NE(c.message.find(c.names), std::string::npos) << c.message;
        }
        EXPECT_EQ(print::QueryJob("tlacsub-paused", jobId).state, print::JobState::Unknown);
        EXPECT_FALSE(paused.ResumedByLimit()) << "a request waited for the scheduler unbounded";
    }
    // Nothing is printed behind the user's back once the scheduler goes on.
    ASSERT_TRUE(cups_->WaitUntilIdle());
    EXPECT_EQ(cups_->SubmittedJobs(), jobsBefore);
}

TEST_F(SpoolerTest, TheSchedulerRefusingTheDocumentOrThePrinterQueryIsAFailure) {
    cups_->AddRefusingPrinter("tlacsub-refusing-documents", PrivateCups::Refusing::Documents);
    queues_.push_back("tlacsub-refusing-documents");
    cups_->AddRefusingPrinter("tlacsub-refusing-queries", PrivateCups::Refusing::Queries);
    queues_.push_back("tlacsub-refusing-queries");
    for (const std::string queue : {"tlacsub-refusing-documents", "tlacsub-refusing-queries"}) {
        SCOPED_TRACE(queue);
        const std::string message = PrintOn(queue);
        EXPECT_NE(message.find(queue), std::string::npos) << message;
        ASSERT_TRUE(cups_->WaitUntilIdle());
        // A job created before the refusal is not left behind.
        EXPECT_EQ(cups_->WaitingJobs(queue), 0);
    }
}

TEST_F(SpoolerTest, AStoppedQueueKeepsTheJobWaiting) {
    AddPrinter("tlacsub-stopped");
    cups_->StopQueue("tlacsub-stopped", "Zaseknutý papier");
    int jobId = 0;
    EXPECT_EQ(PrintOn("tlacsub-stopped", &jobId), "");
    ASSERT_GT(jobId, 0);
    const print::JobStatus status = print::QueryJob("tlacsub-stopped", jobId);
    EXPECT_EQ(status.state, print::JobState::Waiting);
    EXPECT_TRUE(status.printerStopped);
    EXPECT_EQ(cups_->WaitingJobs("tlacsub-stopped"), 1);
    EXPECT_FALSE(std::filesystem::exists(Output("tlacsub-stopped")));
}

TEST_F(SpoolerTest, AJobAbortedAfterItWasAcceptedIsToldWithThePrinter) {
    cups_->AddPdfPrinter("tlacsub-default", Output("tlacsub-default"));
    queues_.push_back("tlacsub-default");
    cups_->AddFailingPrinter("tlacsub-failing");
    queues_.push_back("tlacsub-failing");
    int jobId = 0;
    ASSERT_EQ(PrintOn("tlacsub-failing", &jobId), "");
    const print::JobStatus status = Outcome("tlacsub-failing", jobId);
    EXPECT_EQ(status.state, print::JobState::Aborted);
    const std::string message = print::JobEndedMessage("tlacsub-failing", status);
    EXPECT_NE(message.find("tlacsub-failing"), std::string::npos) << message;
    EXPECT_NE(message.find("prerušená"), std::string::npos) << message;
    EXPECT_NE(message.find("Zariadenie neodpovedá"), std::string::npos) << message;
}

TEST_F(SpoolerTest, ThePrintersPaperIsTheOneQtDescribesAndTheJobKeepsNoName) {
    AddPrinter("tlacsub-paper");
    print::PrinterSurface surface("tlacsub-paper");
    surface.SetOrientation(print::PageOrientation::Portrait);
    const QPrinter described(QPrinterInfo::printerInfo("tlacsub-paper"), QPrinter::HighResolution);
    EXPECT_EQ(surface.PageWidth(), described.width());
    EXPECT_EQ(surface.PageHeight(), described.height());

    int jobId = 0;
    ASSERT_EQ(PrintOn("tlacsub-paper", &jobId), "");
    ASSERT_EQ(Outcome("tlacsub-paper", jobId).state, print::JobState::Completed);
    EXPECT_EQ(PdfPages(Output("tlacsub-paper")), 5);
    // Without a name from the tool the scheduler gives the job its own placeholder.
    cups_job_t* jobs = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, "tlacsub-paper", 0, CUPS_WHICHJOBS_ALL);
    ASSERT_EQ(count, 1);
    EXPECT_STREQ(jobs[0].title, "Untitled");
    cupsFreeJobs(count, jobs);
}

TEST_F(SpoolerTest, APdfFileHasTheSheetsAndThePaperOfTheLayout) {
    struct Case {
        const char* first;
        const char* last;
        bool portrait;
    };
    const Case cases[] = {{"1", "9999", true}, {"2", "3", true}, {"4", "9999", false}};
    const std::filesystem::path file = cups_->Folder() / "out" / "report.pdf";
    std::filesystem::create_directories(file.parent_path());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.first) + "-" + c.last + (c.portrait ? " portrait" : ""));
        print::RecordingSurface recording;
        const auto laidOut =
            print::RunPrintJob(recording, report_, {c.first, c.last, 80, 60, c.portrait});
        print::PdfFileSurface pdf(file, print::A4Paper());
        const auto written =
            print::RunPrintJob(pdf, report_, {c.first, c.last, 80, 60, c.portrait});
        EXPECT_EQ(written.sheets, laidOut.sheets);
        ASSERT_EQ(PdfPages(file), laidOut.sheets);
        const int firstPage = std::stoi(c.first);
        for (int sheet = 1; sheet <= laidOut.sheets; ++sheet) {
            EXPECT_GT(PdfDarkPixels(file, sheet), 0);
            EXPECT_NE(
                PdfPageText(file, sheet).find("STRANA " + std::to_string(firstPage + sheet - 1)),
                std::string::npos);
        }
        const auto [width, height] = PdfPageSize(file);
        EXPECT_NEAR(c.portrait ? width : height, 595.3, 0.5);
        EXPECT_NEAR(c.portrait ? height : width, 841.9, 0.5);
    }
}

TEST_F(SpoolerTest, APdfFileThatCannotBeWrittenLeavesNothingBehind) {
    const std::filesystem::path folder = cups_->Folder() / "out" / "unwritable";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "not-a-folder") << "x";
    const std::filesystem::path file = folder / "not-a-folder" / "report.pdf";
    print::PdfFileSurface pdf(file, print::A4Paper());
    try {
        print::RunPrintJob(pdf, report_, {"1", "9999", 80, 60, true});
        FAIL() << "a file in a file cannot be written";
    } catch (const print::EPrintError& error) {
        EXPECT_NE(std::string(error.what()).find(file.string()), std::string::npos);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

} // namespace
