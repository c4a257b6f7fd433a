#include "core/rent_schedule.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zorvik {
namespace {

// The literal parts of one entry. The break is LF CR LF CR LF: in a box that
// breaks lines only at CR LF, that ends the entry's line and adds one empty
// line, with the leading LF and the trailing LF showing nothing.
constexpr std::string_view kEntryPrefix = "第 ";  // U+7B2C U+0020
constexpr std::string_view kEntryMiddle =
    " 年租金：  ";  // ... U+FF1A, 2 blanks
constexpr std::string_view kEntryBreak = "\n\r\n\r\n";

// Room for the longest entry: a five-digit year and a rent of 22 characters
// ("-1.23456789012345E-308"). A schedule is then built in one allocation
// even when most rents take the exponent form (rent 1000 at -1 % over 32767
// years: 50 and 51 bytes an entry from year 1606 on); a reservation of too few
// bytes would copy the whole text once more into a block twice its size near
// the end, touching megabytes that the browser must first provide. What is
// reserved and never written costs nothing.
constexpr std::size_t kLongestRentBytes = 22;
constexpr std::size_t kLongestEntryBytes =
    kEntryPrefix.size() + 5 + kEntryMiddle.size() + kLongestRentBytes +
    kEntryBreak.size();

// Inside this band of magnitudes none of the three operations of a raise can
// leave the double's normal range (|percent| <= 2^15, and the sum is at most
// 328.68 times the old rent), so plain double arithmetic rounds exactly as
// unbounded-exponent arithmetic does.
constexpr double kPlainLow = 0x1p-900;
constexpr double kPlainHigh = 0x1p+900;

// One year's raise: ((percent x current) / 100) + current, each operation
// rounded to 53 bits. Outside the plain band the rent is scaled by a power of
// two into [0.5, 1) first; scaling is exact, and rounding to 53 bits does not
// depend on the exponent, so the result equals that of an FPU whose
// intermediates have a wider exponent range. Only the final scale-back can
// overflow (to infinity), which is the one overflow that counts.
double Raise(double current, double percent) {
  const double magnitude = std::fabs(current);
  if (magnitude == 0.0 || (magnitude >= kPlainLow && magnitude <= kPlainHigh)) {
    const double product = percent * current;
    const double quotient = product / 100.0;
    return quotient + current;
  }
  int exponent = 0;
  const double scaled = std::frexp(current, &exponent);
  const double product = percent * scaled;
  const double quotient = product / 100.0;
  return std::ldexp(quotient + scaled, exponent);
}

void AppendEntry(std::string& text, std::int16_t year, double rent) {
  text += kEntryPrefix;
  AppendInteger(text, year);
  text += kEntryMiddle;
  AppendDouble(text, rent);
  text += kEntryBreak;
}

}  // namespace

std::string BuildSchedule(const ScheduleInputs& inputs) {
  if (!std::isfinite(inputs.rent)) throw RuntimeError(kErrorOverflow);
  std::string text;
  if (inputs.years <= 0) return text;
  text.reserve(static_cast<std::size_t>(inputs.years) * kLongestEntryBytes);

  const double percent = inputs.percent;
  double current = inputs.rent;
  // Wider than the year count itself, so that counting one past 32767 to end
  // the loop is no overflow.
  for (std::int32_t year = 1; year <= inputs.years; ++year) {
    if (year > 1) {
      current = Raise(current, percent);
      if (!std::isfinite(current)) throw RuntimeError(kErrorOverflow);
    }
    AppendEntry(text, static_cast<std::int16_t>(year), current);
  }
  return text;
}

ComputeOutcome RunCompute(std::string_view rent_text,
                          std::string_view years_text,
                          std::string_view percent_text) {
  ComputeOutcome outcome;
  ScheduleInputs inputs{};
  try {
    inputs.rent = ParseDouble(rent_text);
    inputs.years = ParseInteger(years_text);
    inputs.percent = ParseInteger(percent_text, PercentSign::kAccepted);
  } catch (const RuntimeError& error) {
    outcome.error = ComputeError{error.number(), ComputeStage::kReading};
    return outcome;
  }
  outcome.normal_forms =
      NormalForms{FormatDouble(inputs.rent), FormatInteger(inputs.years),
                  FormatInteger(inputs.percent)};
  try {
    outcome.schedule = BuildSchedule(inputs);
  } catch (const RuntimeError& error) {
    outcome.error = ComputeError{error.number(), ComputeStage::kBuilding};
  }
  return outcome;
}

}  // namespace zorvik
