#pragma once
// The print spooler (CUPS) through libcups: which printers there are, handing a
// PDF document to one of them, and asking how a job fares afterwards. Every
// answer of the scheduler is checked; a failure is an EPrintError whose text
// names the printer and the scheduler's reason, in Slovak, for the user.

#include <string>
#include <string_view>
#include <vector>

namespace print {

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
// when it had been created, when the printer does not accept jobs or any step
// is refused.
int SubmitPdf(const std::string& printer, std::string_view pdf, const std::string& media);

enum class JobState { Waiting, Processing, Completed, Canceled, Aborted, Unknown };

struct JobStatus {
    JobState state = JobState::Unknown;
    // The job has not finished and its printer is stopped, so it waits.
    bool printerStopped = false;
    // The scheduler's or the printer's words on why the job is where it is; may be empty.
    std::string reason;
};

// How the job stands now. Unknown when the scheduler cannot be asked or has
// forgotten the job.
JobStatus QueryJob(const std::string& printer, int jobId);

// Texts for what happened to a job after it was accepted.
std::string JobEndedMessage(const std::string& printer, const JobStatus& status);
std::string PrinterStoppedNotice(const std::string& printer);

} // namespace print
