#pragma once
// A failure inside an event handler. The forms layer catches it at the window
// procedure boundary, shows its number and description in a message box and
// ends the program; it never unwinds through a system callback.
#include <exception>
#include <string>

namespace forms {

class RuntimeError : public std::exception {
 public:
  RuntimeError(long number, std::wstring description)
      : number_(number), description_(std::move(description)) {}

  long number() const noexcept { return number_; }
  const std::wstring& description() const noexcept { return description_; }
  const char* what() const noexcept override { return "forms::RuntimeError"; }

 private:
  long number_;
  std::wstring description_;
};

}  // namespace forms
