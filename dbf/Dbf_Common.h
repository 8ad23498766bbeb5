#pragma once
// Errors of the table reader and the date-time scale it hands out.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace dbf {

// Any failure of the record layer: a missing field, a closed table, a refused file.
// The message is what callers show and compare; a refused file also carries its
// reason: the header field or descriptor at fault and the value found there.
class EDatabaseError : public std::runtime_error {
  public:
    explicit EDatabaseError(const std::string& message, std::string reason = {})
        : std::runtime_error(message), reason_(std::move(reason)) {}
    const std::string& Reason() const { return reason_; }

  private:
    std::string reason_;
};

// A malformed table or a table file that is missing.
class EDbfError : public EDatabaseError {
  public:
    using EDatabaseError::EDatabaseError;
};

// The operating system refused to open, read or write the file.
class EFileError : public EDatabaseError {
  public:
    using EDatabaseError::EDatabaseError;
};

// The silent abort: an open given up on purpose; callers treat it like any failure.
// Its reason says what in the file made the open give up.
class EAbort : public std::runtime_error {
  public:
    explicit EAbort(std::string reason = {});
    const std::string& Reason() const { return reason_; }

  private:
    std::string reason_;
};

// The reason a table was refused, from either kind of error; empty for any other
// error and where the message says it all.
std::string_view RefusalReason(const std::exception& error);

// Fills printf-style placeholders of a message (%s and %d only).
std::string Format(std::string_view pattern, std::string_view s1 = {}, std::string_view s2 = {});
std::string FormatInt(std::string_view pattern, long long value);

// Days since 30 December 1899 with the time of day as the fraction.
using TDateTime = double;

bool IsValidDate(int year, int month, int day);
// The date at midnight; the caller checks validity first.
TDateTime EncodeDate(int year, int month, int day);
// Splits a value into its calendar date and time; false when it lies outside years 1 to 9999.
struct DateTimeParts {
    int year, month, day, hour, minute, second, millisecond;
};
bool DecodeDateTime(TDateTime value, DateTimeParts& parts);
// A date plus a time of day (0 <= time < 1), keeping the time positive before 1899.
TDateTime ComposeDateTime(TDateTime date, double time);

} // namespace dbf
