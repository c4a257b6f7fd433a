#include "core/numeric_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <utility>

#include "core/decimal_conversion.h"

namespace zorvik {
namespace {

// The grammar's own letters for the currency marks, the units and the blanks
// that differ in where they may stand, so that the grammar below only ever
// sees ASCII.
constexpr char kYenSign = 'Y';      // U+00A5, or the full-width U+FFE5
constexpr char kYuanSign = 'U';     // U+5143, written after the number
constexpr char kWanSign = 'W';      // U+4E07, ten thousand
constexpr char kYiSign = 'I';       // U+4EBF, a hundred million
constexpr char kPercentSign = '%';  // also the full-width U+FF05
// Space and U+3000 stand around the number and between it and its marks;
// tab, CR and LF only around it (two pasted cells are not one number); the
// no-break space only between the number and its marks, where currency
// formats put it.
constexpr char kBlank = ' ';
constexpr char kLineBlank = '\n';
constexpr char kNoBreakSpace = '_';

// Maps the UTF-8 text onto the small ASCII alphabet of the grammar: digits,
// signs, full stop, comma, exponent letters, the currency marks, the units
// and the three kinds of blank. Full-width forms and the minus sign U+2212
// are folded onto ASCII here. Returns false for
// any character outside that alphabet; because the accepted multi-byte
// sequences are matched byte for byte, malformed UTF-8 and lone surrogates are
// rejected too.
bool FoldToAscii(std::string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= '0' && byte <= '9') {  // by far the most common
      out.push_back(static_cast<char>(byte));
      continue;
    }
    if (byte < 0x80) {
      switch (byte) {
        case ' ':
          out.push_back(kBlank);
          continue;
        case '\t':
        case '\r':
        case '\n':
          out.push_back(kLineBlank);
          continue;
        case '%':
        case '+':
        case '-':
        case '.':
        case ',':
        case 'E':
        case 'e':
          out.push_back(static_cast<char>(byte));
          continue;
        default:
          return false;
      }
    }
    if (byte == 0xC2) {  // two-byte sequences: U+00A5 and U+00A0
      const auto b1 =
          i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
      if (b1 != 0xA5 && b1 != 0xA0) return false;
      out.push_back(b1 == 0xA5 ? kYenSign : kNoBreakSpace);
      ++i;
      continue;
    }
    if (text.size() - i < 3) return false;
    const auto b1 = static_cast<unsigned char>(text[i + 1]);
    const auto b2 = static_cast<unsigned char>(text[i + 2]);
    char folded = 0;
    if (byte == 0xE3 && b1 == 0x80) {
      if (b2 == 0x80) folded = kBlank;  // U+3000 ideographic space
      if (b2 == 0x82) folded = '.';     // U+3002 ideographic full stop
    } else if (byte == 0xEF && b1 == 0xBC) {
      if (b2 >= 0x90 && b2 <= 0x99) {
        folded = static_cast<char>('0' + (b2 - 0x90));  // U+FF10..U+FF19
      } else if (b2 == 0x8B) {
        folded = '+';  // U+FF0B
      } else if (b2 == 0x8C) {
        folded = ',';  // U+FF0C
      } else if (b2 == 0x8D) {
        folded = '-';  // U+FF0D
      } else if (b2 == 0x8E) {
        folded = '.';  // U+FF0E
      } else if (b2 == 0xA5) {
        folded = 'E';  // U+FF25
      } else if (b2 == 0x85) {
        folded = kPercentSign;  // U+FF05
      }
    } else if (byte == 0xEF && b1 == 0xBD && b2 == 0x85) {
      folded = 'e';  // U+FF45
    } else if (byte == 0xEF && b1 == 0xBF && b2 == 0xA5) {
      folded = kYenSign;  // U+FFE5 full-width yen sign
    } else if (byte == 0xE5 && b1 == 0x85 && b2 == 0x83) {
      folded = kYuanSign;  // U+5143
    } else if (byte == 0xE4 && b1 == 0xB8 && b2 == 0x87) {
      folded = kWanSign;  // U+4E07
    } else if (byte == 0xE4 && b1 == 0xBA && b2 == 0xBF) {
      folded = kYiSign;  // U+4EBF
    } else if (byte == 0xE2 && b1 == 0x88 && b2 == 0x92) {
      folded = '-';  // U+2212 minus sign, as word processors write it
    }
    if (folded == 0) return false;
    out.push_back(folded);
    i += 2;
  }
  return true;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view s, std::size_t pos) {
  while (pos < s.size() && IsDigit(s[pos])) ++pos;
  return pos;
}

// Beyond this many exponent digits' worth of magnitude the value is certainly
// zero or certainly too large, so the exponent saturates here.
constexpr std::int64_t kExponentCap = 1'000'000'000;

