#include "core/numeric_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "tests/core/test_support.h"

namespace zorvik {
namespace {

using std::string_literals::operator""s;

int ErrorOf(auto&& call) {
  try {
    call();
  } catch (const RuntimeError& error) {
    return error.number();
  }
  return 0;
}

int ParseDoubleError(std::string_view text) {
  return ErrorOf([&] { ParseDouble(text); });
}

int ParseIntegerError(std::string_view text) {
  return ErrorOf([&] { ParseInteger(text); });
}

struct ParseCase {
  std::string text;
  double expected;
};

TEST(ParseDoubleTest, AcceptsTheGrammar) {
  const ParseCase cases[] = {
      {"0", 0.0},
      {"1000", 1000.0},
      {"  1000  ", 1000.0},
      {"\t1000\t", 1000.0},
      {"1000.00", 1000.0},
      {"5.", 5.0},
      {".5", 0.5},
      {"-.5", -0.5},
      {"+5", 5.0},
      {"-5", -5.0},
      {"1.5E3", 1500.0},
      {"1.5e3", 1500.0},
      {"1e+3", 1000.0},
      {"25e-1", 2.5},
      {"5.E2", 500.0},
      {"007", 7.0},
      {"0.1", 0.1},
      {"1102.5", 1102.5},
      {"1E-0000000000000000000001", 0.1},
      // The largest double, and the largest text still rounding to it: the
      // overflow threshold is DBL_MAX + half an ulp = 2^1024 - 2^970
      // = 1.797693134862315807937...E+308.
      {"1.7976931348623157e308", std::numeric_limits<double>::max()},
      {"1.7976931348623158e308", std::numeric_limits<double>::max()},
      {"4.9406564584124654E-324", std::numeric_limits<double>::denorm_min()},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ParseDouble(text), expected) << text;
  }
}

TEST(ParseDoubleTest, ReadsFullWidthForms) {
  const ParseCase cases[] = {
      {"１０００．５", 1000.5}, {"－５", -5.0},    {"＋５", 5.0},
      {"１Ｅ３", 1000.0},       {"１ｅ－１", 0.1}, {"\u3000５\u3000", 5.0},
      {"1０.５", 10.5},  // mixed widths, as an input method may leave them
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ParseDouble(text), expected) << text;
  }
}

TEST(ParseDoubleTest, RejectsWhatIsNotANumber) {
  const std::string cases[] = {
      "",
      "   ",
      "\u3000",
      "-",
      "+",
      ".",
      "-.",
      "e5",
      "1e",
      "1E+",
      "1e-",
      "inf",
      "-inf",
      "nan",
      "Infinity",
      "0x10",
      "1 000",
      "- 5",
      "--5",
      "+-5",
      "5-",
      "(5)",
      "5a",
      "a5",
      "1..2",
      "1.2.3",
      "1e5.5",
      "1e5e5",
      "1d3",
      "1D3",
      "1_000",
      "1\0"s,
      "\0"s,
      "1\0002"s,
      "\xEF\xBC",      // truncated full-width sequence
      "\xEF\xBC\x9A",  // full-width colon
      "\xED\xA0\x80",  // encoded lone surrogate
      "\xC0\xB0",      // overlong '0'
      "\u200F5",       // right-to-left mark
      "\u200B5",       // zero-width space
      "\u00A05",       // no-break space is not one of the blanks
      "\xD9\xA3",      // Arabic-Indic digit three
      "\xE2\x91\xA0",  // circled digit one
      "\xFF",
  };
  for (const auto& text : cases) {
    EXPECT_EQ(ParseDoubleError(text), kErrorTypeMismatch) << text;
  }
}

// "1,000,000,...": 1 followed by `groups` groups of ",000".
std::string ThousandToThe(int groups) {
  std::string text = "1";
  for (int i = 0; i < groups; ++i) text += ",000";
  return text;
}

