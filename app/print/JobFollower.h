#pragma once
// Follows one accepted print job without blocking the window: a timer has the
// spooler asked, on a worker thread, how the job stands until it has
// completed, been aborted or been cancelled, has vanished, or until a bounded
// time has passed. It tells once that the job waits in a stopped queue, and
// tells when the job ended without printing or was lost; then it deletes itself.

#include <chrono>
#include <string>

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include "app/print/Spooler.h"

namespace print {

class JobFollower : public QObject {
    Q_OBJECT
  public:
    static constexpr std::chrono::milliseconds kPollInterval{500};
    // A job still waiting after this long is left to the spooler.
    static constexpr std::chrono::minutes kFollowFor{30};
    // The scheduler saying this often in a row that it has no such job means
    // the job is lost, not that the scheduler is just starting up again.
    static constexpr int kMissingBeforeLost = 3;

    JobFollower(std::string printer, int jobId, QObject* parent);

    const std::string& Printer() const { return printer_; }
    int JobId() const { return jobId_; }

  signals:
    // The job waits in the queue of a stopped printer; told once.
    void Waiting(const QString& notice);
    // The job was aborted, cancelled or lost; the message names the printer and the reason.
    void Failed(const QString& message);

  private:
    void Poll();
    void Answered(const JobStatus& status);
    void Finish();

    std::string printer_;
    int jobId_;
    bool toldWaiting_ = false;
    // The job's identity from the first answer, to notice its id given to another job.
    std::string identity_;
    int missing_ = 0;
    QTimer timer_;
    QElapsedTimer age_;
    QFutureWatcher<JobStatus> asking_;
};

} // namespace print
