// Writes property_expectations.inc: the MPFR reference's results for the
// property tests' fixed cases, as digests, for the builds that have no MPFR.
//   build/dev/tests/core/property_expectations >
//   tests/core/property_expectations.inc

#include <cstdint>
#include <cstdio>
#include <vector>

#include "tests/core/mpfr_reference.h"
#include "tests/core/property_cases.h"

namespace zorvik::property {
namespace {

void PrintArray(const char* name, const std::vector<std::uint32_t>& values) {
  std::printf("constexpr std::uint32_t %s[] = {", name);
  for (std::size_t i = 0; i < values.size(); ++i) {
    std::printf("%s%u,", i % 10 == 0 ? "\n" : " ", values[i]);
  }
  std::printf("\n};\n");
}

void Write() {
  std::vector<std::uint32_t> schedules;
  for (const ScheduleInputs& inputs :
       ScheduleCases(kFixedSeed, kScheduleCases)) {
    const reference::Schedule schedule =
        reference::RentSchedule(inputs.rent, inputs.years, inputs.percent);
    schedules.push_back(ScheduleDigest(schedule.rents, schedule.overflow));
    schedules.push_back(static_cast<std::uint32_t>(schedule.rents.size()));
  }
  std::vector<std::uint32_t> parses;
  for (const std::string& text : ParseCases(kFixedSeed, kParseCases)) {
    parses.push_back(Digest(ParseResultText(reference::Parse(text))));
  }
  std::vector<std::uint32_t> formats;
  for (const double value : FormatCases(kFixedSeed, kFormatCases)) {
    formats.push_back(Digest(reference::Text(value)));
  }
  std::printf(
      "// Written by tests/core/property_expectations.cpp; regenerate with\n"
      "//   build/dev/tests/core/property_expectations > "
      "tests/core/property_expectations.inc\n"
      "// Per schedule: the digest of the rents and the number of years "
      "listed.\n");
  PrintArray("kScheduleExpectations", schedules);
  PrintArray("kParseExpectations", parses);
  PrintArray("kFormatExpectations", formats);
}

}  // namespace
}  // namespace zorvik::property

int main() { zorvik::property::Write(); }
