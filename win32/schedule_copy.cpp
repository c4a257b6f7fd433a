#include "win32/schedule_copy.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "win32/utf16.h"
#include "window/schedule_table.h"

namespace zorvik::win32 {
namespace {

constexpr UINT_PTR kCopySubclassId = 4;  // 1 to 3 are the window's own

// `number` in ten digits: the header has the same length whatever the
// offsets, so it can give its own length.
std::string TenDigits(std::size_t number) {
  std::string digits = std::to_string(number);
  return std::string(10 - std::min<std::size_t>(digits.size(), 10), '0') +
         digits;
}

// Memory for the clipboard holding `size` bytes from `data`; null when there
// is none.
HGLOBAL ClipboardMemory(const void* data, std::size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return nullptr;
  void* target = GlobalLock(memory);
  if (target == nullptr) {
    GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, data, size);
  GlobalUnlock(memory);
  return memory;
}

// Puts `memory` on the open clipboard as `format`; the clipboard owns it
// from then on, and on failure it is freed here.
bool Put(UINT format, HGLOBAL memory) {
  if (memory == nullptr) return false;
  if (SetClipboardData(format, memory) != nullptr) return true;
  GlobalFree(memory);
  return false;
}

// The selected text, and the table as "HTML Format", both or neither.
bool PutTable(HWND owner, std::wstring_view text, const std::string& html) {
  static const UINT html_format = RegisterClipboardFormatW(L"HTML Format");
  if (html_format == 0 || !OpenClipboard(owner)) return false;
  EmptyClipboard();
  const std::wstring terminated(text);
  const bool put =
      Put(CF_UNICODETEXT,
          ClipboardMemory(terminated.c_str(),
                          (terminated.size() + 1) * sizeof(wchar_t))) &&
      Put(html_format, ClipboardMemory(html.c_str(), html.size() + 1));
  if (!put) EmptyClipboard();
  CloseClipboard();
  return put;
}

LRESULT CALLBACK CopyAsTable(HWND edit, UINT message, WPARAM wparam,
                             LPARAM lparam, UINT_PTR /*id*/,
                             DWORD_PTR /*data*/) {
  if (message == WM_COPY) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    if (start < end) {
      // Edit controls count positions in UTF-16 units of their text, which
      // is the shown text with its CR LF breaks.
      const std::wstring shown = WindowText(edit);
      const std::string table = ScheduleTable(ToUtf8(shown), start, end);
      if (!table.empty() &&
          PutTable(edit, std::wstring_view(shown).substr(start, end - start),
                   HtmlClipboardFormat(table))) {
        return 0;
      }
    }
  } else if (message == WM_KEYDOWN && wparam == VK_INSERT &&
             GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0) {
    // Ctrl+Insert: some edit controls copy without a WM_COPY of their own.
    SendMessageW(edit, WM_COPY, 0, 0);
    return 0;
  } else if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(edit, &CopyAsTable, kCopySubclassId);
  }
  return DefSubclassProc(edit, message, wparam, lparam);
}

}  // namespace

bool CopySchedulesAsTables(HWND output_box) {
  return SetWindowSubclass(output_box, &CopyAsTable, kCopySubclassId, 0) !=
         FALSE;
}

std::string HtmlClipboardFormat(std::string_view fragment) {
  const auto header = [](std::size_t start_html, std::size_t end_html,
                         std::size_t start_fragment, std::size_t end_fragment) {
    return "Version:0.9\r\nStartHTML:" + TenDigits(start_html) +
           "\r\nEndHTML:" + TenDigits(end_html) +
           "\r\nStartFragment:" + TenDigits(start_fragment) +
           "\r\nEndFragment:" + TenDigits(end_fragment) + "\r\n";
  };
  const std::size_t start_html = header(0, 0, 0, 0).size();
  const std::size_t start_fragment = start_html + kHtmlBefore.size();
  const std::size_t end_fragment = start_fragment + fragment.size();
  const std::size_t end_html = end_fragment + kHtmlAfter.size();
  return header(start_html, end_html, start_fragment, end_fragment) +
         HtmlDocument(fragment);
}

}  // namespace zorvik::win32