// How contracts, spreadsheets, offices and Chinese input methods write
// amounts: grouping, the yen and yuan signs, 万 and 亿, a percent sign, the
// ideographic full stop and line breaks around a pasted cell. Each text is
// paired with its value, or with the error it raises (0 means it is a
// number), read with the percent sign refused unless the row accepts it.
TEST(ParseDoubleTest, ReadsPastedSpellings) {
  constexpr auto kPercent = PercentSign::kAccepted;
  const struct {
    std::string text;
    double expected;
    int error;
    PercentSign percent_sign = PercentSign::kRefused;
  } cases[] = {
      // Grouping, only in the integer part and only well formed.
      {"1,000", 1000.0, 0},
      {"12,345,678.5", 12345678.5, 0},
      {"１２，０００", 12000.0, 0},
      {"1,000E3", 1e6, 0},
      {"-1,000.", -1000.0, 0},
      {"0,001", 1.0, 0},
      {"1,00", 0, kErrorTypeMismatch},
      {"1,0000", 0, kErrorTypeMismatch},
      {"1234,567", 0, kErrorTypeMismatch},
      {",100", 0, kErrorTypeMismatch},
      {"100,", 0, kErrorTypeMismatch},
      {"1,,000", 0, kErrorTypeMismatch},
      {"1.000,5", 0, kErrorTypeMismatch},
      {"1,000.5,000", 0, kErrorTypeMismatch},
      {"1,5", 0, kErrorTypeMismatch},  // never 15
      {"1E1,000", 0, kErrorTypeMismatch},
      {"-,5", 0, kErrorTypeMismatch},
      // The yen sign, directly before the digits or before the sign.
      {"¥12,000.00", 12000.0, 0},
      {"￥12,000.00", 12000.0, 0},
      {"¥-5", -5.0, 0},
      {"-¥5", -5.0, 0},
      {"+¥1", 1.0, 0},
      {"¥.5", 0.5, 0},
      {" ¥1E3 ", 1000.0, 0},
      {"-¥-5", 0, kErrorTypeMismatch},
      {"¥ 5", 5.0, 0},
      {"¥ 12,000.00", 12000.0, 0},
      {"￥\u3000-5", -5.0, 0},
      {"-¥\u00A05", -5.0, 0},
      {"- ¥5", 0, kErrorTypeMismatch},
      {"¥ ", 0, kErrorTypeMismatch},
      {"¥\n5", 0, kErrorTypeMismatch},
      {"5¥", 0, kErrorTypeMismatch},
      {"¥¥5", 0, kErrorTypeMismatch},
      {"¥", 0, kErrorTypeMismatch},
      {"-¥", 0, kErrorTypeMismatch},
      {"$5", 0, kErrorTypeMismatch},
      {"\xC2", 0, kErrorTypeMismatch},  // truncated yen sign
      {"\xC2\xA6"
       "5",
       0, kErrorTypeMismatch},  // broken bar
      // The yuan character, directly after the number.
      {"1000元", 1000.0, 0},
      {"12,000元", 12000.0, 0},
      {"-5元", -5.0, 0},
      {"1000元 ", 1000.0, 0},
      {"1000 元", 1000.0, 0},
      {"12,000.00 元", 12000.0, 0},
      {"1000\u00A0元", 1000.0, 0},
      {"1000\u3000\u3000元", 1000.0, 0},
      {"1000\t元", 0, kErrorTypeMismatch},
      {"1000\n元", 0, kErrorTypeMismatch},
      {"1000元\u00A0", 0, kErrorTypeMismatch},
      {"12 000", 0, kErrorTypeMismatch},
      {"3500元/月", 0, kErrorTypeMismatch},
      {"元1000", 0, kErrorTypeMismatch},
      {"1000元元", 0, kErrorTypeMismatch},
      {"¥1000元", 0, kErrorTypeMismatch},
      {"元", 0, kErrorTypeMismatch},
      // 万 and 亿 move the decimal point: never the binary product, which is
      // 700.0000000000001 for 0.07 x 10000.
      {"1.2万", 12000.0, 0},
      {"1.2万元", 12000.0, 0},
      {"1.2 万\u00A0元", 12000.0, 0},
      {"0.07万", 700.0, 0},
      {"3亿元", 300000000.0, 0},
      {"0.29亿", 29000000.0, 0},
      {"¥1.2万", 12000.0, 0},
      {"−1.5万", -15000.0, 0},
      {"1E3万", 1e7, 0},
      {"1E300亿", 1e308, 0},
      {"1E301亿", 0, kErrorOverflow},
      {"1E-327万", 1e-323, 0},
      {"万", 0, kErrorTypeMismatch},
      {"1万万", 0, kErrorTypeMismatch},
      {"1万亿", 0, kErrorTypeMismatch},
      {"1元万", 0, kErrorTypeMismatch},
      {"¥1万元", 0, kErrorTypeMismatch},
      // U+2212, the minus sign of word processors, wherever - stands.
      {"−5", -5.0, 0},
      {"1E−1", 0.1, 0},
      {"−−5", 0, kErrorTypeMismatch},
      // A percent sign, only where the box reads one.
      {"5%", 0, kErrorTypeMismatch},
      {"5%", 5.0, 0, kPercent},
      {"5.00%", 5.0, 0, kPercent},
      {"５％", 5.0, 0, kPercent},
      {"12.5 %", 12.5, 0, kPercent},
      {"−5\u3000%", -5.0, 0, kPercent},
      {"5\u00A0%", 5.0, 0, kPercent},
      {"%", 0, kErrorTypeMismatch, kPercent},
      {"5%%", 0, kErrorTypeMismatch, kPercent},
      {"5\n%", 0, kErrorTypeMismatch, kPercent},
      {"¥5%", 0, kErrorTypeMismatch, kPercent},
      {"5%元", 0, kErrorTypeMismatch, kPercent},
      {"5万%", 0, kErrorTypeMismatch, kPercent},
      // The ideographic full stop.
      {"1102。5", 1102.5, 0},
      {"。5", 0.5, 0},
      {"1。2。3", 0, kErrorTypeMismatch},
      // Line breaks are blanks around the number, never inside it.
      {"1000\n", 1000.0, 0},
      {"1000\r\n", 1000.0, 0},
      {"\r\n1000", 1000.0, 0},
      {"\n", 0, kErrorTypeMismatch},
      {"1000\n2000", 0, kErrorTypeMismatch},
      {"1000\r\n2000\r\n", 0, kErrorTypeMismatch},
      // Range errors keep their number whatever the spelling.
      {"¥1E400", 0, kErrorOverflow},
      {ThousandToThe(103) + "元", 0, kErrorOverflow},  // 1E+309
      {ThousandToThe(102), 1e306, 0},
  };
  for (const auto& row : cases) {
    EXPECT_EQ(ErrorOf([&row] { ParseDouble(row.text, row.percent_sign); }),
              row.error)
        << row.text;
    if (row.error == 0) {
      EXPECT_EQ(ParseDouble(row.text, row.percent_sign), row.expected)
          << row.text;
    }
  }
  // ParseInteger reads the same spellings and rounds as ever.
  EXPECT_EQ(ParseInteger("¥1,000.5"), 1000);
  EXPECT_EQ(ParseInteger("12,345.5元"), 12346);
  EXPECT_EQ(ParseInteger("32,767\r\n"), 32767);
  EXPECT_EQ(ParseIntegerError("32,768"), kErrorOverflow);
  EXPECT_EQ(ParseInteger("1万"), 10000);
  EXPECT_EQ(ParseInteger("5.00 ％", kPercent), 5);
}

