#include "dbf/Dbf_Common.h"

#include "dbf/Dbf_Str.h"

#include <chrono>
#include <cmath>

namespace dbf {

EAbort::EAbort(std::string reason)
    : std::runtime_error(STRING_OPERATION_ABORTED), reason_(std::move(reason)) {}

std::string_view RefusalReason(const std::exception& error) {
    if (const auto* database = dynamic_cast<const EDatabaseError*>(&error))
        return database->Reason();
    if (const auto* abort = dynamic_cast<const EAbort*>(&error)) return abort->Reason();
    return {};
}

namespace {

// Replaces each "%<letter>" in turn by the next of `values`.
std::string Fill(std::string_view pattern, char letter,
                 std::initializer_list<std::string_view> values) {
    std::string out;
    out.reserve(pattern.size() + 32);
    auto next = values.begin();
    const char placeholder[] = {'%', letter};
    for (;;) {
        const std::size_t at = pattern.find(std::string_view(placeholder, 2));
        if (at == std::string_view::npos || next == values.end()) break;
        out.append(pattern.substr(0, at));
        out.append(*next++);
        pattern.remove_prefix(at + 2);
    }
    out.append(pattern);
    return out;
}

} // namespace

std::string Format(std::string_view pattern, std::string_view s1, std::string_view s2) {
    return Fill(pattern, 's', {s1, s2});
}

std::string FormatInt(std::string_view pattern, long long value) {
    return Fill(pattern, 'd', {std::to_string(value)});
}

namespace {

// 30 December 1899, day 0 of the date-time scale, on the system clock's calendar.
constexpr std::chrono::sys_days kDayZero{std::chrono::year{1899} / std::chrono::December / 30};

} // namespace

bool IsValidDate(int year, int month, int day) {
    // The range checks come first: the calendar types keep months and days in
    // a byte, so an out-of-range value would wrap into a valid one.
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return false;
    return std::chrono::year_month_day{std::chrono::year{year},
                                       std::chrono::month{static_cast<unsigned>(month)},
                                       std::chrono::day{static_cast<unsigned>(day)}}
        .ok();
}

TDateTime EncodeDate(int year, int month, int day) {
    const std::chrono::sys_days date{std::chrono::year{year} /
                                     std::chrono::month{static_cast<unsigned>(month)} /
                                     std::chrono::day{static_cast<unsigned>(day)}};
    return static_cast<double>((date - kDayZero).count());
}

bool DecodeDateTime(TDateTime value, DateTimeParts& parts) {
    // 1 January 0001 and 31 December 9999 on this scale.
    if (!std::isfinite(value) || value <= -693594.0 || value >= 2958466.0) return false;
    // The whole part is the date; the fraction's size is the time, also before 1899.
    double whole = std::trunc(value);
    long long ms = std::llround(std::fabs(value - whole) * 86400000.0);
    if (ms >= 86400000) ms = 86400000 - 1;
    const std::chrono::year_month_day date{kDayZero +
                                           std::chrono::days{static_cast<long long>(whole)}};
    parts.year = static_cast<int>(date.year());
    parts.month = static_cast<int>(static_cast<unsigned>(date.month()));
    parts.day = static_cast<int>(static_cast<unsigned>(date.day()));
    parts.hour = static_cast<int>(ms / 3600000);
    parts.minute = static_cast<int>(ms / 60000 % 60);
    parts.second = static_cast<int>(ms / 1000 % 60);
    parts.millisecond = static_cast<int>(ms % 1000);
    return true;
}

TDateTime ComposeDateTime(TDateTime date, double time) {
    return date < 0 ? date - time : date + time;
}

} // namespace dbf
