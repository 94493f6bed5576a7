#include "forms/app.h"

#include <windows.h>

#include <utility>

namespace forms {
namespace {

std::wstring& PathOverride() {
  static std::wstring path;
  return path;
}

std::wstring& TitleStorage() {
  static std::wstring title = L"Project1";
  return title;
}

void DefaultReporter(long number, const std::wstring& description) {
  MessageBoxW(nullptr, FormatRuntimeErrorText(number, description).c_str(), App::Title().c_str(),
              MB_OK | MB_ICONERROR | MB_TOPMOST | MB_SETFOREGROUND);
  ExitProcess(App::kErrorExitCode);
}

int DefaultAsker(const std::wstring& text, unsigned type) {
  return MessageBoxW(nullptr, text.c_str(), App::Title().c_str(),
                     type | MB_TOPMOST | MB_SETFOREGROUND);
}

MessageAsker& Asker() {
  static MessageAsker asker = DefaultAsker;
  return asker;
}

std::function<void()>& Cleanup() {
  static std::function<void()> cleanup;
  return cleanup;
}

ErrorReporter& Reporter() {
  static ErrorReporter reporter = DefaultReporter;
  return reporter;
}

std::wstring ModuleFolder() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return L".";
    if (n < buffer.size()) {
      buffer.resize(n);
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  size_t slash = buffer.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L".";
  // Keep the backslash of a root folder ("C:\").
  if (slash == 2 && buffer[1] == L':') return buffer.substr(0, 3);
  return buffer.substr(0, slash);
}

}  // namespace

std::wstring App::Path() {
  if (!PathOverride().empty()) return PathOverride();
  return ModuleFolder();
}

void App::SetPathForTesting(std::wstring folder) { PathOverride() = std::move(folder); }

const std::wstring& App::Title() { return TitleStorage(); }
void App::SetTitle(std::wstring title) { TitleStorage() = std::move(title); }

void App::ReportError(long number, const std::wstring& description) {
  // A second failure while the first report is on screen is not reported again.
  static bool reporting = false;
  if (reporting) return;
  reporting = true;
  if (Cleanup()) {
    try {
      Cleanup()();
    } catch (...) {
      // The report comes all the same.
    }
  }
  Reporter()(number, description);
  reporting = false;
}

void App::SetErrorReporterForTesting(ErrorReporter reporter) { Reporter() = std::move(reporter); }
void App::RestoreDefaultErrorReporter() { Reporter() = DefaultReporter; }
int App::Ask(const std::wstring& text, unsigned type) { return Asker()(text, type); }
void App::SetAskerForTesting(MessageAsker asker) {
  Asker() = asker ? std::move(asker) : MessageAsker(DefaultAsker);
}

void App::SetErrorCleanup(std::function<void()> cleanup) { Cleanup() = std::move(cleanup); }

std::wstring FormatRuntimeErrorText(long number, const std::wstring& description) {
  return L"运行时错误 '" + std::to_wstring(number) + L"':\n\n" + description;
}

}  // namespace forms
