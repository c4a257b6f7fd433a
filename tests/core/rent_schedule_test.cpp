#include "core/rent_schedule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace zorvik {
namespace {

// One schedule entry as the user's box receives it.
std::string Entry(int year, std::string_view rent) {
  return "第 " + std::to_string(year) + " 年租金：  " + std::string(rent) +
         "\n\r\n\r\n";
}

std::string Entries(std::initializer_list<std::string_view> rents) {
  std::string text;
  int year = 1;
  for (std::string_view rent : rents) text += Entry(year++, rent);
  return text;
}

std::size_t CountEntries(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t pos = text.find("第 "); pos != std::string::npos;
       pos = text.find("第 ", pos + 1)) {
    ++count;
  }
  return count;
}

// The last entry's rent, as written.
std::string LastRent(const std::string& text) {
  const std::string_view marker = "：  ";
  const std::size_t begin = text.rfind(marker) + marker.size();
  return text.substr(begin, text.size() - 5 - begin);
}

int BuildError(const ScheduleInputs& inputs) {
  try {
    BuildSchedule(inputs);
  } catch (const RuntimeError& error) {
    return error.number();
  }
  return 0;
}

TEST(BuildScheduleTest, EntryIsExactToTheCodeUnit) {
  // U+7B2C U+0020 "1" U+0020 U+5E74 U+79DF U+91D1 U+FF1A U+0020 U+0020
  // "1000" LF CR LF CR LF, spelled as UTF-8 bytes.
  EXPECT_EQ(BuildSchedule({1000.0, 1, 5}),
            "\xE7\xAC\xAC\x20"
            "1"
            "\x20\xE5\xB9\xB4\xE7\xA7\x9F\xE9\x87\x91\xEF\xBC\x9A\x20\x20"
            "1000"
            "\x0A\x0D\x0A\x0D\x0A");
}

TEST(BuildScheduleTest, WorkedExample) {
  // 5 x 1000 = 5000, / 100 = 50, + 1000 = 1050;
  // 5 x 1050 = 5250, / 100 = 52.5, + 1050 = 1102.5.
  EXPECT_EQ(BuildSchedule({1000.0, 3, 5}), Entries({"1000", "1050", "1102.5"}));
}

TEST(BuildScheduleTest, SmallCases) {
  struct Case {
    ScheduleInputs inputs;
    std::string expected;
  };
  const Case cases[] = {
      {{1000.0, 0, 5}, ""},
      {{1000.0, -1, 5}, ""},
      {{1000.0, -32768, 5}, ""},
      {{1000.0, 1, 32767}, Entries({"1000"})},  // the percent is never applied
      {{1234.5, 4, 0}, Entries({"1234.5", "1234.5", "1234.5", "1234.5"})},
      {{1000.0, 4, -10}, Entries({"1000", "900", "810", "729"})},
      {{1000.0, 3, -100}, Entries({"1000", "0", "0"})},
      {{-1000.0, 2, 5}, Entries({"-1000", "-1050"})},
      {{0.5, 2, 100}, Entries({"0.5", "1"})},
  };
  for (const auto& [inputs, expected] : cases) {
    EXPECT_EQ(BuildSchedule(inputs), expected)
        << inputs.rent << " " << inputs.years << " " << inputs.percent;
  }
}

TEST(BuildScheduleTest, EachYearRaisesTheRoundedPreviousYear) {
  // Year n is not 1000 x 1.05^(n-1): the stored doubles carry base-2 rounding
  // (year 6 is the double 1276.2815624999998), which 15 digits hide.
  EXPECT_EQ(BuildSchedule({1000.0, 9, 5}),
            Entries({"1000", "1050", "1102.5", "1157.625", "1215.50625",
                     "1276.2815625", "1340.095640625", "1407.10042265625",
                     "1477.45544378906"}));
}

TEST(BuildScheduleTest, IntermediatesMayLeaveTheDoubleRange) {
  // Rent 1 at 100 % doubles every year: year n is 2^(n-1). From year 1020 on
  // the product 100 x 2^(n-2) exceeds DBL_MAX (about 2^1024), yet the stored
  // rent fits up to year 1024 = 2^1023; year 1025 would be 2^1024.
  const std::string schedule = BuildSchedule({1.0, 1024, 100});
  EXPECT_EQ(CountEntries(schedule), 1024u);
  EXPECT_EQ(LastRent(schedule), "8.98846567431158E+307");
  EXPECT_EQ(BuildError({1.0, 1025, 100}), kErrorOverflow);
  EXPECT_EQ(BuildError({-1.0, 1025, 100}), kErrorOverflow);

  // 2 x 1E308 is beyond the range; 1E308 + 2E306 is not.
  EXPECT_EQ(BuildSchedule({1e308, 2, 2}), Entries({"1E+308", "1.02E+308"}));
  EXPECT_EQ(BuildSchedule({-1e308, 2, 2}), Entries({"-1E+308", "-1.02E+308"}));

  // Tiny rents: 100 x the least subnormal is itself a subnormal that has lost
  // precision in plain arithmetic; with a wide intermediate range the raise is
  // exactly a doubling.
  const double least = std::numeric_limits<double>::denorm_min();
  EXPECT_EQ(BuildSchedule({least, 3, 100}),
            Entries({"4.94065645841247E-324", "9.88131291682493E-324",
                     "1.97626258336499E-323"}));
}

