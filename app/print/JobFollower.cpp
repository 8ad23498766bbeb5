#include "app/print/JobFollower.h"

#include <utility>

#include "app/print/Spooler.h"

namespace print {

JobFollower::JobFollower(std::string printer, int jobId, QObject* parent)
    : QObject(parent), printer_(std::move(printer)), jobId_(jobId) {
    age_.start();
    timer_.setInterval(kPollInterval);
    connect(&timer_, &QTimer::timeout, this, &JobFollower::Poll);
    timer_.start();
    // The first look at once, so that a stopped queue is told right after printing.
    QTimer::singleShot(0, this, &JobFollower::Poll);
}

void JobFollower::Finish() {
    timer_.stop();
    deleteLater();
}

void JobFollower::Poll() {
    if (!timer_.isActive()) return;
    const JobStatus status = QueryJob(printer_, jobId_);
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
        break;
    case JobState::Unknown:
        // The spooler may be busy or restarting; asking again costs little.
        break;
    }
    if (std::chrono::milliseconds(age_.elapsed()) > kFollowFor) Finish();
}

} // namespace print
