#include "app/print/Spooler.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

#include <cups/cups.h>

#include "app/print/PrintError.h"
#include "app/print/SchedulerConnection.h"

namespace print {
namespace {

constexpr std::chrono::milliseconds kUsualTimeout{15000};
// Cancelling a job the scheduler went silent on is worth a short try only.
constexpr std::chrono::milliseconds kCancelTimeout{2000};
constexpr char kSilent[] = "tlačový systém neodpovedá";

// The bound in milliseconds; negative until the environment has been read.
std::atomic<long long> timeoutMs{-1};

std::chrono::milliseconds TimeoutFromEnvironment() {
    const char* text = std::getenv("TLACSUB_PRINT_TIMEOUT");
    if (text == nullptr) return kUsualTimeout;
    double seconds = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, seconds);
    if (error != std::errc() || stop != end || !(seconds > 0) || seconds > 24 * 3600)
        return kUsualTimeout;
    return std::chrono::milliseconds(std::max(1LL, std::llround(seconds * 1000)));
}

struct IppDelete {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Response = std::unique_ptr<ipp_t, IppDelete>;

SchedulerConnection Connect() {
    return SchedulerConnection(SchedulerTimeout());
}

class Destinations {
  public:
    explicit Destinations(http_t* http) { count_ = cupsGetDests2(http, &dests_); }
    ~Destinations() { cupsFreeDests(count_, dests_); }
    Destinations(const Destinations&) = delete;
    Destinations& operator=(const Destinations&) = delete;

    int Count() const { return count_; }
    const cups_dest_t& At(int index) const { return dests_[index]; }
    const cups_dest_t* Find(const char* name) const {
        return cupsGetDest(name, nullptr, count_, dests_);
    }

  private:
    int count_ = 0;
    cups_dest_t* dests_ = nullptr;
};

std::string Quoted(const std::string& printer) {
    return "„" + printer + "“";
}

std::string WithReason(std::string text, const std::string& reason) {
    if (!reason.empty()) text += ": " + reason;
    return text + ".";
}

std::string LastReason() {
    const char* text = cupsLastErrorString();
    return text != nullptr ? text : std::string();
}

bool Succeeded(ipp_status_t status) {
    return status <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

// The scheduler went silent, or answered a request with an error of its own
// rather than with "no printers". subject names what was asked for.
void ThrowIfSchedulerFailed(const SchedulerConnection& http, const std::string& subject) {
    if (http.TimedOut()) throw EPrintError(subject + ": " + kSilent + ".");
    const ipp_status_t status = cupsLastError();
    if (Succeeded(status) || status == IPP_STATUS_ERROR_NOT_FOUND) return;
    throw EPrintError(WithReason("Tlačový systém CUPS neodpovedá", LastReason()));
}

std::string PrinterUri(const std::string& printer) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", printer.c_str());
    return uri;
}

std::string Text(ipp_t* response, const char* name) {
    ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO);
    if (attribute == nullptr) return {};
    std::string text;
    for (int i = 0; i < ippGetCount(attribute); ++i) {
        const char* value = ippGetString(attribute, i, nullptr);
        if (value == nullptr || *value == '\0' || std::strcmp(value, "none") == 0) continue;
        if (!text.empty()) text += ", ";
        text += value;
    }
    return text;
}

struct PrinterState {
    bool accepting = true;
    bool stopped = false;
    std::string message;
};

PrinterState QueryPrinter(SchedulerConnection& http, const std::string& printer) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 PrinterUri(printer).c_str());
    static const char* const kWanted[] = {"printer-is-accepting-jobs", "printer-state",
                                          "printer-state-message", "printer-state-reasons"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 4, nullptr,
                  kWanted);
    http.Arm();
    const Response response(cupsDoRequest(http.get(), request, "/"));
    if (!response || !Succeeded(cupsLastError())) {
        if (http.TimedOut()) throw EPrintError(SchedulerSilentMessage(printer));
        if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
            throw EPrintError("Tlačiareň " + Quoted(printer) + " v systéme nie je.");
        throw EPrintError(WithReason("Tlačiareň " + Quoted(printer) + " neodpovedá", LastReason()));
    }
    PrinterState state;
    if (ipp_attribute_t* a =
            ippFindAttribute(response.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN))
        state.accepting = ippGetBoolean(a, 0) != 0;
    if (ipp_attribute_t* a = ippFindAttribute(response.get(), "printer-state", IPP_TAG_ENUM))
        state.stopped = ippGetInteger(a, 0) == IPP_PSTATE_STOPPED;
    state.message = Text(response.get(), "printer-state-message");
    if (state.message.empty()) state.message = Text(response.get(), "printer-state-reasons");
    return state;
}

