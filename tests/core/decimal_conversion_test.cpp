#include "core/decimal_conversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>
#include <version>

#include "tests/core/test_support.h"

namespace zorvik::decimal {
namespace {

// Both ways of converting: the one this build uses and the C library's, which
// is the whole story where the standard library lacks floating-point
// <charconv>.
struct Way {
  const char* name;
  double (*to_double)(std::string, int);
  int (*to_digits)(double, int, char*);
};
constexpr Way kWays[] = {
    {"chosen", &ToDouble, &ToDigits},
    {"c_library", &c_library::ToDouble, &c_library::ToDigits},
    {"integer", &ToDouble, &integer::ToDigits},
};

// Locales whose decimal separator is not the full stop: a comma, and a
// two-byte Arabic decimal separator (U+066B).
constexpr const char* kLocales[] = {"C", "de_DE.UTF-8", "ps_AF.UTF-8"};

constexpr double kInfinity = std::numeric_limits<double>::infinity();

struct ToDoubleCase {
  const char* digits;
  int exponent;
  double expected;
};
const ToDoubleCase kToDoubleCases[] = {
    {"11025", -1, 1102.5},
    {"1", 0, 1.0},
    {"5", -1, 0.5},
    // 2^53 + 1 lies halfway between two doubles: the even one wins.
    {"9007199254740993", 0, 9007199254740992.0},
    // Just below the halfway point of 2^53 + 1, by 1E-20.
    {"900719925474099299999999999999999999", -20, 9007199254740992.0},
    {"17976931348623157", 292, std::numeric_limits<double>::max()},
    // Past half an ulp above the largest double: too large.
    {"17976931348623159", 292, kInfinity},
    {"1", 400, kInfinity},
    // The smallest subnormal, 2^-1074 = 4.94065645841246544...E-324.
    {"494065645841246544", -341, std::numeric_limits<double>::denorm_min()},
    // Under half the smallest subnormal: zero.
    {"2", -324, 0.0},
};

// Runs `check(way, locale)` for both ways in each locale this machine has.
template <typename Check>
void InEveryLocale(Check check) {
  for (const char* locale : kLocales) {
    ScopedCLocale scoped(locale);
    if (std::string(locale) != "C" && !scoped.active()) continue;
    for (const Way& way : kWays) check(way, locale);
  }
}

TEST(DecimalConversionTest, ToDoubleRoundsToNearestEvenInEveryLocale) {
  InEveryLocale([](const Way& way, const char* locale) {
    for (const ToDoubleCase& c : kToDoubleCases) {
      EXPECT_EQ(BitsOf(way.to_double(c.digits, c.exponent)), BitsOf(c.expected))
          << way.name << " " << locale << " " << c.digits << "e" << c.exponent;
    }
  });
}

struct ToDigitsCase {
  double magnitude;
  int count;
  const char* digits;
  int exponent;
};
const ToDigitsCase kToDigitsCases[] = {
    {1477.4554437890622, 15, "147745544378906", 3},
    {1276.2815624999998, 15, "127628156250000", 3},
    {0.5, 1, "5", -1},
    {1e15, 15, "100000000000000", 15},
    // Exact ties at the last digit go to the even digit.
    {0.125, 2, "12", -1},
    {0.375, 2, "38", -1},
    {9.5, 1, "1", 1},
    {std::numeric_limits<double>::max(), 17, "17976931348623157", 308},
    {std::numeric_limits<double>::denorm_min(), 15, "494065645841247", -324},
};

TEST(DecimalConversionTest, ToDigitsRoundsTheExactValueInEveryLocale) {
  InEveryLocale([](const Way& way, const char* locale) {
    for (const ToDigitsCase& c : kToDigitsCases) {
      char digits[17] = {};
      const int exponent = way.to_digits(c.magnitude, c.count, digits);
      EXPECT_EQ(std::string(digits, c.count), c.digits)
          << way.name << " " << locale << " " << c.magnitude;
      EXPECT_EQ(exponent, c.exponent)
          << way.name << " " << locale << " " << c.magnitude;
    }
  });
}

// Where both exist, the C library's way must agree with <charconv> on every
// double, under a locale with a two-byte separator.
TEST(DecimalConversionTest, CLibraryAgreesWithCharconv) {
#if !defined(__cpp_lib_to_chars)
  GTEST_SKIP() << "this standard library has no floating-point <charconv>";
#else
  ScopedCLocale pashto("ps_AF.UTF-8");
  std::mt19937_64 rng(1208);
  for (int i = 0; i < 50000; ++i) {
    const double value = std::fabs(DoubleFromBits(rng()));
    if (!std::isfinite(value) || value == 0) continue;
    for (const int count : {15, 17}) {
      char expected[17] = {};
      char actual[17] = {};
      const int expected_exponent = ToDigits(value, count, expected);
      ASSERT_EQ(c_library::ToDigits(value, count, actual), expected_exponent)
          << BitsOf(value);
      ASSERT_EQ(std::string(actual, count), std::string(expected, count))
          << BitsOf(value);
      // The 17 digits name the double exactly; 15 digits name a neighbour
      // that both must find alike.
      const std::string digits(expected, count);
      ASSERT_EQ(
          BitsOf(c_library::ToDouble(digits, expected_exponent - count + 1)),
          BitsOf(ToDouble(digits, expected_exponent - count + 1)))
          << digits;
    }
  }
#endif
}

// The integer way against the C library's, in every build: random doubles of
// the whole range, and short binary fractions, whose digits often end in an
// exact tie (0.125 to two digits), at every digit count.
TEST(DecimalConversionTest, IntegerWayAgreesWithTheCLibrary) {
  std::mt19937_64 rng(2411);
  std::vector<double> values;
  for (int i = 0; i < 20000; ++i) {
    const double value = std::fabs(DoubleFromBits(rng()));
    if (std::isfinite(value) && value != 0) values.push_back(value);
  }
  for (int i = 0; i < 20000; ++i) {
    const auto odd = static_cast<double>((rng() % (1 << 20)) | 1);
    values.push_back(std::ldexp(odd, static_cast<int>(rng() % 121) - 80));
  }
  for (const double value : values) {
    for (int count = 1; count <= 17; ++count) {
      char expected[17] = {};
      char actual[17] = {};
      const int expected_exponent = c_library::ToDigits(value, count, expected);
      ASSERT_EQ(integer::ToDigits(value, count, actual), expected_exponent)
          << BitsOf(value) << " to " << count;
      ASSERT_EQ(std::string(actual, count), std::string(expected, count))
          << BitsOf(value) << " to " << count;
    }
  }
}

}  // namespace
}  // namespace zorvik::decimal
