// Fuzzed rents, percents and small year counts: BuildSchedule returns exactly
// one entry per year or raises overflow, never anything else.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/rent_schedule.h"
#include "fuzz/fuzz_check.h"

namespace {

std::size_t Count(std::string_view text, std::string_view part) {
  std::size_t count = 0;
  for (std::size_t pos = text.find(part); pos != std::string_view::npos;
       pos = text.find(part, pos + part.size())) {
    ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  // 8 bytes of rent (any bit pattern), 2 of percent, 2 of years.
  if (size < 12) return 0;
  zorvik::ScheduleInputs inputs{};
  std::memcpy(&inputs.rent, data, 8);
  std::memcpy(&inputs.percent, data + 8, 2);
  std::memcpy(&inputs.years, data + 10, 2);
  // Keep runs short: long schedules are the unit tests' business.
  inputs.years = static_cast<std::int16_t>(inputs.years % 600);

  std::string text;
  try {
    text = zorvik::BuildSchedule(inputs);
  } catch (const zorvik::RuntimeError& error) {
    FUZZ_CHECK(error.number() == zorvik::kErrorOverflow);
    FUZZ_CHECK(!std::isfinite(inputs.rent) || inputs.years > 1);
    return 0;
  }
  FUZZ_CHECK(std::isfinite(inputs.rent));
  const std::size_t years = inputs.years > 0 ? inputs.years : 0;
  FUZZ_CHECK(Count(text, "第 ") == years);
  FUZZ_CHECK(Count(text, "\n\r\n\r\n") == years);
  FUZZ_CHECK(text.find("inf") == std::string::npos);
  FUZZ_CHECK(text.find("nan") == std::string::npos);
  return 0;
}
