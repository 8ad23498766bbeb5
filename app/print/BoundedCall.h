#pragma once
// Runs a call that may wait for the print system without any limit of its own
// (Qt's printer description asks CUPS through libcups' default connection, on
// which no time limit can be set) on a thread of its own, and waits for it no
// longer than a bound. A call given up on finishes in the background, or never,
// and its result is dropped.

#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

namespace print {

// The call's result, or nothing when it took longer than bound; rethrows what
// the call threw.
template <class Result, class Call>
std::optional<Result> CallWithin(std::chrono::milliseconds bound, Call call) {
    struct Outcome {
        std::mutex mutex;
        std::condition_variable done;
        std::optional<Result> result;
        std::exception_ptr error;
        bool finished = false;
    };
    auto outcome = std::make_shared<Outcome>();
    std::thread([outcome, call = std::move(call)]() mutable {
        std::optional<Result> result;
        std::exception_ptr error;
        try {
            result.emplace(call());
        } catch (...) {
            error = std::current_exception();
        }
        const std::lock_guard lock(outcome->mutex);
        outcome->result = std::move(result);
        outcome->error = error;
        outcome->finished = true;
        outcome->done.notify_all();
    }).detach();
    std::unique_lock lock(outcome->mutex);
    if (!outcome->done.wait_for(lock, bound, [&] { return outcome->finished; })) return {};
    if (outcome->error) std::rethrow_exception(outcome->error);
    return std::move(outcome->result);
}

} // namespace print