// Where value = 0.D x 10^K with D starting at the first non-zero digit:
// K above this is at least 1E+309 (too large); below the other bound it is
// under half the smallest subnormal (zero). Between them the conversion
// decides.
constexpr std::int64_t kSurelyOverflows = 310;
constexpr std::int64_t kSurelyZero = -330;

bool IsInnerBlank(char c) { return c == kBlank || c == kNoBreakSpace; }

double ParseAsciiNumber(std::string_view s, PercentSign percent_sign) {
  const auto outer_blank = [](char c) {
    return c == kBlank || c == kLineBlank;
  };
  while (!s.empty() && outer_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && outer_blank(s.back())) s.remove_suffix(1);
  if (s.empty()) throw RuntimeError(kErrorTypeMismatch);

  // The marks after the number are read from the end, each with the blanks
  // before it: a % alone, or 元 and before it 万 or 亿. A unit moves the
  // decimal point, so 1.2万 is exactly 12000. ¥ stands before the digits or
  // before the sign, blanks after it.
  const auto drop_last = [&s] {
    s.remove_suffix(1);
    while (!s.empty() && IsInnerBlank(s.back())) s.remove_suffix(1);
  };
  const bool percent = s.back() == kPercentSign;
  bool yuan = false;
  std::int64_t unit_exponent = 0;
  if (percent) {
    if (percent_sign != PercentSign::kAccepted) {
      throw RuntimeError(kErrorTypeMismatch);
    }
    drop_last();
  } else {
    yuan = s.back() == kYuanSign;
    if (yuan) drop_last();
    if (!s.empty() && (s.back() == kWanSign || s.back() == kYiSign)) {
      unit_exponent = s.back() == kWanSign ? 4 : 8;
      drop_last();
    }
  }

  std::size_t pos = 0;
  bool negative = false;
  bool signed_already = false;
  const auto read_sign = [&] {
    if (!signed_already && pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
      negative = s[pos] == '-';
      signed_already = true;
      ++pos;
    }
  };
  read_sign();
  if (pos < s.size() && s[pos] == kYenSign) {
    if (yuan || percent) throw RuntimeError(kErrorTypeMismatch);
    ++pos;
    while (pos < s.size() && IsInnerBlank(s[pos])) ++pos;
    read_sign();
  }

  // The integer part, possibly grouped: 1 to 3 digits, then groups of ","
  // and exactly three digits. The view keeps the commas; the normalisation
  // below passes over them.
  const std::size_t int_begin = pos;
  pos = SkipDigits(s, pos);
  std::size_t group_commas = 0;
  if (pos < s.size() && s[pos] == ',') {
    if (pos - int_begin > 3 || pos == int_begin) {
      throw RuntimeError(kErrorTypeMismatch);
    }
    while (pos < s.size() && s[pos] == ',') {
      const std::size_t group_end = SkipDigits(s, pos + 1);
      if (group_end - (pos + 1) != 3) throw RuntimeError(kErrorTypeMismatch);
      pos = group_end;
      ++group_commas;
    }
  }
  const std::string_view int_digits = s.substr(int_begin, pos - int_begin);
  std::string_view frac_digits;
  if (pos < s.size() && s[pos] == '.') {
    const std::size_t frac_begin = ++pos;
    pos = SkipDigits(s, pos);
    frac_digits = s.substr(frac_begin, pos - frac_begin);
  }
  if (int_digits.empty() && frac_digits.empty()) {
    throw RuntimeError(kErrorTypeMismatch);
  }
  std::int64_t exponent = 0;
  if (pos < s.size() && (s[pos] == 'E' || s[pos] == 'e')) {
    ++pos;
    bool exponent_negative = false;
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
      exponent_negative = s[pos] == '-';
      ++pos;
    }
    const std::size_t exp_begin = pos;
    for (; pos < s.size() && IsDigit(s[pos]); ++pos) {
      exponent = std::min(exponent * 10 + (s[pos] - '0'), kExponentCap);
    }
    if (pos == exp_begin) throw RuntimeError(kErrorTypeMismatch);
    if (exponent_negative) exponent = -exponent;
  }
  if (pos != s.size()) throw RuntimeError(kErrorTypeMismatch);

  // Normalise to 0.D x 10^K with D free of leading and trailing zeros. This
  // keeps the exponent of the conversion small whatever the text's length or
  // exponent, and tells overflow (error 6) from underflow (a number that is
  // simply zero).
  const double zero = negative ? -0.0 : 0.0;
  std::int64_t leading_zeros = 0;
  std::string digits;
  digits.reserve(int_digits.size() + frac_digits.size() + 16);
  for (std::string_view part : {int_digits, frac_digits}) {
    for (char c : part) {
      if (c == ',') continue;
      if (digits.empty() && c == '0') {
        ++leading_zeros;
      } else {
        digits.push_back(c);
      }
    }
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.empty()) return zero;

  const std::int64_t k =
      static_cast<std::int64_t>(int_digits.size() - group_commas) -
      leading_zeros + exponent + unit_exponent;
  if (k > kSurelyOverflows) throw RuntimeError(kErrorOverflow);
  if (k < kSurelyZero) return zero;
  // 0.D x 10^K is D x 10^(K - length of D).
  const auto scale =
      static_cast<int>(k - static_cast<std::int64_t>(digits.size()));
  const double magnitude = decimal::ToDouble(std::move(digits), scale);
  if (std::isinf(magnitude)) throw RuntimeError(kErrorOverflow);
  return negative ? -magnitude : magnitude;
}

