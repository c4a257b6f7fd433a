#include <windows.h>

#include "win32/compat.h"
#include "win32/form1_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/,
                    PWSTR /*command_line*/, int show_command) {
  zorvik::win32::LoadDllsFromSystemOnly();
  const auto form = zorvik::win32::Form1Window::Create(
      instance, zorvik::win32::Form1Window::OnClose::kQuit);
  if (form == nullptr) return 1;
  form->Show(show_command);
  return zorvik::win32::RunMessageLoop(form->hwnd());
}
