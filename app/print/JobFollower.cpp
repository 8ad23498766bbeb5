#include "app/print/JobFollower.h"

#include <memory>
#include <utility>

#include <QPromise>
#include <QThreadPool>

namespace print {

JobFollower::JobFollower(std::string printer, int jobId, QObject* parent)
    : QObject(parent), printer_(std::move(printer)), jobId_(jobId) {
    age_.start();
    timer_.setInterval(kPollInterval);
    connect(&timer_, &QTimer::timeout, this, &JobFollower::Poll);
    connect(&asking_, &QFutureWatcherBase::finished, this, [this] { Answered(asking_.result()); });
    timer_.start();
    // The first look at once, so that a stopped queue is told right after printing.
    QTimer::singleShot(0, this, &JobFollower::Poll);
}

void JobFollower::Finish() {
    timer_.stop();
    deleteLater();
}

void JobFollower::Poll() {
    if (!timer_.isActive() || asking_.isRunning()) return;
    if (std::chrono::milliseconds(age_.elapsed()) > kFollowFor) {
        Finish();
        return;
    }
    // The scheduler may take its time to answer, or never answer; the window
    // goes on meanwhile. The promise outlives this follower if it must.
    auto promise = std::make_shared<QPromise<JobStatus>>();
    asking_.setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, printer = printer_, jobId = jobId_] {
        JobStatus status;
        try {
            status = QueryJob(printer, jobId);
        } catch (...) {
            // Out of memory, say: an unknown state, asked again next time.
        }
        promise->addResult(status);
        promise->finish();
    });
}

void JobFollower::Answered(const JobStatus& status) {
    if (!timer_.isActive()) return;
    if (status.state == JobState::Unknown) return; // busy or restarting: asked again later
    if (status.state == JobState::Missing) {
        if (++missing_ < kMissingBeforeLost) return;
        Finish();
        emit Failed(QString::fromStdString(JobLostMessage(printer_)));
        return;
    }
    missing_ = 0;
    if (identity_.empty()) identity_ = status.identity;
    if (!status.identity.empty() && status.identity != identity_) {
        // The scheduler lost the job and gave its id to another one.
        Finish();
        emit Failed(QString::fromStdString(JobLostMessage(printer_)));
        return;
    }
    switch (status.state) {
    case JobState::Completed:
        Finish();
        return;
    case JobState::Aborted:
    case JobState::Canceled:
        Finish();
        emit Failed(QString::fromStdString(JobEndedMessage(printer_, status)));
        return;
    case JobState::Waiting:
    case JobState::Processing:
        if (status.printerStopped && !toldWaiting_) {
            toldWaiting_ = true;
            emit Waiting(QString::fromStdString(PrinterStoppedNotice(printer_)));
        }
        return;
    case JobState::Missing:
    case JobState::Unknown:
        return;
    }
}

} // namespace print