// Halfway cases go to the even neighbour, independent of the floating-point
// environment's rounding mode.
double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double diff = value - floor;  // exact for doubles of this size
  if (diff < 0.5) return floor;
  if (diff > 0.5) return floor + 1.0;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

constexpr int kSignificantDigits = 15;
constexpr int kSmallestFixedExponent = -4;

// A number's text as it is written, with room for the longest of a finite
// double: "-1.23456789012345E-308".
class TextBuffer {
 public:
  void Push(char c) { text_[size_++] = c; }
  void Append(const char* chars, int count) {
    std::copy_n(chars, count, text_.data() + size_);
    size_ += static_cast<std::size_t>(count);
  }
  void Repeat(char c, int count) {
    std::fill_n(text_.data() + size_, count, c);
    size_ += static_cast<std::size_t>(count);
  }
  void AppendInteger(int value) {
    char* const end = text_.data() + text_.size();
    size_ = static_cast<std::size_t>(
        std::to_chars(text_.data() + size_, end, value).ptr - text_.data());
  }
  std::string_view View() const { return {text_.data(), size_}; }

 private:
  std::array<char, 22> text_{};
  std::size_t size_ = 0;
};

}  // namespace

double ParseDouble(std::string_view text, PercentSign percent_sign) {
  std::string ascii;
  if (!FoldToAscii(text, ascii)) throw RuntimeError(kErrorTypeMismatch);
  return ParseAsciiNumber(ascii, percent_sign);
}

std::int16_t ParseInteger(std::string_view text, PercentSign percent_sign) {
  const double rounded = RoundHalfEven(ParseDouble(text, percent_sign));
  if (rounded < std::numeric_limits<std::int16_t>::min() ||
      rounded > std::numeric_limits<std::int16_t>::max()) {
    throw RuntimeError(kErrorOverflow);
  }
  return static_cast<std::int16_t>(rounded);
}

void AppendDouble(std::string& out, double value) {
  AppendDoubleWith(out, value, &decimal::ToDigits);
}

void AppendDoubleWith(std::string& out, double value,
                      int (*to_digits)(double magnitude, int count,
                                       char* out)) {
  if (!std::isfinite(value)) {
    out += std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf");
    return;
  }
  if (value == 0.0) {
    out.push_back('0');
    return;
  }
  // Rounded from the exact binary value, ties to even, whatever the locale.
  std::array<char, kSignificantDigits> digits{};
  const int exponent =
      to_digits(std::fabs(value), kSignificantDigits, digits.data());
  int digit_count = kSignificantDigits;
  while (digit_count > 1 && digits[digit_count - 1] == '0') --digit_count;

  // Written with plain stores and added to `out` in one append: a schedule
  // formats tens of thousands of numbers.
  TextBuffer text;
  if (value < 0) text.Push('-');
  if (exponent >= kSignificantDigits || exponent < kSmallestFixedExponent) {
    text.Push(digits[0]);
    if (digit_count > 1) {
      text.Push('.');
      text.Append(digits.data() + 1, digit_count - 1);
    }
    text.Push('E');
    text.Push(exponent < 0 ? '-' : '+');
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) text.Push('0');
    text.AppendInteger(magnitude);
  } else if (exponent >= 0) {
    const int int_count = exponent + 1;
    if (digit_count <= int_count) {
      text.Append(digits.data(), digit_count);
      text.Repeat('0', int_count - digit_count);
    } else {
      text.Append(digits.data(), int_count);
      text.Push('.');
      text.Append(digits.data() + int_count, digit_count - int_count);
    }
  } else {
    text.Append("0.", 2);
    text.Repeat('0', -exponent - 1);
    text.Append(digits.data(), digit_count);
  }
  out += text.View();
}

std::string FormatDouble(double value) {
  std::string out;
  AppendDouble(out, value);
  return out;
}

void AppendInteger(std::string& out, std::int16_t value) {
  std::array<char, 8> buffer{};
  const auto end =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
  out.append(buffer.data(), end);
}

std::string FormatInteger(std::int16_t value) {
  std::string out;
  AppendInteger(out, value);
  return out;
}

}  // namespace zorvik
