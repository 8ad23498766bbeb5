#pragma once
// The error a print job ends with; what() is the message for the user, in UTF-8.

#include <stdexcept>
#include <string>

namespace print {

class EPrintError : public std::runtime_error {
  public:
    explicit EPrintError(const std::string& message) : std::runtime_error(message) {}
};

// No line of the document fell into the page range: the job was dropped. This
// is a notice to the user rather than a failure, so the window shows it the way
// it shows its other notices.
class ERangeOutsideDocument : public EPrintError {
  public:
    using EPrintError::EPrintError;
};

} // namespace print
