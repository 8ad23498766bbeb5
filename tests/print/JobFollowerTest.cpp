// Following an accepted job through the private CUPS scheduler: what the user
// is told when the job ends without printing, is cancelled, or vanishes with
// a crashed scheduler or a deleted queue.

#include <gtest/gtest.h>

#include <QPointer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <functional>
#include <string>

#include "app/print/JobFollower.h"
#include "app/print/PrintError.h"
#include "app/print/PrintJob.h"
#include "app/print/PrinterSurface.h"
#include "app/print/Spooler.h"
#include "platform/CodePages.h"
#include "tests/print/PrivateCups.h"
#include "viewer/MemoExStrings.h"

namespace {

using testing_cups::PrivateCups;
using testing_cups::RunCommand;

class JobFollowerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetMachineCodePages(1250, 852);
        cups_ = &PrivateCups::ForThisProcess();
        report_.SetFullText("PASKY STRANA 1\r\n  Novak Jan   1234,50\r\n");
    }
    void TearDown() override {
        for (const std::string& queue : queues_)
            if (RunCommand("LC_ALL=C lpstat -v 2>/dev/null || true").find(queue + ":") !=
                std::string::npos)
                cups_->RemovePrinter(queue);
    }
    void AddPrinter(const std::string& queue) {
        cups_->AddPdfPrinter(queue, cups_->Folder() / "out" / (queue + ".pdf"));
        queues_.push_back(queue);
    }
    int Print(const std::string& queue) {
        print::PrinterSurface surface(queue);
        print::RunPrintJob(surface, report_, {"1", "9999", 80, 60, true});
        return surface.LastJobId();
    }

    PrivateCups* cups_ = nullptr;
    TMemoExStrings report_;
    std::vector<std::string> queues_;
};

TEST_F(JobFollowerTest, AJobThatEndsUnprintedOrVanishesIsToldOnce) {
    const std::string lost = "stratila";
    struct Case {
        const char* what;
        // Does it to the job, which waits in the stopped queue.
        std::function<void(const std::string& queue, int jobId)> happen;
        std::string told;
    };
    const Case cases[] = {
        {"cancelled while it waits",
         [](const std::string& queue, int jobId) {
             RunCommand("cancel " + queue + "-" + std::to_string(jobId));
         },
         "zrušená"},
        {"purged with its deleted queue",
         [&](const std::string& queue, int) { cups_->RemovePrinter(queue); }, lost},
        {"lost in a crash, its number then given to another job",
         [&](const std::string&, int jobId) {
             cups_->Crash(jobId);
             // Meanwhile the scheduler cannot be reached, and the reason says why.
             try {
                 print::ListPrinters();
                 ADD_FAILURE() << "a crashed scheduler answered";
             } catch (const print::EPrintError& error) {
                 EXPECT_NE(std::string(error.what()).find(std::strerror(ECONNREFUSED)),
                           std::string::npos)
                     << error.what();
             }
             cups_->Restart();
             AddPrinter("tlacsub-follow-next");
             EXPECT_EQ(Print("tlacsub-follow-next"), jobId);
         },
         lost},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string queue = "tlacsub-follow-" + std::to_string(++index);
        AddPrinter(queue);
        cups_->StopQueue(queue, "Zaseknutý papier");
        const int jobId = Print(queue);
        ASSERT_GT(jobId, 0);

        const QPointer follower = new print::JobFollower(queue, jobId, nullptr);
        const auto stopFollowing = qScopeGuard([&] { delete follower.data(); });
        QSignalSpy waiting(follower, &print::JobFollower::Waiting);
        QSignalSpy failed(follower, &print::JobFollower::Failed);
        QSignalSpy ended(follower, &QObject::destroyed);
        ASSERT_TRUE(waiting.wait(60000));

        c.happen(queue, jobId);
        ASSERT_TRUE(ended.wait(60000)) << "the follower kept following";
        ASSERT_EQ(failed.size(), 1);
        const std::string message = failed[0][0].toString().toStdString();
        EXPECT_NE(message.find(queue), std::string::npos) << message;
        EXPECT_NE(message.find(c.told), std::string::npos) << message;
        EXPECT_EQ(waiting.size(), 1);
    }
}

} // namespace
