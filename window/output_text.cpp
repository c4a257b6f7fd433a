#include "window/output_text.h"

namespace zorvik {

std::string DisplayForm(std::string_view text, std::string_view line_break) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    // Copy up to the next break character in one go: most of the text is
    // neither.
    const std::size_t next = text.find_first_of("\r\n", i);
    const std::size_t end = next == std::string_view::npos ? text.size() : next;
    shown.append(text, i, end - i);
    if (end == text.size()) break;
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      shown += line_break;
      i = end + 2;
    } else {
      i = end + 1;
    }
  }
  return shown;
}

}  // namespace zorvik
