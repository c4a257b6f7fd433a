#ifndef ZORVIK_TESTS_WIN32_CLIPBOARD_TEXT_H_
#define ZORVIK_TESTS_WIN32_CLIPBOARD_TEXT_H_

// Puts a text on the clipboard as another program's copy would leave it, for
// the tests and benchmarks that paste.

#include <windows.h>

#include <optional>
#include <string_view>

namespace zorvik::win32 {

// Empties the clipboard and puts `text` on it, ended by a NUL, as
// CF_UNICODETEXT; no text leaves the clipboard empty. False when the
// clipboard cannot be opened.
inline bool SetClipboardText(HWND owner,
                             std::optional<std::wstring_view> text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  if (text) {
    HGLOBAL memory =
        GlobalAlloc(GMEM_MOVEABLE, (text->size() + 1) * sizeof(wchar_t));
    auto* copy = static_cast<wchar_t*>(GlobalLock(memory));
    text->copy(copy, text->size());
    copy[text->size()] = L'\0';
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
  }
  CloseClipboard();
  return true;
}

}  // namespace zorvik::win32

#endif  // ZORVIK_TESTS_WIN32_CLIPBOARD_TEXT_H_
