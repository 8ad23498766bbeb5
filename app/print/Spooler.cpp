#include "app/print/Spooler.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include <cups/cups.h>

#include "app/print/PrintError.h"

namespace print {
namespace {

// How long one request may wait for the scheduler before it counts as gone.
constexpr int kConnectTimeoutMs = 10000;

struct HttpClose {
    void operator()(http_t* http) const { httpClose(http); }
};
struct IppDelete {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using Connection = std::unique_ptr<http_t, HttpClose>;
using Response = std::unique_ptr<ipp_t, IppDelete>;

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

Connection Connect() {
    errno = 0;
    Connection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                 kConnectTimeoutMs, nullptr));
    if (!http) {
        const std::string reason = errno != 0 ? std::strerror(errno) : LastReason();
        throw EPrintError(WithReason("Tlačový systém CUPS nie je dostupný", reason));
    }
    return http;
}

// The scheduler answered a request with an error of its own, not with "no printers".
void ThrowIfSchedulerFailed() {
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

PrinterState QueryPrinter(http_t* http, const std::string& printer) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 PrinterUri(printer).c_str());
    static const char* const kWanted[] = {"printer-is-accepting-jobs", "printer-state",
                                          "printer-state-message", "printer-state-reasons"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 4, nullptr,
                  kWanted);
    const Response response(cupsDoRequest(http, request, "/"));
    if (!response || !Succeeded(cupsLastError())) {
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

} // namespace

std::vector<SpoolerPrinter> ListPrinters() {
    const Connection http = Connect();
    const Destinations dests(http.get());
    if (dests.Count() == 0) ThrowIfSchedulerFailed();
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
    const Connection http = Connect();
    const Destinations dests(http.get());
    if (dests.Count() == 0) {
        ThrowIfSchedulerFailed();
        throw EPrintError(kNoPrinterMessage);
    }
    const cups_dest_t* dest = dests.Find(nullptr);
    if (dest == nullptr) throw EPrintError(kNoDefaultPrinterMessage);
    return dest->name;
}

void RequirePrinter(const std::string& printer) {
    const Connection http = Connect();
    QueryPrinter(http.get(), printer);
}

int SubmitPdf(const std::string& printer, std::string_view pdf, const std::string& media) {
    const Connection http = Connect();
    const PrinterState state = QueryPrinter(http.get(), printer);
    if (!state.accepting)
        throw EPrintError(
            WithReason("Tlačiareň " + Quoted(printer) + " neprijíma úlohy", state.message));

    auto refused = [&](const std::string& reason) {
        return EPrintError(
            WithReason("Tlačiareň " + Quoted(printer) + " odmietla tlačovú úlohu", reason));
    };
    cups_option_t* options = nullptr;
    int optionCount = 0;
    if (!media.empty()) optionCount = cupsAddOption("media", media.c_str(), optionCount, &options);
    // The job carries no name, and so neither does its document.
    const int jobId = cupsCreateJob(http.get(), printer.c_str(), nullptr, optionCount, options);
    cupsFreeOptions(optionCount, options);
    if (jobId <= 0) throw refused(LastReason());

    std::string failure;
    if (cupsStartDocument(http.get(), printer.c_str(), jobId, nullptr, CUPS_FORMAT_PDF, 1) !=
        HTTP_STATUS_CONTINUE) {
        failure = LastReason();
    } else {
        // In pieces, so that a refusal halfway is noticed without sending the rest.
        constexpr std::size_t kPiece = 1 << 16;
        for (std::size_t at = 0; at < pdf.size() && failure.empty(); at += kPiece) {
            const std::size_t size = std::min(kPiece, pdf.size() - at);
            if (cupsWriteRequestData(http.get(), pdf.data() + at, size) != HTTP_STATUS_CONTINUE)
                failure = LastReason();
        }
        // The answer must be read even after a failed write, or the connection stays busy.
        const ipp_status_t finished = cupsFinishDocument(http.get(), printer.c_str());
        if (failure.empty() && !Succeeded(finished)) failure = LastReason();
    }
    if (failure.empty()) return jobId;
    cupsCancelJob2(http.get(), printer.c_str(), jobId, 0);
    throw refused(failure.empty() ? "neznámy dôvod" : failure);
}

JobStatus QueryJob(const std::string& printer, int jobId) {
    JobStatus status;
    http_t* raw = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                               kConnectTimeoutMs, nullptr);
    if (raw == nullptr) return status;
    const Connection http(raw);

    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 PrinterUri(printer).c_str());
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", jobId);
    static const char* const kWanted[] = {"job-state", "job-state-reasons",
                                          "job-printer-state-message", "job-state-message"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 4, nullptr,
                  kWanted);
    const Response response(cupsDoRequest(http.get(), request, "/"));
    if (!response || !Succeeded(cupsLastError())) return status;
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
            status.printerStopped |= QueryPrinter(http.get(), printer).stopped;
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

std::string PrinterStoppedNotice(const std::string& printer) {
    return "Tlačiareň " + Quoted(printer) + " je zastavená, úloha čaká v jej fronte.";
}

} // namespace print
