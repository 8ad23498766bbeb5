#pragma once
// A private CUPS scheduler for a test process, started from scripts/private-cups
// in a temporary folder and stopped (folder removed) when the process ends.
//
// libcups reads CUPS_SERVER once and keeps it, so a process has one scheduler,
// started by the first call of PrivateCups::ForThisProcess() before anything
// prints; tests add and remove queues on it as they need.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

namespace testing_cups {

class PrivateCups {
  public:
    // Throws std::runtime_error when cupsd cannot be started.
    static PrivateCups& ForThisProcess();

    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // A queue that writes every job to output as a PDF file, made the default printer
    // unless asked otherwise.
    void AddPdfPrinter(const std::string& name, const std::filesystem::path& output,
                       bool makeDefault = true);
    // A queue whose device fails every job after it was accepted, so the job is aborted.
    void AddFailingPrinter(const std::string& name);
    // A PDF queue whose scheduler creates jobs but refuses their documents, or
    // refuses every question about the printer.
    enum class Refusing { Documents, Queries };
    void AddRefusingPrinter(const std::string& name, Refusing what);
    void RemovePrinter(const std::string& name);
    // The queue refuses new jobs (cupsreject), or keeps them without printing (cupsdisable).
    void RejectJobs(const std::string& name, const std::string& reason);
    void StopQueue(const std::string& name, const std::string& reason);
    // Jobs of the queue that have not ended yet.
    int WaitingJobs(const std::string& name) const;

    // Jobs handed to the scheduler since it started, accepted or not, on any
    // queue (also one removed since).
    int SubmittedJobs() const;
    // Waits until no job is pending or processing; false when that takes unreasonably long.
    bool WaitUntilIdle() const;

    const std::filesystem::path& Folder() const { return folder_; }
    // The scheduler's process id.
    int Pid() const;

    // Kills the scheduler as a crash does, its socket left behind; with
    // lostJob, that job and the number after the last kept job are lost with it.
    void Crash(int lostJob = 0);
    // Starts the scheduler again on the same socket, queues and spool.
    void Restart();

  private:
    PrivateCups();
    static std::string DefaultPrinter();

    std::filesystem::path folder_;
    bool running_ = false;
};

// Stops the scheduler (SIGSTOP) for its lifetime: it still takes connections
// but answers nothing. It is resumed when destroyed or, at the latest, once
// limit has passed, so that code that would wait for ever makes its test fail
// instead of hanging it; ResumedByLimit() then says so.
class PausedScheduler {
  public:
    explicit PausedScheduler(const PrivateCups& cups,
                             std::chrono::seconds limit = std::chrono::seconds(60));
    ~PausedScheduler();
    PausedScheduler(const PausedScheduler&) = delete;
    PausedScheduler& operator=(const PausedScheduler&) = delete;

    bool ResumedByLimit() const { return resumedByLimit_; }

  private:
    int pid_;
    std::mutex mutex_;
    std::condition_variable ended_;
    bool ending_ = false;
    std::atomic<bool> resumedByLimit_{false};
    std::thread watchdog_;
};

// Runs a shell command and returns what it printed on standard output; throws
// when it cannot be run or ends with a non-zero status.
std::string RunCommand(const std::string& command);
// The text quoted for a POSIX shell.
std::string ShellQuote(const std::string& text);

} // namespace testing_cups
