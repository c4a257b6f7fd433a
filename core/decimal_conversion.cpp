#include "core/decimal_conversion.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <system_error>
#include <utility>
#include <version>

namespace zorvik::decimal {
namespace {

// "digits" becomes "digitse<exponent>": plain ASCII that every parser reads
// alike, with no decimal separator for a locale to reinterpret.
void AppendExponent(std::string& digits, int exponent) {
  std::array<char, 16> text{};
  const auto end =
      std::to_chars(text.data(), text.data() + text.size(), exponent).ptr;
  digits.push_back('e');
  digits.append(text.data(), end);
}

// The exponent after the 'e' of printf's or to_chars' scientific form.
int ReadExponent(const char* begin, const char* end) {
  if (begin != end && *begin == '+') ++begin;
  int exponent = 0;
  std::from_chars(begin, end, exponent);
  return exponent;
}

// Room for "d.dddddddddddddddde-308" with a separator of up to four bytes.
constexpr int kScientificBuffer = 48;

}  // namespace

namespace c_library {

double ToDouble(std::string digits, int exponent) {
  assert(!digits.empty());
  AppendExponent(digits, exponent);
  char* end = nullptr;
  // Out of range, strtod gives HUGE_VAL (infinity) or the nearest small
  // value, as wanted; errno adds nothing.
  const double value = std::strtod(digits.c_str(), &end);
  assert(end == digits.c_str() + digits.size());
  return value;
}

int ToDigits(double magnitude, int count, char* out) {
  assert(magnitude > 0 && count >= 1 && count <= 17);
  std::array<char, kScientificBuffer> text{};
  const int length =
      std::snprintf(text.data(), text.size(), "%.*e", count - 1, magnitude);
  assert(length > 0 && length < kScientificBuffer);
  // The separator after the first digit is the locale's and may be any
  // character, or several bytes; the digits are ASCII in every locale.
  const char* end = text.data() + length;
  const char* at = text.data();
  int written = 0;
  for (; at != end && *at != 'e'; ++at) {
    if (*at >= '0' && *at <= '9') out[written++] = *at;
  }
  assert(written == count && at != end);
  return ReadExponent(at + 1, end);
}

}  // namespace c_library

#if defined(__cpp_lib_to_chars)

double ToDouble(std::string digits, int exponent) {
  assert(!digits.empty());
  // The value lies in [10^(order - 1), 10^order).
  const std::int64_t order =
      static_cast<std::int64_t>(digits.size()) + exponent;
  AppendExponent(digits, exponent);
  double value = 0;
  const auto [end, ec] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Too large, or too small to be anything but zero.
    return order > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  assert(ec == std::errc() && end == digits.data() + digits.size());
  return value;
}

int ToDigits(double magnitude, int count, char* out) {
  assert(magnitude > 0 && count >= 1 && count <= 17);
  std::array<char, kScientificBuffer> text{};
  const auto end =
      std::to_chars(text.data(), text.data() + text.size(), magnitude,
                    std::chars_format::scientific, count - 1)
          .ptr;
  // "d.ddde+XX", or "de+XX" for a single digit.
  out[0] = text[0];
  const char* after_digits = text.data() + 1;
  if (count > 1) {
    std::copy(text.data() + 2, text.data() + 1 + count, out + 1);
    after_digits = text.data() + 1 + count;
  }
  return ReadExponent(after_digits + 1, end);
}

#else  // The standard library has no floating-point <charconv>.

double ToDouble(std::string digits, int exponent) {
  return c_library::ToDouble(std::move(digits), exponent);
}

int ToDigits(double magnitude, int count, char* out) {
  return integer::ToDigits(magnitude, count, out);
}

#endif

}  // namespace zorvik::decimal