TEST(ParseDoubleTest, TooLargeIsOverflowNotMismatch) {
  const std::string cases[] = {
      "1E400",
      "-1E400",
      "1.7976931348623159e308",
      "1E309",
      "1E+99999999999999999999",
      "0.00000000000000000001E+99999999999999999999",
      std::string(400, '9'),
  };
  for (const auto& text : cases) {
    EXPECT_EQ(ParseDoubleError(text), kErrorOverflow) << text;
  }
}

TEST(ParseDoubleTest, TooSmallIsZeroOrSubnormal) {
  const std::string cases[] = {
      "1E-400",
      "." + std::string(400, '0') + "1",
      "1E-99999999999999999999",
      "0E99999999999999999999",
      "2E-324",  // below half the least subnormal
      "0.000",
      "-0",
  };
  for (const auto& text : cases) {
    EXPECT_EQ(ParseDouble(text), 0.0) << text;
  }
  EXPECT_TRUE(std::signbit(ParseDouble("-1E-400")));
  EXPECT_FALSE(std::signbit(ParseDouble("1E-400")));
  EXPECT_EQ(ParseDouble("3E-324"), std::numeric_limits<double>::denorm_min());
  // A long text whose magnitude is ordinary: 1 followed by 999 zeros, scaled
  // back down by its own length.
  EXPECT_EQ(ParseDouble("1" + std::string(999, '0') + "E-999"), 1.0);
}

