#ifndef ZORVIK_WIN32_RENT_WORD_BREAK_H_
#define ZORVIK_WIN32_RENT_WORD_BREAK_H_

#include <windows.h>

namespace zorvik::win32 {

// Gives the output box (a multi-line edit control) a word-break procedure
// under which a double-click on a rent selects it whole, sign, point and
// exponent too (see RentAt); elsewhere words end at blanks, as the classic
// edit control's own procedure has them.
void SelectRentsWhole(HWND output_box);

}  // namespace zorvik::win32

#endif  // ZORVIK_WIN32_RENT_WORD_BREAK_H_
