#ifndef ZORVIK_WIN32_COMPAT_H_
#define ZORVIK_WIN32_COMPAT_H_

// The functions Zorvik needs that are newer than Windows 7, looked up at run
// time, each with the Windows 7 way as its fallback, so one .exe starts on
// Windows 7 SP1 and scales per monitor on Windows 10 and later; and those of
// oleacc.dll, loaded at run time from the system folder.

#include <oleacc.h>
#include <windows.h>

namespace zorvik::win32 {

// Restricts where the program's DLLs are loaded from to the system folder, so
// that no DLL placed beside the .exe is loaded instead of a system one. Does
// nothing where the function is missing (Windows 7 without KB2533623).
void LoadDllsFromSystemOnly();

// The window's dots per inch: its monitor's on Windows 10 and later, the
// system's before.
UINT DpiForWindow(HWND window);

// The outer size of a window with `style` whose client area is `client`.
SIZE WindowSizeForClient(SIZE client, DWORD style, DWORD ex_style, UINT dpi);

// The system's message font (the one dialogs use) at `dpi`. The caller owns
// the font.
HFONT CreateMessageFont(UINT dpi);

// The functions of oleacc.dll that hand a control's accessible object to
// screen readers. oleacc is not one of the KnownDLLs, which Windows always
// takes from the system folder: imported, it would be looked for beside the
// .exe first (usually a Downloads folder), before wWinMain could restrict
// that. So it is loaded, once, from the system folder only. Null where it
// cannot be loaded or lacks either function: the controls then keep their
// standard accessible objects.
struct Oleacc {
  decltype(&::CreateStdAccessibleObject) create_std_accessible_object;
  decltype(&::LresultFromObject) lresult_from_object;
};
const Oleacc* LoadOleacc();

}  // namespace zorvik::win32

#endif  // ZORVIK_WIN32_COMPAT_H_
