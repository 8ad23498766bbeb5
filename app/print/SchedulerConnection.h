#pragma once
// One connection to the print scheduler (CUPS) through libcups on which no
// wait for the scheduler lasts past a bound: a scheduler that takes the
// connection and then says nothing (stopped, hung) ends the request, not the
// program. When the scheduler cannot be reached at all, the error gives the
// system's own reason.

#include <chrono>
#include <memory>

#include <cups/http.h>

namespace print {

class SchedulerConnection {
  public:
    // Connects to the scheduler libcups names for this thread; throws
    // EPrintError with the reason when it cannot be reached.
    explicit SchedulerConnection(std::chrono::milliseconds bound);
    ~SchedulerConnection();
    SchedulerConnection(const SchedulerConnection&) = delete;
    SchedulerConnection& operator=(const SchedulerConnection&) = delete;

    http_t* get() const { return http_.get(); }
    // Starts the bound afresh for the next request or piece of one.
    void Arm();
    // A wait for the scheduler outlasted the bound; a request failed for it.
    bool TimedOut() const;

  private:
    struct Watch;
    struct Close {
        void operator()(http_t* http) const { httpClose(http); }
    };
    static int KeepWaiting(http_t* http, void* watch);

    std::unique_ptr<Watch> watch_;
    std::unique_ptr<http_t, Close> http_;
};

} // namespace print
