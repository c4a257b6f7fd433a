#ifndef ZORVIK_WIN32_ERROR_REPORT_H_
#define ZORVIK_WIN32_ERROR_REPORT_H_

#include <windows.h>

#include <string>

namespace zorvik::win32 {

// Shows the report of an error no handler traps, modal over `owner`: the
// error icon, `title`, `text` and one button reading `button` whatever the
// system's display language (a message box words its button in that
// language: "OK" on an English Windows). It is a task dialog with a button
// of its own; Enter and Esc close it, as they close a message box. Returns
// once it is closed.
void ShowReport(HWND owner, const std::wstring& title, const std::wstring& text,
                const std::wstring& button);

}  // namespace zorvik::win32

#endif  // ZORVIK_WIN32_ERROR_REPORT_H_
