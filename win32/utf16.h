#ifndef ZORVIK_WIN32_UTF16_H_
#define ZORVIK_WIN32_UTF16_H_

#include <windows.h>

#include <string>
#include <string_view>

namespace zorvik::win32 {

// The core and the layout data speak UTF-8; Windows speaks UTF-16. Text
// crosses at the edge of the host only. Ill-formed input (a lone surrogate
// typed or pasted into a box) becomes U+FFFD, which no number contains, so
// such a text is still rejected as a whole.
std::wstring ToUtf16(std::string_view utf8);
std::string ToUtf8(std::wstring_view utf16);

// The whole text of a window or control, of any length.
std::wstring WindowText(HWND window);

}  // namespace zorvik::win32

#endif  // ZORVIK_WIN32_UTF16_H_
