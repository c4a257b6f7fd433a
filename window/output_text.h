#ifndef ZORVIK_WINDOW_OUTPUT_TEXT_H_
#define ZORVIK_WINDOW_OUTPUT_TEXT_H_

#include <string>
#include <string_view>

namespace zorvik {

// What the output box shows of the text the program wrote into it: it breaks
// lines at each CR LF pair and nowhere else, so a lone CR or a lone LF breaks
// nothing and shows nothing. Each break becomes `line_break`, the host's own
// ("\n" for Qt, "\r\n" for a Win32 edit control, which may otherwise treat a
// lone LF as a break too).
//   DisplayForm("a\n\r\n\r\nb", "\n") == "a\n\nb"
std::string DisplayForm(std::string_view text, std::string_view line_break);

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_OUTPUT_TEXT_H_
