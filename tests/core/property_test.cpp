// The schedule and the two conversions on thousands of seeded random cases,
// held against an exact reference: natively MPFR itself, in the cross builds
// (which have no MPFR) the digests of its results for the fixed cases.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/decimal_conversion.h"
#include "core/numeric_text.h"
#include "core/rent_schedule.h"
#include "tests/core/property_cases.h"
#include "tests/core/test_support.h"
#ifdef ZORVIK_MPFR_REFERENCE
#include "tests/core/mpfr_reference.h"
#endif

namespace zorvik::property {
namespace {

#include "tests/core/property_expectations.inc"

static_assert(std::size(kScheduleExpectations) ==
                      std::size_t{2} * kScheduleCases &&
                  std::size(kParseExpectations) == kParseCases &&
                  std::size(kFormatExpectations) == kFormatCases,
              "property_expectations.inc is stale: regenerate it");

constexpr int kMostFailuresShown = 10;
constexpr const char* kStale =
    "property_expectations.inc no longer matches the reference; regenerate "
    "it with build/dev/tests/core/property_expectations";

// Cross builds can only judge the fixed cases.
#ifdef ZORVIK_MPFR_REFERENCE
constexpr bool kHaveReference = true;
#else
constexpr bool kHaveReference = false;
#endif

// A double as a C++ literal that reads back exactly, with its bits.
std::string Literal(double value) {
  std::ostringstream out;
  out << std::setprecision(17) << value << " (bits " << std::hex
      << BitsOf(value) << ")";
  return out.str();
}

std::string Describe(const ScheduleInputs& inputs) {
  return "rent " + Literal(inputs.rent) + ", " + std::to_string(inputs.years) +
         " years at " + std::to_string(inputs.percent) + " %: ";
}

struct Rents {
  std::string text;                     // the schedule as built
  std::vector<std::string_view> rents;  // each year's rent within it
  bool overflow = false;
};

// BuildSchedule's rents. An overflow lists nothing, so the rents are then
// those of the `listed` years before it, which the reference names, or, where
// the core overflows sooner, of the years before the core's overflow.
Rents CoreSchedule(const ScheduleInputs& inputs, int listed) {
  Rents result;
  std::string& text = result.text;
  const auto build = [&inputs, &text](int years) {
    try {
      text = BuildSchedule(
          {inputs.rent, static_cast<std::int16_t>(years), inputs.percent});
      return true;
    } catch (const RuntimeError&) {
      return false;  // beyond the double range
    }
  };
  if (!build(inputs.years)) {
    result.overflow = true;
    if (!build(listed)) {
      int low = 0;  // the most years known to build
      for (int high = listed - 1; low < high;) {
        const int middle = (low + high + 1) / 2;
        if (build(middle)) {
          low = middle;
        } else {
          high = middle - 1;
        }
      }
      build(low);
    }
  }
  const std::string_view marker = "：  ";
  for (std::size_t begin = text.find(marker); begin != std::string::npos;
       begin = text.find(marker, begin)) {
    begin += marker.size();
    const std::size_t end = text.find('\n', begin);
    result.rents.push_back(std::string_view(text).substr(begin, end - begin));
  }
  return result;
}

std::string ParsedText(const std::string& text,
                       PercentSign percent_sign = PercentSign::kRefused) {
  try {
    return ParseResultText(ParseDouble(text, percent_sign));
  } catch (const RuntimeError& error) {
    return error.number() == kErrorOverflow ? "overflow" : "not a number";
  }
}

#ifdef ZORVIK_MPFR_REFERENCE
// The first year whose rent differs, or empty when none does.
std::string FirstDifference(const reference::Schedule& expected,
                            const Rents& actual) {
  const auto year_text = [](const auto& rents, bool overflow,
                            std::size_t i) -> std::string_view {
    if (i < rents.size()) return rents[i];
    return overflow ? "overflow" : "nothing";
  };
  const std::size_t years =
      std::max(expected.rents.size(), actual.rents.size()) + 1;
  for (std::size_t i = 0; i < years; ++i) {
    const std::string_view want =
        year_text(expected.rents, expected.overflow, i);
    const std::string_view got = year_text(actual.rents, actual.overflow, i);
    if (want != got) {
      return "year " + std::to_string(i + 1) + " is " + std::string(got) +
             ", expected " + std::string(want);
    }
  }
  return {};
}
#endif

// The reference's text for one case; where the build has no reference, the
// stored digests stand in for it.
#ifdef ZORVIK_MPFR_REFERENCE
std::string ReferenceParse(const std::string& text) {
  return ParseResultText(reference::Parse(text));
}
constexpr auto kReferenceParse = &ReferenceParse;
constexpr auto kReferenceFormat = &reference::Text;
#else
constexpr std::nullptr_t kReferenceParse = nullptr;
constexpr std::nullptr_t kReferenceFormat = nullptr;
#endif

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// Holds each case's text against the reference's own where the build has the
// reference (checking that the stored digests still match it), and against
// the stored digests otherwise.
template <typename Case, typename Actual, typename Reference, typename Describe>
void CompareWithReference(const std::vector<Case>& cases,
                          const std::uint32_t* digests, bool fixed,
                          Actual actual_text, Reference reference_text,
                          Describe describe) {
  int failures = 0;
  int stale = 0;  // reference results that the stored digests disagree with
  for (std::size_t i = 0; i < cases.size() && failures < kMostFailuresShown;
       ++i) {
    const std::string actual = actual_text(cases[i]);
    std::string expected = "the reference's text (the native suite names it)";
    bool differs = false;
    if constexpr (std::is_null_pointer_v<Reference>) {
      differs = Digest(actual) != digests[i];
    } else {
      expected = reference_text(cases[i]);
      differs = actual != expected;
      stale += fixed && Digest(expected) != digests[i];
    }
    if (differs) {
      ADD_FAILURE() << describe(cases[i]) << " gives " << actual
                    << ", expected " << expected;
      ++failures;
    }
  }
  EXPECT_EQ(stale, 0) << kStale;
}

TEST(PropertyTest, ScheduleMatchesTheExactReference) {
  const Search search = CurrentSearch();
  if (!kHaveReference && !search.fixed)
    GTEST_SKIP() << "only the native build has MPFR";
  const std::vector<ScheduleInputs> cases =
      ScheduleCases(search.seed, kScheduleCases * search.scale);
  int failures = 0;
  int stale = 0;  // reference results that the stored digests disagree with
  for (std::size_t i = 0; i < cases.size() && failures < kMostFailuresShown;
       ++i) {
    const ScheduleInputs& inputs = cases[i];
#ifdef ZORVIK_MPFR_REFERENCE
    const reference::Schedule expected =
        reference::RentSchedule(inputs.rent, inputs.years, inputs.percent);
    const Rents actual =
        CoreSchedule(inputs, static_cast<int>(expected.rents.size()));
    const std::string difference = FirstDifference(expected, actual);
    if (!difference.empty()) {
      ADD_FAILURE() << Describe(inputs) << difference;
      ++failures;
    }
    stale += search.fixed &&
             (ScheduleDigest(expected.rents, expected.overflow) !=
                  kScheduleExpectations[2 * i] ||
              expected.rents.size() != kScheduleExpectations[2 * i + 1]);
#else
    const Rents actual = CoreSchedule(
        inputs, static_cast<int>(kScheduleExpectations[2 * i + 1]));
    if (ScheduleDigest(actual.rents, actual.overflow) !=
        kScheduleExpectations[2 * i]) {
      ADD_FAILURE() << Describe(inputs)
                    << "the rents differ from the reference's (the native "
                       "suite names the first year that differs)";
      ++failures;
    }
#endif
  }
  EXPECT_EQ(stale, 0) << kStale;
}

TEST(PropertyTest, ParseDoubleRoundsLikeTheExactReference) {
  const Search search = CurrentSearch();
  if (!kHaveReference && !search.fixed)
    GTEST_SKIP() << "only the native build has MPFR";
  CompareWithReference(
      ParseCases(search.seed, kParseCases * search.scale), kParseExpectations,
      search.fixed, [](const std::string& text) { return ParsedText(text); },
      kReferenceParse, &Quoted);
}

TEST(PropertyTest, FormatDoubleRoundsLikeTheExactReference) {
  const Search search = CurrentSearch();
  if (!kHaveReference && !search.fixed)
    GTEST_SKIP() << "only the native build has MPFR";
  CompareWithReference(FormatCases(search.seed, kFormatCases * search.scale),
                       kFormatExpectations, search.fixed, &FormatDouble,
                       kReferenceFormat, &Literal);
}

// The same cases written as offices write amounts: the point moved back by
// the places that 万 or 亿 move it forward, blanks before the marks, U+2212
// for the minus sign, a % where the increase box reads one. Each must give
// exactly the plain case's double.
TEST(PropertyTest, OfficeSpellingsRoundLikeTheExactReference) {
  const Search search = CurrentSearch();
  if (!kHaveReference && !search.fixed)
    GTEST_SKIP() << "only the native build has MPFR";
  const struct {
    std::string_view prefix;
    std::string_view suffix;
    int places;
    PercentSign percent_sign;
  } dressings[] = {
      {"", "万", 4, PercentSign::kRefused},
      {"¥ ", "\u00A0亿", 8, PercentSign::kRefused},
      {"", "\u3000万 元", 4, PercentSign::kRefused},
      {"", " ％", 0, PercentSign::kAccepted},
  };
  const std::vector<std::string> cases =
      ParseCases(search.seed, kParseCases * search.scale);
  for (const auto& dressing : dressings) {
    const auto dressed = [&dressing](const std::string& text) {
      const bool negative = text.front() == '-';
      std::string plain = text.substr(negative ? 1 : 0);
      const std::size_t e = plain.find_first_of("eE");
      const long long exponent =
          (e == std::string::npos ? 0 : std::stoll(plain.substr(e + 1))) -
          dressing.places;
      plain = plain.substr(0, e) + "e" + std::to_string(exponent);
      return std::string(dressing.prefix) + (negative ? "−" : "") + plain +
             std::string(dressing.suffix);
    };
    CompareWithReference(
        cases, kParseExpectations, search.fixed,
        [&](const std::string& text) {
          return ParsedText(dressed(text), dressing.percent_sign);
        },
        kReferenceParse,
        [&](const std::string& text) { return Quoted(dressed(text)); });
  }
}

// The integer way of rounding to digits is the web build's; natively it is
// held against the reference directly, for the same doubles.
TEST(PropertyTest, IntegerDigitsRoundLikeTheExactReference) {
  const Search search = CurrentSearch();
  if (!kHaveReference && !search.fixed)
    GTEST_SKIP() << "only the native build has MPFR";
  CompareWithReference(
      FormatCases(search.seed, kFormatCases * search.scale),
      kFormatExpectations, search.fixed,
      [](double value) {
        std::string text;
        AppendDoubleWith(text, value, &decimal::integer::ToDigits);
        return text;
      },
      kReferenceFormat, &Literal);
}

}  // namespace
}  // namespace zorvik::property
