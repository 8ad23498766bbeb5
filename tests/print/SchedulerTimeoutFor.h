#pragma once
// How long the print system may stay silent, set for one test and put back
// afterwards; tests that stop the scheduler need not wait the usual bound.

#include <chrono>

#include "app/print/Spooler.h"

namespace testing_cups {

class SchedulerTimeoutFor {
  public:
    explicit SchedulerTimeoutFor(std::chrono::milliseconds bound)
        : saved_(print::SchedulerTimeout()) {
        print::SetSchedulerTimeout(bound);
    }
    ~SchedulerTimeoutFor() { print::SetSchedulerTimeout(saved_); }
    SchedulerTimeoutFor(const SchedulerTimeoutFor&) = delete;
    SchedulerTimeoutFor& operator=(const SchedulerTimeoutFor&) = delete;

  private:
    std::chrono::milliseconds saved_;
};

} // namespace testing_cups
