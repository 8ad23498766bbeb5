#pragma once
// The print spooler (CUPS) through libcups: which printers there are, handing a
// PDF document to one of them, and asking how a job fares afterwards. Every
// answer of the scheduler is checked; a failure is an EPrintError whose text
// names the printer and the scheduler's reason, in Slovak, for the user.

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace print {

// How long the scheduler may stay silent in a request before the request
// fails with SchedulerSilentMessage: 15 s, or TLACSUB_PRINT_TIMEOUT seconds
// when the environment sets that at the first request.
std::chrono::milliseconds SchedulerTimeout();
void SetSchedulerTimeout(std::chrono::milliseconds bound);

// The text for a request about a printer that the scheduler left unanswered;
// about the default printer when the name is empty (not known yet).
std::string SchedulerSilentMessage(const std::string& printer);

// Shown when the system has no printer at all, and when it has printers but
// none is the default.
inline constexpr char kNoPrinterMessage[] = "Nie je nainštalovaná žiadna tlačiareň ...";
inline constexpr char kNoDefaultPrinterMessage[] = "Nie je zvolená predvolená tlačiareň ...";

struct SpoolerPrinter {
    std::string name;
    bool isDefault = false;
};

// The scheduler's printers in its own order. Throws when the scheduler cannot
// be reached; an empty list is no error here.
std::vector<SpoolerPrinter> ListPrinters();

// The default printer's name. Throws when the scheduler cannot be reached,
// when there is no printer, or when none is the default.
std::string DefaultPrinterName();

// Throws unless the scheduler knows a printer of that name.
void RequirePrinter(const std::string& printer);

// Hands a PDF document to the printer as one job without a name and returns
// the job's id once the scheduler has accepted all of it. media is the paper's
// name as the printer knows it ("A4"), or empty. Throws, with the job cancelled
// when it had been created, when the printer does not accept jobs, any step is
// refused, or the scheduler falls silent.
int SubmitPdf(const std::string& printer, std::string_view pdf, const std::string& media);

// Unknown: the scheduler could not be asked or gave no answer. Missing: it
// answered that it has no such job.
enum class JobState { Waiting, Processing, Completed, Canceled, Aborted, Missing, Unknown };

struct JobStatus {
    JobState state = JobState::Unknown;
    // What tells this job from a later one given the same id (its uuid); may be empty.
    std::string identity;
    // The job has not finished and its printer is stopped, so it waits.
    bool printerStopped = false;
    // The scheduler's or the printer's words on why the job is where it is; may be empty.
    std::string reason;
};

// How the job stands now. Never throws and never waits past SchedulerTimeout().
JobStatus QueryJob(const std::string& printer, int jobId);

// Texts for what happened to a job after it was accepted.
std::string JobEndedMessage(const std::string& printer, const JobStatus& status);
std::string JobLostMessage(const std::string& printer);
std::string PrinterStoppedNotice(const std::string& printer);

} // namespace print
