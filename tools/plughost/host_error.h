// The one kind of failure plughost reports: a message that becomes one line on stderr and a
// non-zero exit. Thrown inside plughost only, never across a call into the plug-in.
#pragma once

#include <stdexcept>
#include <string>

class HostError : public std::runtime_error {
public:
  explicit HostError(const std::string& message) : std::runtime_error(message) {}
};
