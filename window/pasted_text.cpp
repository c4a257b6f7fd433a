#include "window/pasted_text.h"

namespace zorvik {
namespace {

template <typename Char>
std::basic_string_view<Char> WithoutTrailingBreaks(
    std::basic_string_view<Char> text) {
  while (!text.empty() &&
         (text.back() == Char{'\n'} || text.back() == Char{'\r'})) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

std::string_view PastedText(std::string_view text) {
  return WithoutTrailingBreaks(text);
}

std::u16string_view PastedText(std::u16string_view text) {
  return WithoutTrailingBreaks(text);
}

}  // namespace zorvik
