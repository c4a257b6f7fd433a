// Speed of the schedule core. The "Floor" benchmarks do the same arithmetic
// and comparable formatting with nothing else around them (no range scaling,
// no overflow check, the library's own %g-like output): what a schedule of
// that length cannot be built faster than.

#include <benchmark/benchmark.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/numeric_text.h"
#include "core/rent_schedule.h"

namespace {

// Percent -1 keeps every entry's rent at a full 15 significant digits.
constexpr double kRent = 1000.0;
constexpr std::int16_t kPercent = -1;

void BM_BuildSchedule(benchmark::State& state) {
  const zorvik::ScheduleInputs inputs{
      kRent, static_cast<std::int16_t>(state.range(0)), kPercent};
  for (auto _ : state) {
    benchmark::DoNotOptimize(zorvik::BuildSchedule(inputs));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BuildSchedule)->Arg(10)->Arg(100)->Arg(32767);

void BM_FloorSchedule(benchmark::State& state) {
  const auto years = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::string text;
    text.reserve(static_cast<std::size_t>(years) * 48);
    std::array<char, 32> buffer{};
    double current = kRent;
    for (int year = 1; year <= years; ++year) {
      if (year > 1) current = kPercent * current / 100.0 + current;
      text += "第 ";
      text.append(
          buffer.data(),
          std::to_chars(buffer.data(), buffer.data() + buffer.size(), year)
              .ptr);
      text += " 年租金：  ";
      text.append(buffer.data(),
                  std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                current, std::chars_format::general, 15)
                      .ptr);
      text += "\n\r\n\r\n";
    }
    benchmark::DoNotOptimize(text);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FloorSchedule)->Arg(10)->Arg(100)->Arg(32767);

void BM_ParseDouble(benchmark::State& state) {
  constexpr std::string_view kTexts[] = {"1000", "  1477.45544378906 ", "1.5E3",
                                         "１０００．５"};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zorvik::ParseDouble(kTexts[i++ % 4]));
  }
}
BENCHMARK(BM_ParseDouble);

void BM_ParseOfficeSpellings(benchmark::State& state) {
  constexpr std::string_view kTexts[] = {"1.2万元", "￥ 12,000.00",
                                         "12,000.00\u00A0元", "−5 ％"};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        zorvik::ParseDouble(kTexts[i++ % 4], zorvik::PercentSign::kAccepted));
  }
}
BENCHMARK(BM_ParseOfficeSpellings);

// A megabyte pasted into a box: the guard reads the whole text at once.
void BM_ParseMegabyte(benchmark::State& state) {
  const std::string text = "0." + std::string(std::size_t{1} << 20, '1');
  for (auto _ : state) {
    benchmark::DoNotOptimize(zorvik::ParseDouble(text));
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ParseMegabyte);

void BM_FormatDouble(benchmark::State& state) {
  constexpr double kValues[] = {1000.0, 1477.4554437890622,
                                8.98846567431158e307, 0.5};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zorvik::FormatDouble(kValues[i++ % 4]));
  }
}
BENCHMARK(BM_FormatDouble);

}  // namespace