// Asks the scheduler to drop a job it took only in part; false when it could
// not be asked. After a silence the connection is of no more use, so a fresh
// one tries briefly.
bool CancelJob(SchedulerConnection& http, const std::string& printer, int jobId) {
    if (!http.TimedOut()) {
        http.Arm();
        return Succeeded(cupsCancelJob2(http.get(), printer.c_str(), jobId, 0));
    }
    try {
        SchedulerConnection fresh(std::min(SchedulerTimeout(), kCancelTimeout));
        return Succeeded(cupsCancelJob2(fresh.get(), printer.c_str(), jobId, 0));
    } catch (const EPrintError&) {
        return false;
    }
}

} // namespace

std::chrono::milliseconds SchedulerTimeout() {
    long long ms = timeoutMs.load();
    if (ms < 0) {
        long long unread = -1;
        timeoutMs.compare_exchange_strong(unread, TimeoutFromEnvironment().count());
        ms = timeoutMs.load();
    }
    return std::chrono::milliseconds(ms);
}

void SetSchedulerTimeout(std::chrono::milliseconds bound) {
    timeoutMs = std::max<long long>(1, bound.count());
}

std::string SchedulerSilentMessage(const std::string& printer) {
    const std::string subject =
        printer.empty() ? std::string("Predvolená tlačiareň") : "Tlačiareň " + Quoted(printer);
    return subject + ": " + kSilent + ".";
}

std::vector<SpoolerPrinter> ListPrinters() {
    const SchedulerConnection http = Connect();
    const Destinations dests(http.get());
    // A list cut short by a silence would not say which printers are missing.
    if (dests.Count() == 0 || http.TimedOut()) ThrowIfSchedulerFailed(http, "Zoznam tlačiarní");
    std::vector<SpoolerPrinter> printers;
    for (int i = 0; i < dests.Count(); ++i) {
        const cups_dest_t& dest = dests.At(i);
        // An instance of a printer is the same queue with other options: listed once.
        if (dest.instance != nullptr) continue;
        printers.push_back({dest.name, dest.is_default != 0});
    }
    return printers;
}

std::string DefaultPrinterName() {
    const SchedulerConnection http = Connect();
    const Destinations dests(http.get());
    if (http.TimedOut()) throw EPrintError(SchedulerSilentMessage(""));
    if (dests.Count() == 0) {
        ThrowIfSchedulerFailed(http, "Predvolená tlačiareň");
        throw EPrintError(kNoPrinterMessage);
    }
    const cups_dest_t* dest = dests.Find(nullptr);
    if (dest == nullptr) throw EPrintError(kNoDefaultPrinterMessage);
    return dest->name;
}

void RequirePrinter(const std::string& printer) {
    SchedulerConnection http = Connect();
    QueryPrinter(http, printer);
}

