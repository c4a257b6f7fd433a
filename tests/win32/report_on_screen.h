#ifndef ZORVIK_TESTS_WIN32_REPORT_ON_SCREEN_H_
#define ZORVIK_TESTS_WIN32_REPORT_ON_SCREEN_H_

// The error report as it stands on the screen, read from its window: a
// dialog (class #32770) of this thread, its text and icon in static
// controls and its buttons as buttons. That is how Wine draws a task dialog
// and how Windows draws a message box.

#include <windows.h>

#include <string>
#include <vector>

#include "win32/utf16.h"

namespace zorvik::win32 {

struct ReportOnScreen {
  HWND window = nullptr;
  std::string title;
  std::string text;  // line breaks as "\n"
  bool icon = false;
  std::vector<std::string> buttons;  // their captions
  std::vector<HWND> button_windows;
};

// The report shown by this thread, or one with no window when none is.
inline ReportOnScreen FindReport() {
  ReportOnScreen report;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM found) {
        wchar_t class_name[16] = {};
        GetClassNameW(window, class_name, 16);
        if (std::wstring(class_name) != L"#32770" || !IsWindowVisible(window)) {
          return TRUE;
        }
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&report.window));
  if (report.window == nullptr) return report;
  report.title = ToUtf8(WindowText(report.window));
  EnumChildWindows(
      report.window,
      [](HWND child, LPARAM data) {
        auto& report = *reinterpret_cast<ReportOnScreen*>(data);
        wchar_t class_name[16] = {};
        GetClassNameW(child, class_name, 16);
        const std::wstring kind = class_name;
        std::string text = ToUtf8(WindowText(child));
        // Windows versions differ on whether a text keeps "\n" or makes it
        // "\r\n"; the report is the same either way.
        for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) {
          text.erase(at, 1);
        }
        if (_wcsicmp(kind.c_str(), L"Static") == 0) {
          const LONG style = GetWindowLongW(child, GWL_STYLE);
          if ((style & SS_TYPEMASK) == SS_ICON) {
            report.icon |= SendMessageW(child, STM_GETICON, 0, 0) != 0;
          } else if (report.text.empty()) {
            report.text = text;
          }
        } else if (_wcsicmp(kind.c_str(), L"Button") == 0 &&
                   IsWindowVisible(child)) {
          report.buttons.push_back(text);
          report.button_windows.push_back(child);
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&report));
  return report;
}

}  // namespace zorvik::win32

#endif  // ZORVIK_TESTS_WIN32_REPORT_ON_SCREEN_H_
