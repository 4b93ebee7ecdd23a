// The program's one error type: an exception carrying a Polish message for the user.
#pragma once

#include <fmt/printf.h>

#include <stdexcept>
#include <string>

namespace velkar {

// Thrown by value, caught by const&. The message is UTF-8 and is shown as it is.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Formats a message in the printf style the program's message texts are written in
// ("Brak pliku %s"), so the texts stay exactly as quoted.
template <typename... Args>
std::string Format(const std::string& pattern, const Args&... args) {
  return fmt::sprintf(pattern, args...);
}

template <typename... Args>
[[noreturn]] void Fail(const std::string& pattern, const Args&... args) {
  throw Error(Format(pattern, args...));
}

}  // namespace velkar
