#ifndef ZORVIK_WIN32_INPUT_PASTE_H_
#define ZORVIK_WIN32_INPUT_PASTE_H_

// Pastes into a one-line edit control, judged before the control takes them.
// An edit control lays out its whole line on every change, and a megabyte
// line costs it seconds to minutes (under Wine, time growing faster than the
// square of the length), even when the program's guard drops the text at
// once. So the text the box would hold after the paste is put together here
// and handed to a judge first; only a text the judge lets in reaches the
// control, as the paste itself would have put it there.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace zorvik::win32 {

// Decides on `text`, the whole text `edit` would hold after a paste: true
// lets the paste in; false means the judge has dealt with the box itself.
using PasteJudge = std::function<bool(HWND edit, const std::wstring& text)>;

// Sends every paste into `edit` (Ctrl+V, Shift+Insert, the context menu,
// WM_PASTE from anywhere) through `judge`, which must outlive the control.
void JudgePastes(HWND edit, const PasteJudge& judge);

// What a one-line edit control keeps of pasted text: its first line, the
// text before the first LF and the CR right before that. A CR alone breaks
// no line there.
std::wstring_view FirstLine(std::wstring_view text);

}  // namespace zorvik::win32

#endif  // ZORVIK_WIN32_INPUT_PASTE_H_
