#ifndef ZORVIK_CORE_RENT_SCHEDULE_H_
#define ZORVIK_CORE_RENT_SCHEDULE_H_

// The rent escalation schedule and the whole compute action, free of any
// window: three input texts in, their normal forms and the schedule text out.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/numeric_text.h"
#include "core/runtime_error.h"

namespace zorvik {

struct ScheduleInputs {
  double rent;           // the first year's rent
  std::int16_t years;    // how many years to list; none when zero or negative
  std::int16_t percent;  // yearly increase in whole percent; may be negative
};

// Returns one entry per year 1..years, each
//
//   "第 " year " 年租金：  " rent LF CR LF CR LF
//
// (line feed first; a box that breaks lines at CR LF shows every entry on a
// line of its own followed by an empty line). Year 1 shows the input rent;
// every later year's rent is ((percent x previous) / 100) + previous, each of
// the three operations rounded to double precision but, as on an extended-range
// FPU, free of the double's exponent limits: only the stored rent must fit.
// Rent 1 at 100 % therefore lists 1024 years, the last 8.98846567431158E+307,
// although 100 x 2^1022 is beyond the double range.
//
// Throws RuntimeError(kErrorOverflow) when a year's rent is beyond the double
// range, or when the input rent is not finite (ParseDouble never gives such a
// rent); nothing of the text built so far is returned then.
std::string BuildSchedule(const ScheduleInputs& inputs);

enum class ComputeStage {
  kReading,   // converting the three input texts
  kBuilding,  // raising the rent year by year
};

struct ComputeError {
  int number;  // kErrorOverflow or kErrorTypeMismatch
  ComputeStage stage;

  friend bool operator==(const ComputeError&, const ComputeError&) = default;
};

// The inputs as they are written back into their boxes.
struct NormalForms {
  std::string rent;
  std::string years;
  std::string percent;

  friend bool operator==(const NormalForms&, const NormalForms&) = default;
};

struct ComputeOutcome {
  std::optional<NormalForms> normal_forms;  // set once all inputs were read
  std::optional<std::string> schedule;      // set when the schedule was built
  std::optional<ComputeError> error;        // set when the action stopped
};

// The compute action: reads the rent with ParseDouble, then the years and the
// percent with ParseInteger, the percent alone with PercentSign::kAccepted
// ("5%"), stopping at the first that fails (stage kReading, nothing else
// set). Otherwise gives the normal forms and either the schedule
// or the building error (stage kBuilding). Never throws RuntimeError.
ComputeOutcome RunCompute(std::string_view rent_text,
                          std::string_view years_text,
                          std::string_view percent_text);

}  // namespace zorvik

#endif  // ZORVIK_CORE_RENT_SCHEDULE_H_
