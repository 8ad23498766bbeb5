#pragma once
// The error a print job ends with; what() is the message for the user, in UTF-8.

#include <stdexcept>
#include <string>

namespace print {

class EPrintError : public std::runtime_error {
  public:
    explicit EPrintError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace print