int SubmitPdf(const std::string& printer, std::string_view pdf, const std::string& media) {
    SchedulerConnection http = Connect();
    const PrinterState state = QueryPrinter(http, printer);
    if (!state.accepting)
        throw EPrintError(
            WithReason("Tlačiareň " + Quoted(printer) + " neprijíma úlohy", state.message));

    auto refused = [&](const std::string& reason) {
        if (http.TimedOut()) return EPrintError(SchedulerSilentMessage(printer));
        return EPrintError(
            WithReason("Tlačiareň " + Quoted(printer) + " odmietla tlačovú úlohu", reason));
    };
    cups_option_t* options = nullptr;
    int optionCount = 0;
    if (!media.empty()) optionCount = cupsAddOption("media", media.c_str(), optionCount, &options);
    // The job carries no name, and so neither does its document.
    http.Arm();
    const int jobId = cupsCreateJob(http.get(), printer.c_str(), nullptr, optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (jobId <= 0) throw refused(LastReason());

    // Set when a step fails, with the scheduler's reason (which may be empty).
    std::optional<std::string> failure;
    http.Arm();
    if (cupsStartDocument(http.get(), printer.c_str(), jobId, nullptr, CUPS_FORMAT_PDF, 1) !=
        HTTP_STATUS_CONTINUE) {
        failure = LastReason();
    } else {
        // In pieces, so that a refusal halfway is noticed without sending the rest.
        constexpr std::size_t kPiece = 1 << 16;
        for (std::size_t at = 0; at < pdf.size() && !failure; at += kPiece) {
            const std::size_t size = std::min(kPiece, pdf.size() - at);
            http.Arm();
            if (cupsWriteRequestData(http.get(), pdf.data() + at, size) != HTTP_STATUS_CONTINUE)
                failure = LastReason();
        }
        // The answer must be read even after a failed write, or the connection
        // stays busy; after a silence there is none to wait for.
        if (!http.TimedOut()) {
            http.Arm();
            const ipp_status_t finished = cupsFinishDocument(http.get(), printer.c_str());
            if (!failure && !Succeeded(finished)) failure = LastReason();
        }
    }
    if (!failure) return jobId;
    if (!CancelJob(http, printer, jobId) && http.TimedOut())
        // The scheduler may have all of the document and print it once it wakes up.
        throw EPrintError(SchedulerSilentMessage(printer) +
                          " Úlohu, ktorú už prijal, môže vytlačiť neskôr.");
    throw refused(failure->empty() ? "neznámy dôvod" : *failure);
}

JobStatus QueryJob(const std::string& printer, int jobId) {
    JobStatus status;
    std::optional<SchedulerConnection> http;
    try {
        http.emplace(SchedulerTimeout());
    } catch (const EPrintError&) {
        return status;
    }

    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 PrinterUri(printer).c_str());
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", jobId);
    static const char* const kWanted[] = {
        "job-state",         "job-state-reasons", "job-printer-state-message",
        "job-state-message", "job-uuid",          "time-at-creation"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(kWanted)), nullptr, kWanted);
    const Response response(cupsDoRequest(http->get(), request, "/"));
    if (!response || !Succeeded(cupsLastError())) {
        if (!http->TimedOut() && cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
            status.state = JobState::Missing;
        return status;
    }
    // The scheduler gives every job a uuid; one that does not, its time of creation.
    status.identity = Text(response.get(), "job-uuid");
    if (status.identity.empty()) {
        if (ipp_attribute_t* created =
                ippFindAttribute(response.get(), "time-at-creation", IPP_TAG_INTEGER))
            status.identity = std::to_string(ippGetInteger(created, 0));
    }
    ipp_attribute_t* state = ippFindAttribute(response.get(), "job-state", IPP_TAG_ENUM);
    if (state == nullptr) return status;
    switch (ippGetInteger(state, 0)) {
    case IPP_JSTATE_PENDING:
    case IPP_JSTATE_HELD:
        status.state = JobState::Waiting;
        break;
    case IPP_JSTATE_STOPPED:
        // The scheduler stopped the job itself; it waits as in a stopped queue.
        status.state = JobState::Waiting;
        status.printerStopped = true;
        break;
    case IPP_JSTATE_PROCESSING:
        status.state = JobState::Processing;
        break;
    case IPP_JSTATE_CANCELED:
        status.state = JobState::Canceled;
        break;
    case IPP_JSTATE_ABORTED:
        status.state = JobState::Aborted;
        break;
    case IPP_JSTATE_COMPLETED:
        status.state = JobState::Completed;
        break;
    default:
        break;
    }
    // The printer's own words say most; the job's reasons are the fallback.
    status.reason = Text(response.get(), "job-printer-state-message");
    if (status.reason.empty()) status.reason = Text(response.get(), "job-state-message");
    if (status.reason.empty()) status.reason = Text(response.get(), "job-state-reasons");

    if (status.state == JobState::Waiting || status.state == JobState::Processing) {
        try {
            status.printerStopped |= QueryPrinter(*http, printer).stopped;
        } catch (const EPrintError&) {
            // The job's state is known; the printer's is only an addition.
        }
    }
    return status;
}

std::string JobEndedMessage(const std::string& printer, const JobStatus& status) {
    const char* what = status.state == JobState::Canceled ? " bola zrušená" : " bola prerušená";
    return WithReason("Tlač na tlačiarni " + Quoted(printer) + what, status.reason);
}

std::string JobLostMessage(const std::string& printer) {
    return "Tlačová úloha na tlačiarni " + Quoted(printer) +
           " sa stratila, treba ju vytlačiť znova.";
}

std::string PrinterStoppedNotice(const std::string& printer) {
    return "Tlačiareň " + Quoted(printer) + " je zastavená, úloha čaká v jej fronte.";
}

} // namespace print
