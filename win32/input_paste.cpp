#include "win32/input_paste.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "win32/utf16.h"

namespace zorvik::win32 {
namespace {

constexpr UINT_PTR kPasteSubclassId = 4;  // the others are form1_window's

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// Shift+Insert pastes as Ctrl+V does, but some edit controls (Wine's) paste
// it directly instead of through WM_PASTE. Alt held makes it no paste.
bool IsPaste(UINT message, WPARAM wparam) {
  if (message == WM_PASTE) return true;
  return message == WM_KEYDOWN && wparam == VK_INSERT && KeyDown(VK_SHIFT) &&
         !KeyDown(VK_MENU);
}

// The clipboard's text up to its first line break, or nothing when the
// clipboard holds no text (or another program keeps it open).
std::optional<std::wstring> PastedLine(HWND edit) {
  if (!OpenClipboard(edit)) return std::nullopt;
  std::optional<std::wstring> line;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* text = static_cast<const wchar_t*>(GlobalLock(data))) {
      // The clipboard's text ends at its first NUL, or with its memory block
      // for a text written without one.
      const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
      const std::wstring_view whole(text, wcsnlen(text, capacity));
      line = std::wstring(FirstLine(whole));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return line;
}

LRESULT CALLBACK JudgePaste(HWND edit, UINT message, WPARAM wparam,
                            LPARAM lparam, UINT_PTR /*id*/, DWORD_PTR data) {
  if (!IsPaste(message, wparam)) {
    return DefSubclassProc(edit, message, wparam, lparam);
  }
  const std::optional<std::wstring> line = PastedLine(edit);
  if (!line) return 0;  // nothing to paste, as the control itself does
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  std::wstring text = WindowText(edit);
  start = std::min<DWORD>(start, static_cast<DWORD>(text.size()));
  end = std::min<DWORD>(std::max(start, end), static_cast<DWORD>(text.size()));
  text.replace(start, end - start, *line);
  const auto& judge = *reinterpret_cast<const PasteJudge*>(data);
  if (judge(edit, text)) {
    // The paste as the control makes it: the caret after the pasted text,
    // undoable, and a change notification.
    SendMessageW(edit, EM_REPLACESEL, TRUE,
                 reinterpret_cast<LPARAM>(line->c_str()));
  }
  return 0;
}

}  // namespace

void JudgePastes(HWND edit, const PasteJudge& judge) {
  SetWindowSubclass(edit, &JudgePaste, kPasteSubclassId,
                    reinterpret_cast<DWORD_PTR>(&judge));
}

std::wstring_view FirstLine(std::wstring_view text) {
  std::wstring_view line = text.substr(0, text.find(L'\n'));
  if (line.size() < text.size() && line.ends_with(L'\r')) {
    line.remove_suffix(1);
  }
  return line;
}

}  // namespace zorvik::win32
