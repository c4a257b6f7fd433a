// Any bytes as the text of an input box: the conversions never crash, raise
// only 6 or 13, agree with each other, and the 15-digit form is stable.

#include <cfenv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/numeric_text.h"
#include "fuzz/fuzz_check.h"

namespace {

bool IsKnownError(int number) {
  return number == zorvik::kErrorOverflow ||
         number == zorvik::kErrorTypeMismatch;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  std::optional<double> real;
  int real_error = 0;
  try {
    real = zorvik::ParseDouble(text);
    FUZZ_CHECK(std::isfinite(*real));
  } catch (const zorvik::RuntimeError& error) {
    real_error = error.number();
    FUZZ_CHECK(IsKnownError(real_error));
  }

  try {
    const std::int16_t integer = zorvik::ParseInteger(text);
    // Whatever ParseInteger accepts, ParseDouble accepts, and the integer
    // is its half-to-even rounding (nearbyint under the default mode).
    FUZZ_CHECK(real.has_value());
    FUZZ_CHECK(std::fegetround() == FE_TONEAREST);
    FUZZ_CHECK(integer == std::nearbyint(*real));
  } catch (const zorvik::RuntimeError& error) {
    FUZZ_CHECK(IsKnownError(error.number()));
    if (!real) FUZZ_CHECK(error.number() == real_error);
    if (real) FUZZ_CHECK(error.number() == zorvik::kErrorOverflow);
  }

  // With the percent sign accepted, as the increase box reads, every text
  // reads as before, and a text that only then converts holds the sign.
  try {
    const double percent =
        zorvik::ParseDouble(text, zorvik::PercentSign::kAccepted);
    if (real) FUZZ_CHECK(percent == *real);
    if (!real) {
      FUZZ_CHECK(text.find('%') != std::string_view::npos ||
                 text.find("\uFF05") != std::string_view::npos);
    }
  } catch (const zorvik::RuntimeError& error) {
    FUZZ_CHECK(!real);
    FUZZ_CHECK(IsKnownError(error.number()));
  }

  if (real) {
    const std::string formatted = zorvik::FormatDouble(*real);
    // The written-back form is the plain one: no grouping, no currency mark,
    // no blank.
    FUZZ_CHECK(formatted.find_first_not_of("0123456789.-+E") ==
               std::string::npos);
    const double back = zorvik::ParseDouble(formatted);
    FUZZ_CHECK(zorvik::FormatDouble(back) == formatted);
  }
  return 0;
}
