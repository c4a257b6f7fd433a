#ifndef ZORVIK_CORE_DECIMAL_CONVERSION_H_
#define ZORVIK_CORE_DECIMAL_CONVERSION_H_

// The two correctly rounded steps between decimal digits and doubles that the
// numeric text conversions build on. They use the standard library's
// floating-point <charconv> where it has one. Some C++ libraries lack it (the
// one WebAssembly builds use, for one); there they fall back on the C
// library's strtod and snprintf, which the C libraries Zorvik is built with
// round correctly. Either way the result does not depend on the process
// locale: the fallback hands strtod no decimal separator at all, and takes
// only the digits and the exponent from snprintf.

#include <string>

namespace zorvik::decimal {

// The value of `digits` x 10^exponent, rounded to the nearest double, ties to
// even. `digits` is a non-empty run of ASCII decimal digits; the buffer is
// taken over and used as scratch. A value too large for a double gives
// infinity, one too small gives zero or a subnormal:
//   ToDouble("11025", -1) == 1102.5, ToDouble("1", 400) == inf.
double ToDouble(std::string digits, int exponent);

// Rounds a finite `magnitude` > 0 to `count` (1 to 17) significant decimal
// digits from its exact binary value, ties to even. Writes the `count` digits
// to `out` and returns the decimal exponent of the first one:
//   ToDigits(1477.4554437890622, 15, out) == 3, out = "147745544378906".
int ToDigits(double magnitude, int count, char* out);

// The C library's versions of the two, built everywhere so that tests can hold
// them against the standard library's where both exist.
namespace c_library {
double ToDouble(std::string digits, int exponent);
int ToDigits(double magnitude, int count, char* out);
}  // namespace c_library

// ToDigits in 64- and 128-bit integer arithmetic, for builds whose standard
// library lacks floating-point <charconv>: there the C library's snprintf
// goes through a software long double, over ten times slower. It scales the
// double by a power of ten known to 2^-120 and takes the rounded digits
// wherever that error cannot change them; a value within the error of a
// rounding tie (an exact tie, in practice) goes to the C library's snprintf.
// The result is the same as the other two ways', built everywhere so that the
// native tests hold it against those and the exact reference.
namespace integer {
int ToDigits(double magnitude, int count, char* out);
}  // namespace integer

}  // namespace zorvik::decimal

#endif  // ZORVIK_CORE_DECIMAL_CONVERSION_H_
