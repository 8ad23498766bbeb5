#pragma once
// A private CUPS scheduler for a test process, started from scripts/private-cups
// in a temporary folder and stopped (folder removed) when the process ends.
//
// libcups reads CUPS_SERVER once and keeps it, so a process has one scheduler,
// started by the first call of PrivateCups::ForThisProcess() before anything
// prints; tests add and remove queues on it as they need.

#include <filesystem>
#include <string>

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

  private:
    PrivateCups();
    static std::string DefaultPrinter();

    std::filesystem::path folder_;
    bool running_ = false;
};

// Runs a shell command and returns what it printed on standard output; throws
// when it cannot be run or ends with a non-zero status.
std::string RunCommand(const std::string& command);
// The text quoted for a POSIX shell.
std::string ShellQuote(const std::string& text);

} // namespace testing_cups