TEST(BuildScheduleTest, OverflowEndsTheScheduleWithNothingPartial) {
  // Each year multiplies by 328.67; 1000 x 328.67^121 is about 3.8E+307 and
  // one more raise is beyond the range.
  const std::string schedule = BuildSchedule({1000.0, 122, 32767});
  EXPECT_EQ(CountEntries(schedule), 122u);
  EXPECT_EQ(BuildError({1000.0, 123, 32767}), kErrorOverflow);
  EXPECT_EQ(BuildError({1000.0, 32767, 32767}), kErrorOverflow);
}

TEST(BuildScheduleTest, NonFiniteRentIsRejected) {
  EXPECT_EQ(BuildError({std::numeric_limits<double>::infinity(), 1, 0}),
            kErrorOverflow);
  EXPECT_EQ(BuildError({std::nan(""), 0, 0}), kErrorOverflow);
}

TEST(BuildScheduleTest, LongestScheduleCountsPastTheIntegerRange) {
  const std::string schedule = BuildSchedule({1000.0, 32767, 0});
  EXPECT_EQ(CountEntries(schedule), 32767u);
  EXPECT_TRUE(schedule.ends_with(Entry(32767, "1000")));
}

TEST(RunComputeTest, ReadsNormalisesAndBuilds) {
  const ComputeOutcome outcome = RunCompute("1000.00", "3", "05");
  ASSERT_TRUE(outcome.normal_forms.has_value());
  EXPECT_EQ(*outcome.normal_forms, (NormalForms{"1000", "3", "5"}));
  EXPECT_EQ(outcome.schedule, Entries({"1000", "1050", "1102.5"}));
  EXPECT_FALSE(outcome.error.has_value());
}

TEST(RunComputeTest, RoundsYearsAndPercent) {
  // 3.5 years round to 4; 12.5 % rounds to 12 (both halfway, to even).
  const ComputeOutcome outcome = RunCompute(" 100 ", "3.5", "12.5");
  ASSERT_TRUE(outcome.normal_forms.has_value());
  EXPECT_EQ(*outcome.normal_forms, (NormalForms{"100", "4", "12"}));
  EXPECT_EQ(outcome.schedule, Entries({"100", "112", "125.44", "140.4928"}));
  // Written as offices write them, and still written back plain.
  EXPECT_EQ(RunCompute("1.2万元", "0.0003万", "12.5 %").normal_forms,
            (NormalForms{"12000", "3", "12"}));
}

TEST(RunComputeTest, ZeroYearsGivesAnEmptySchedule) {
  const ComputeOutcome outcome = RunCompute("1000", "0", "5");
  EXPECT_EQ(outcome.schedule, "");
  EXPECT_FALSE(outcome.error.has_value());
}

TEST(RunComputeTest, ReadingErrorsStopBeforeAnythingIsProduced) {
  struct Case {
    const char* rent;
    const char* years;
    const char* percent;
    int number;
  };
  const Case cases[] = {
      {"abc", "3", "5", kErrorTypeMismatch},
      {"1E400", "x", "5", kErrorOverflow},  // the first failing read counts
      {"1000", "40000", "5", kErrorOverflow},
      {"1000", "3", "", kErrorTypeMismatch},
      {"1000", "3", "32768", kErrorOverflow},
      // Only the percent may carry a % sign; 万 is read in every box.
      {"5%", "3", "5", kErrorTypeMismatch},
      {"1000", "5%", "5", kErrorTypeMismatch},
      {"1000", "4万", "5%", kErrorOverflow},
  };
  for (const auto& [rent, years, percent, number] : cases) {
    const ComputeOutcome outcome = RunCompute(rent, years, percent);
    EXPECT_EQ(outcome.error, (ComputeError{number, ComputeStage::kReading}))
        << rent << " " << years << " " << percent;
    EXPECT_FALSE(outcome.normal_forms.has_value());
    EXPECT_FALSE(outcome.schedule.has_value());
  }
}

TEST(RunComputeTest, BuildingErrorKeepsTheNormalForms) {
  const ComputeOutcome outcome = RunCompute("1000.0", "200", "32767");
  EXPECT_EQ(outcome.error,
            (ComputeError{kErrorOverflow, ComputeStage::kBuilding}));
  ASSERT_TRUE(outcome.normal_forms.has_value());
  EXPECT_EQ(*outcome.normal_forms, (NormalForms{"1000", "200", "32767"}));
  EXPECT_FALSE(outcome.schedule.has_value());
}

}  // namespace
}  // namespace zorvik
