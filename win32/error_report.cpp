#include "win32/error_report.h"

#include <commctrl.h>

namespace zorvik::win32 {

void ShowReport(HWND owner, const std::wstring& title, const std::wstring& text,
                const std::wstring& button) {
  // The one button only dismisses the report, so it takes the id of Cancel:
  // Esc then closes the report on every version of the task dialog (some
  // answer Esc only with a Cancel button), Enter presses it as the default,
  // and the title bar's close button is there, as on a message box.
  const TASKDIALOG_BUTTON buttons[] = {{IDCANCEL, button.c_str()}};
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = owner;
  config.hInstance = GetModuleHandleW(nullptr);
  config.dwFlags =
      TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
  config.pszWindowTitle = title.c_str();
  config.pszMainIcon = TD_ERROR_ICON;
  config.pszContent = text.c_str();
  config.cButtons = 1;
  config.pButtons = buttons;
  config.nDefaultButton = IDCANCEL;
  // Task dialogs come with Common Controls 6, which the manifest asks for;
  // should they ever fail, the report still shows, as a message box.
  if (FAILED(TaskDialogIndirect(&config, nullptr, nullptr, nullptr))) {
    MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
  }
}

}  // namespace zorvik::win32
