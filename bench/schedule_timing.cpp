// Times the schedule core where Google Benchmark is not at hand (the
// WebAssembly build, run under Node.js), so that the same program, built
// natively and for the browser, gives figures to set side by side:
//   build/release/bench/schedule_timing
//   node build/web/bench/schedule_timing.js
// Prints the median of several runs of BuildSchedule for 100 and 32767 years,
// and of ParseDouble and FormatDouble per call.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/numeric_text.h"
#include "core/rent_schedule.h"

namespace {

using Clock = std::chrono::steady_clock;

// What the optimiser must not drop.
std::size_t sink = 0;

// The median of `runs` timings of `work`, each `repeat` calls long, in
// microseconds per call.
template <typename Work>
double MedianMicroseconds(int runs, int repeat, Work work) {
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    for (int i = 0; i < repeat; ++i) work(i);
    const std::chrono::duration<double, std::micro> took = Clock::now() - start;
    times.push_back(took.count() / repeat);
  }
  std::nth_element(times.begin(), times.begin() + runs / 2, times.end());
  return times[runs / 2];
}

}  // namespace

int main() {
  // Percent -1 keeps every entry's rent at a full 15 significant digits.
  for (const std::int16_t years : {std::int16_t{100}, std::int16_t{32767}}) {
    const double us = MedianMicroseconds(9, years > 1000 ? 5 : 2000, [&](int) {
      sink += zorvik::BuildSchedule({1000.0, years, -1}).size();
    });
    std::printf("BuildSchedule, %5d years: %10.1f us\n", years, us);
  }
  constexpr std::string_view kTexts[] = {"1000", "  1477.45544378906 ", "1.5E3",
                                         "１０００．５"};
  std::printf(
      "ParseDouble per call:      %10.3f us\n",
      MedianMicroseconds(9, 100000, [&](int i) {
        sink += static_cast<std::size_t>(zorvik::ParseDouble(kTexts[i % 4]));
      }));
  constexpr double kValues[] = {1000.0, 1477.4554437890622,
                                8.98846567431158e307, 0.5};
  std::printf("FormatDouble per call:     %10.3f us\n",
              MedianMicroseconds(9, 100000, [&](int i) {
                sink += zorvik::FormatDouble(kValues[i % 4]).size();
              }));
  return sink == 0 ? 1 : 0;
}
