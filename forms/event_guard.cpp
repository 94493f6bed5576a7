#include "forms/event_guard.h"

#include <exception>
#include <new>
#include <string>

#include "forms/app.h"
#include "forms/runtime_error.h"

namespace forms {
namespace {

std::wstring Widen(const char* text) {
  std::wstring out;
  for (; text && *text; ++text) out.push_back(static_cast<unsigned char>(*text));
  return out;
}

}  // namespace

void ReportCurrentException() noexcept {
  try {
    try {
      throw;
    } catch (const RuntimeError& e) {
      App::ReportError(e.number(), e.description());
    } catch (const std::bad_alloc&) {
      App::ReportError(7, L"内存不足");
    } catch (const std::exception& e) {
      App::ReportError(51, L"内部错误: " + Widen(e.what()));
    } catch (...) {
      App::ReportError(51, L"内部错误");
    }
  } catch (...) {
    // The reporter itself failed; nothing is left to tell the user with.
  }
}

}  // namespace forms
