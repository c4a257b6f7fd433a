#ifndef ZORVIK_WINDOW_PASTED_TEXT_H_
#define ZORVIK_WINDOW_PASTED_TEXT_H_

#include <string_view>

namespace zorvik {

// What a paste or a drop puts into an input box of the text it carries: the
// text without the line breaks that end it. A spreadsheet copies one cell as
// its text and a line break (LF, or CR LF from Windows programs); the cell is
// what the user means, and a one-line box would show the break as a stray
// mark after the number. Breaks inside the text stay: two cells are two
// numbers, never read as one. UTF-8 or UTF-16 alike.
//   PastedText("1000\r\n") == "1000"
//   PastedText("1000\n2000\n") == "1000\n2000"
//   PastedText("\n") == ""
std::string_view PastedText(std::string_view text);
std::u16string_view PastedText(std::u16string_view text);

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_PASTED_TEXT_H_
