#pragma once
// Runs an event handler so that no exception leaves it: a failure is handed
// to App::ReportError with its number and description.
#include <utility>

namespace forms {

// Reports the exception currently being handled. Call only inside a catch block.
void ReportCurrentException() noexcept;

// Returns true when the handler ran to the end.
template <typename Handler>
bool RunGuarded(Handler&& handler) noexcept {
  try {
    std::forward<Handler>(handler)();
    return true;
  } catch (...) {
    ReportCurrentException();
    return false;
  }
}

}  // namespace forms
