#pragma once
// Process-wide facts of the forms layer: the application folder, the program
// title used by error reports, and the error reporter itself.
#include <functional>
#include <string>

namespace forms {

using ErrorReporter = std::function<void(long number, const std::wstring& description)>;
// Shows a message and returns the button chosen (IDOK, IDRETRY, IDCANCEL...).
using MessageAsker = std::function<int(const std::wstring& text, unsigned type)>;

class App {
 public:
  // Folder of the executable, without a trailing backslash unless it is a
  // drive's root folder ("C:\").
  static std::wstring Path();
  static void SetPathForTesting(std::wstring folder);

  static const std::wstring& Title();
  static void SetTitle(std::wstring title);

  // Reports a failed event handler. The default shows a message box and ends
  // the process with exit code kErrorExitCode; tests install their own.
  static void ReportError(long number, const std::wstring& description);
  static void SetErrorReporterForTesting(ErrorReporter reporter);
  // Runs before a failure is reported (the report ends the program), to undo
  // what would outlive the process, such as a notification-area icon.
  static void SetErrorCleanup(std::function<void()> cleanup);
  static void RestoreDefaultErrorReporter();

  // A message box titled with the program title (MessageBoxW type flags);
  // the program goes on. Tests install their own answers.
  static int Ask(const std::wstring& text, unsigned type);
  static void SetAskerForTesting(MessageAsker asker);

  static constexpr unsigned kErrorExitCode = 1;
};

// The text shown for a failed handler: "运行时错误 '<number>':\n\n<description>".
std::wstring FormatRuntimeErrorText(long number, const std::wstring& description);

}  // namespace forms
