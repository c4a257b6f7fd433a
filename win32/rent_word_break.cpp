#include "win32/rent_word_break.h"

#include <optional>
#include <string_view>

#include "window/rent_span.h"

namespace zorvik::win32 {
namespace {

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

// The edit control hands over the text of the line it works in; `current`
// is a position in it, between two characters.
int CALLBACK RentWordBreak(LPWSTR text, int current, int length, int code) {
  const std::u16string_view line(reinterpret_cast<const char16_t*>(text),
                                 static_cast<std::size_t>(length));
  if (code == WB_ISDELIMITER) {
    return current >= 0 && current < length && IsBlank(text[current]);
  }
  if (code != WB_LEFT && code != WB_RIGHT) return current;
  // The character on either side of the position may be the rent's.
  const auto at = static_cast<std::size_t>(current);
  std::optional<TextSpan> rent = RentAt(line, at);
  if (!rent && current > 0) rent = RentAt(line, at - 1);
  if (rent) {
    return static_cast<int>(code == WB_LEFT ? rent->begin : rent->end);
  }
  int position = current;
  if (code == WB_LEFT) {
    while (position > 0 && IsBlank(text[position - 1])) --position;
    while (position > 0 && !IsBlank(text[position - 1])) --position;
  } else {
    while (position < length && !IsBlank(text[position])) ++position;
    while (position < length && IsBlank(text[position])) ++position;
  }
  return position;
}

}  // namespace

void SelectRentsWhole(HWND output_box) {
  SendMessageW(output_box, EM_SETWORDBREAKPROC, 0,
               reinterpret_cast<LPARAM>(&RentWordBreak));
}

}  // namespace zorvik::win32
