#pragma once
// Follows one accepted print job without blocking the window: a timer asks
// the spooler how the job stands until it has completed, been aborted or been
// cancelled, or until a bounded time has passed. It tells once that the job
// waits in a stopped queue, and tells when the job ended without printing;
// then it deletes itself.

#include <chrono>
#include <string>

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace print {

class JobFollower : public QObject {
    Q_OBJECT
  public:
    static constexpr std::chrono::milliseconds kPollInterval{500};
    // A job still waiting after this long is left to the spooler.
    static constexpr std::chrono::minutes kFollowFor{30};

    JobFollower(std::string printer, int jobId, QObject* parent);

    const std::string& Printer() const { return printer_; }
    int JobId() const { return jobId_; }

  signals:
    // The job waits in the queue of a stopped printer; told once.
    void Waiting(const QString& notice);
    // The job was aborted or cancelled; the message names the printer and the reason.
    void Failed(const QString& message);

  private:
    void Poll();
    void Finish();

    std::string printer_;
    int jobId_;
    bool toldWaiting_ = false;
    QTimer timer_;
    QElapsedTimer age_;
};

} // namespace print
