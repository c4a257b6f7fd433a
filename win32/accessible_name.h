#ifndef ZORVIK_WIN32_ACCESSIBLE_NAME_H_
#define ZORVIK_WIN32_ACCESSIBLE_NAME_H_

#include <windows.h>

#include <string_view>

namespace zorvik::win32 {

// Gives `control` the name a screen reader reads for it, and the
// description it reads after the name (none when `description` is empty).
// Windows names an edit control after the static control just before it among
// its siblings, and Form1's boxes come before their labels (for the tab order
// and the drawing order), so the boxes would have no name of their own.
//
// The control answers WM_GETOBJECT for its client area with the system's
// standard accessible object for it, whose name alone is replaced: role,
// value, state, position and focus stay the standard ones (and so does the
// description, when none is given). Screen readers
// reach that object through COM, so COM must be initialised on the control's
// thread. Call it once per control. Returns false when the control cannot be
// subclassed, or oleacc.dll cannot be loaded from the system folder; it then
// keeps the standard name.
bool SetAccessibleName(HWND control, std::wstring_view name,
                       std::wstring_view description = {});

}  // namespace zorvik::win32

#endif  // ZORVIK_WIN32_ACCESSIBLE_NAME_H_
