#ifndef ZORVIK_WIN32_SCHEDULE_COPY_H_
#define ZORVIK_WIN32_SCHEDULE_COPY_H_

#include <windows.h>

#include <string>
#include <string_view>

namespace zorvik::win32 {

// Makes a copy from the output box (an edit control) that holds a whole
// schedule entry put the entries on the clipboard as a table too (see
// ScheduleTable): the selected text as CF_UNICODETEXT, exactly as the edit
// control copies it, and the table as "HTML Format". Ctrl+C and the box's
// context menu copy through WM_COPY, which is where the box is subclassed,
// and so does Ctrl+Insert here. A copy without a whole entry stays the
// control's own.
// Returns false when the control cannot be subclassed.
bool CopySchedulesAsTables(HWND output_box);

// Windows' "HTML Format" for `fragment`: a header giving the byte offsets
// (from the start of the data, in UTF-8) of the HTML document and of the
// fragment within it, then the document, HtmlDocument(fragment).
std::string HtmlClipboardFormat(std::string_view fragment);

}  // namespace zorvik::win32

#endif  // ZORVIK_WIN32_SCHEDULE_COPY_H_
