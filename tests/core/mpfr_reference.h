#ifndef ZORVIK_TESTS_CORE_MPFR_REFERENCE_H_
#define ZORVIK_TESTS_CORE_MPFR_REFERENCE_H_

// An exact reference for the schedule's arithmetic and the two conversions,
// computed with MPFR and sharing no code with the core, so that the property
// tests can hold the core against it. Native builds only: MPFR is not built
// for the cross targets.

#include <string>
#include <vector>

namespace zorvik::reference {

struct Schedule {
  // Each listed year's rent with 15 significant digits.
  std::vector<std::string> rents;
  // True when the year after the last listed one is beyond the double range.
  bool overflow = false;
};

// Year 1 is `rent`; every later year is ((percent x previous) / 100) +
// previous, each operation rounded to 53 bits with no exponent limit, and the
// result stored as a double. The schedule stops at the first year whose stored
// rent is beyond the double range.
Schedule RentSchedule(double rent, int years, int percent);

// `value` with 15 significant digits, rounded from its exact binary value
// (ties to even), in the plain form from 1E-4 up to below 1E+15 and in the
// exponent form ("1.5E-05", "1E+15") beyond; zeros give "0".
std::string Text(double value);

// The double nearest to a decimal text (ties to even), subnormals included;
// infinity, with the text's sign, when it rounds beyond the double range.
double Parse(const std::string& text);

}  // namespace zorvik::reference

#endif  // ZORVIK_TESTS_CORE_MPFR_REFERENCE_H_
