#include "win32/error_report.h"

#include <commctrl.h>

#include <bitset>

namespace zorvik::win32 {
namespace {

// The keys pressed afresh since the report opened, by virtual key.
std::bitset<256> pressed_in_report;

// Keeps from the report every key held down since before it opened (the
// Enter that pressed 计算, held on): its repeats, which a dialog takes for
// presses of its default button, and its release, which would click a
// button pushed by Space. The key's own state tells them: lParam's bit 30,
// the key was down already, on a key-down of a key not pressed afresh here.
// The report stays until a fresh press of a key or a click closes it.
LRESULT CALLBACK KeepHeldKeysOut(int code, WPARAM removed, LPARAM data) {
  auto* message = reinterpret_cast<MSG*>(data);
  if (code == HC_ACTION && removed == PM_REMOVE && message->wParam < 256) {
    const bool was_down = (message->lParam & (LPARAM{1} << 30)) != 0;
    const std::size_t key = message->wParam;
    switch (message->message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (!was_down) pressed_in_report.set(key);
        if (!pressed_in_report.test(key)) message->message = WM_NULL;
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        if (!pressed_in_report.test(key)) message->message = WM_NULL;
        pressed_in_report.reset(key);
        break;
      default:
        break;
    }
  }
  return CallNextHookEx(nullptr, code, removed, data);
}

}  // namespace

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
  pressed_in_report.reset();
  HHOOK hook = SetWindowsHookExW(WH_GETMESSAGE, &KeepHeldKeysOut, nullptr,
                                 GetCurrentThreadId());
  if (FAILED(TaskDialogIndirect(&config, nullptr, nullptr, nullptr))) {
    MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
  }
  if (hook != nullptr) UnhookWindowsHookEx(hook);
}

}  // namespace zorvik::win32
