#include "app/print/SchedulerConnection.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include <cups/cups.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "app/print/PrintError.h"

namespace print {
namespace {

// How often a silent scheduler is looked at again while the bound runs.
constexpr std::chrono::milliseconds kWaitStep{250};
// A probe for the reason need not wait as long as the connection did.
constexpr std::chrono::milliseconds kProbeAtMost{3000};

const char* NoPassword(const char*, http_t*, const char*, const char*, void*) {
    return nullptr;
}

// errno of connecting to one address, 0 when it connects.
int ConnectError(http_addr_t& address, std::chrono::milliseconds bound) {
    const int fd = socket(httpAddrFamily(&address), SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return errno;
    int error = 0;
    if (connect(fd, &address.addr, static_cast<socklen_t>(httpAddrLength(&address))) != 0) {
        error = errno;
        if (error == EINPROGRESS) {
            pollfd waiting{fd, POLLOUT, 0};
            const int ready = poll(&waiting, 1, static_cast<int>(bound.count()));
            if (ready == 0) {
                error = ETIMEDOUT;
            } else if (ready < 0) {
                error = errno;
            } else {
                socklen_t size = sizeof error;
                if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
            }
        }
    }
    close(fd);
    return error;
}

// Why the scheduler cannot be reached, in the system's words. libcups keeps no
// trustworthy reason of its own (errno has moved on by the time it returns),
// so the scheduler's addresses are tried once more here.
std::string UnreachableReason(const char* server, int port, std::chrono::milliseconds bound) {
    const std::string service = std::to_string(port);
    http_addrlist_t* addresses = httpAddrGetList(server, AF_UNSPEC, service.c_str());
    int error = 0;
    for (http_addrlist_t* address = addresses; address != nullptr; address = address->next) {
        error = ConnectError(address->addr, bound);
        if (error == 0) break;
    }
    httpAddrFreeList(addresses);
    if (error != 0) return std::strerror(error);
    const char* text = cupsLastErrorString();
    return text != nullptr ? text : std::string();
}

} // namespace

struct SchedulerConnection::Watch {
    std::chrono::milliseconds bound;
    std::chrono::steady_clock::time_point deadline;
    bool timedOut = false;
};

SchedulerConnection::SchedulerConnection(std::chrono::milliseconds bound)
    : watch_(std::make_unique<Watch>(Watch{bound, {}})) {
    // A password prompt would wait on a terminal the user may not even see.
    cupsSetPasswordCB2(NoPassword, nullptr);
    const char* server = cupsServer();
    const int port = ippPort();
    http_.reset(httpConnect2(server, port, nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             static_cast<int>(bound.count()), nullptr));
    if (!http_) {
        std::string message = "Tlačový systém CUPS nie je dostupný";
        const std::string reason = UnreachableReason(server, port, std::min(bound, kProbeAtMost));
        if (!reason.empty()) message += ": " + reason;
        throw EPrintError(message + ".");
    }
    const auto step = std::min(bound, kWaitStep);
    httpSetTimeout(http_.get(), std::chrono::duration<double>(step).count(), &KeepWaiting,
                   watch_.get());
    Arm();
}

SchedulerConnection::~SchedulerConnection() = default;

void SchedulerConnection::Arm() {
    watch_->deadline = std::chrono::steady_clock::now() + watch_->bound;
}

bool SchedulerConnection::TimedOut() const {
    return watch_->timedOut;
}

int SchedulerConnection::KeepWaiting(http_t*, void* watch) {
    auto* watching = static_cast<Watch*>(watch);
    if (std::chrono::steady_clock::now() < watching->deadline) return 1;
    watching->timedOut = true;
    return 0;
}

} // namespace print