struct IntegerCase {
  std::string text;
  std::int16_t expected;
};

TEST(ParseIntegerTest, RoundsHalfToEven) {
  const IntegerCase cases[] = {
      {"0.5", 0},
      {"1.5", 2},
      {"2.5", 2},
      {"3.5", 4},
      {"-2.5", -2},
      {"-0.5", 0},
      {"2.6", 3},
      {"2.4", 2},
      {"12.5", 12},
      {"-3.5", -4},
      {"05", 5},
      {" 7 ", 7},
      {"1E2", 100},
      {"４", 4},
      // 0.49999999999999994 is the double just below one half: it must not
      // be rounded by adding 0.5 (which would give exactly 1).
      {"0.49999999999999994", 0},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ParseInteger(text), expected) << text;
  }
}

TEST(ParseIntegerTest, ChecksTheRangeAfterRounding) {
  // The range is -32768..32767. 32767.5 lies halfway and goes to the even
  // 32768, outside; -32768.5 goes to the even -32768, inside; -32768.6 rounds
  // to -32769, outside.
  const IntegerCase inside[] = {
      {"32767", 32767},     {"-32768", -32768}, {"32767.4", 32767},
      {"-32768.5", -32768}, {"32766.5", 32766},
  };
  for (const auto& [text, expected] : inside) {
    EXPECT_EQ(ParseInteger(text), expected) << text;
  }
  for (const char* text :
       {"32768", "40000", "32767.5", "-32769", "-32768.6", "1E400", "1E5"}) {
    EXPECT_EQ(ParseIntegerError(text), kErrorOverflow) << text;
  }
  for (const char* text : {"", "x", "1e", "3.5.1"}) {
    EXPECT_EQ(ParseIntegerError(text), kErrorTypeMismatch) << text;
  }
}

struct FormatCase {
  double value;
  std::string expected;
};

TEST(FormatDoubleTest, WritesFifteenSignificantDigits) {
  const FormatCase cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {1000.0, "1000"},
      {100.0, "100"},
      {1102.5, "1102.5"},
      {0.5, "0.5"},
      {-0.5, "-0.5"},
      {-1234.25, "-1234.25"},
      {1050.0, "1050"},
      {1157.625, "1157.625"},
      {1276.2815624999998, "1276.2815625"},
      {1477.4554437890622, "1477.45544378906"},
      {0.30000000000000004, "0.3"},
      {999999999999999.0, "999999999999999"},
      {0.0001, "0.0001"},
      {0.000123, "0.000123"},
      // Exponent form from 1E+15 up and below 1E-4.
      {1e15, "1E+15"},
      {999999999999999.9, "1E+15"},  // rounding carries into a 16th digit
      {1.5e20, "1.5E+20"},
      {1234567890123456.0, "1.23456789012346E+15"},
      {std::ldexp(1.0, 1023), "8.98846567431158E+307"},
      {std::numeric_limits<double>::max(), "1.79769313486232E+308"},
      {-1e100, "-1E+100"},
      {0.00001, "1E-05"},
      {0.000015, "1.5E-05"},
      {1e-300, "1E-300"},
      {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
      // Exact ties at the 16th digit go to the even digit.
      {100000000000000.5, "100000000000000"},
      {100000000000001.5, "100000000000002"},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(FormatDouble(value), expected) << value;
  }
}

