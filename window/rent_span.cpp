#include "window/rent_span.h"

namespace zorvik {
namespace {

// The end of an entry's caption, after its year; the rent follows it and runs
// to the end of the line.
constexpr std::u16string_view kBeforeRent = u" 年租金：  ";

bool IsRentCharacter(char16_t c) {
  return (c >= u'0' && c <= u'9') || c == u'.' || c == u'E' || c == u'+' ||
         c == u'-';
}

}  // namespace

std::optional<TextSpan> RentAt(std::u16string_view line, std::size_t at) {
  const std::size_t caption_end = line.find(kBeforeRent);
  if (caption_end == std::u16string_view::npos) return std::nullopt;
  const std::size_t begin = caption_end + kBeforeRent.size();
  std::size_t end = begin;
  while (end < line.size() && IsRentCharacter(line[end])) ++end;
  if (end == begin || at < begin || at >= end) return std::nullopt;
  return TextSpan{begin, end};
}

}  // namespace zorvik
