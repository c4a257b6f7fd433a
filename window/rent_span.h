#ifndef ZORVIK_WINDOW_RENT_SPAN_H_
#define ZORVIK_WINDOW_RENT_SPAN_H_

// What a double-click in the output box selects: a rent whole, as people
// copy it, sign, digits, point and exponent together (a platform's word
// breaks split 1157.625 at its point and 1.5E+20 at its sign). Elsewhere in
// a line, in its caption, a double-click selects as the platform does.

#include <cstddef>
#include <optional>
#include <string_view>

namespace zorvik {

struct TextSpan {
  std::size_t begin;
  std::size_t end;
};

// The rent of `line`, one line of the output box as shown ("第 4 年租金：
// 1157.625"), as [begin, end) in UTF-16 code units, when the character at
// `at` is part of it; nothing for a character of the caption, or for a line
// that is no schedule entry.
//   RentAt(u"第 4 年租金：  1157.625", 15) == TextSpan{10, 18}
//   RentAt(u"第 4 年租金：  1157.625", 2) == std::nullopt
std::optional<TextSpan> RentAt(std::u16string_view line, std::size_t at);

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_RENT_SPAN_H_