TEST(FormatDoubleTest, NonFiniteValuesHaveAFixedSpellingThatDoesNotParse) {
  const FormatCase cases[] = {
      {std::numeric_limits<double>::infinity(), "inf"},
      {-std::numeric_limits<double>::infinity(), "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(FormatDouble(value), expected);
    EXPECT_EQ(ParseDoubleError(FormatDouble(value)), kErrorTypeMismatch);
  }
}

TEST(FormatDoubleTest, AppendKeepsWhatIsThere) {
  std::string text = "x=";
  AppendDouble(text, 2.5);
  AppendInteger(text, -7);
  EXPECT_EQ(text, "x=2.5-7");
}

TEST(FormatIntegerTest, WritesPlainDecimal) {
  EXPECT_EQ(FormatInteger(0), "0");
  EXPECT_EQ(FormatInteger(5), "5");
  EXPECT_EQ(FormatInteger(-5), "-5");
  EXPECT_EQ(FormatInteger(32767), "32767");
  EXPECT_EQ(FormatInteger(-32768), "-32768");
}

TEST(NumericTextLocaleTest, FullStopWhateverTheLocaleSays) {
  ScopedCLocale german("de_DE.UTF-8");
  if (!german.active()) {
    GTEST_SKIP() << "no de_DE.UTF-8, or a C library that ignores locales";
  }
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  EXPECT_EQ(ParseDouble("1102.5"), 1102.5);
  EXPECT_EQ(ParseDoubleError("1102,5"), kErrorTypeMismatch);
  EXPECT_EQ(FormatDouble(1102.5), "1102.5");
  EXPECT_EQ(FormatDouble(1.5e20), "1.5E+20");
}

// Random finite doubles spread over the whole exponent range.
double RandomFiniteDouble(std::mt19937_64& rng) {
  for (;;) {
    const auto value = DoubleFromBits(rng());
    if (std::isfinite(value)) return value;
  }
}

TEST(NumericTextPropertyTest, FormatMatchesPrintfG15) {
  // printf's %.15g uses the same rules (15 digits from the exact value, ties
  // to even, trailing zeros dropped, exponent form below 1E-4 and from 1E+15),
  // so it is an independent oracle; only the exponent letter's case differs.
  std::mt19937_64 rng(20261208);
  char buffer[64];
  for (int i = 0; i < 100000; ++i) {
    const double value = RandomFiniteDouble(rng);
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    std::string expected = buffer;
    if (expected == "-0") expected = "0";
    ASSERT_EQ(FormatDouble(value), expected) << BitsOf(value);
  }
}

TEST(NumericTextPropertyTest, ParseRoundTripsShortestAndFormatIsStable) {
  std::mt19937_64 rng(7);
  char buffer[64];
  for (int i = 0; i < 100000; ++i) {
    const double value = RandomFiniteDouble(rng);
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    ASSERT_EQ(BitsOf(ParseDouble(buffer)), BitsOf(value)) << buffer;
    const std::string formatted = FormatDouble(value);
    ASSERT_EQ(FormatDouble(ParseDouble(formatted)), formatted) << buffer;
  }
}

TEST(NumericTextPropertyTest, IntegerAcceptsOnlyWhatDoubleAccepts) {
  // Short random texts over the grammar's alphabet reach every branch of the
  // grammar and both range checks.
  constexpr std::string_view kAlphabet = "0123456789+-.eE ,\n5";
  std::mt19937 rng(42);
  std::uniform_int_distribution<std::size_t> length(0, 8);
  std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
  int accepted = 0;
  for (int i = 0; i < 200000; ++i) {
    std::string text;
    for (std::size_t n = length(rng); n > 0; --n) text += kAlphabet[pick(rng)];
    std::int16_t integer = 0;
    try {
      integer = ParseInteger(text);
    } catch (const RuntimeError&) {
      continue;
    }
    ++accepted;
    double real = 0;
    ASSERT_NO_THROW(real = ParseDouble(text)) << text;
    // nearbyint rounds halfway cases to even under the default rounding mode.
    ASSERT_EQ(std::fegetround(), FE_TONEAREST);
    ASSERT_EQ(integer, std::nearbyint(real)) << text;
  }
  EXPECT_GT(accepted, 1000);
}

}  // namespace
}  // namespace zorvik
