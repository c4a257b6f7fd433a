#include "tests/core/mpfr_reference.h"

#include <mpfr.h>

#include <cmath>
#include <stdexcept>
#include <string_view>

namespace zorvik::reference {
namespace {

constexpr mpfr_prec_t kDoubleBits = 53;
constexpr int kDigits = 15;

// One MPFR number of a double's precision.
class Number {
 public:
  Number() { mpfr_init2(value_, kDoubleBits); }
  ~Number() { mpfr_clear(value_); }
  Number(const Number&) = delete;
  Number& operator=(const Number&) = delete;

  mpfr_ptr get() { return value_; }

 private:
  mpfr_t value_;
};

// Sets MPFR's exponent range for one computation and restores it on every
// way out.
class ScopedExponentRange {
 public:
  ScopedExponentRange(mpfr_exp_t emin, mpfr_exp_t emax)
      : saved_emin_(mpfr_get_emin()), saved_emax_(mpfr_get_emax()) {
    mpfr_set_emin(emin);
    mpfr_set_emax(emax);
  }
  ~ScopedExponentRange() {
    mpfr_set_emin(saved_emin_);
    mpfr_set_emax(saved_emax_);
  }
  ScopedExponentRange(const ScopedExponentRange&) = delete;
  ScopedExponentRange& operator=(const ScopedExponentRange&) = delete;

 private:
  mpfr_exp_t saved_emin_;
  mpfr_exp_t saved_emax_;
};

}  // namespace

Schedule RentSchedule(double rent, int years, int percent) {
  // As wide as MPFR allows: no operation of a raise can leave it.
  const ScopedExponentRange widest(mpfr_get_emin_min(), mpfr_get_emax_max());
  Schedule schedule;
  Number current, product, quotient, sum;
  double stored = rent;
  for (int year = 1; year <= years; ++year) {
    if (year > 1) {
      mpfr_set_d(current.get(), stored, MPFR_RNDN);
      mpfr_mul_si(product.get(), current.get(), percent, MPFR_RNDN);
      mpfr_div_ui(quotient.get(), product.get(), 100, MPFR_RNDN);
      mpfr_add(sum.get(), quotient.get(), current.get(), MPFR_RNDN);
      // Storing the rent rounds it to a double: to a subnormal when tiny,
      // and to infinity when beyond the range.
      stored = mpfr_get_d(sum.get(), MPFR_RNDN);
      if (std::isinf(stored)) {
        schedule.overflow = true;
        break;
      }
    }
    schedule.rents.push_back(Text(stored));
  }
  return schedule;
}

std::string Text(double value) {
  if (value == 0) return "0";
  Number number;
  mpfr_set_d(number.get(), std::fabs(value), MPFR_RNDN);
  mpfr_exp_t point = 0;  // value = 0.digits x 10^point
  char* raw =
      mpfr_get_str(nullptr, &point, 10, kDigits, number.get(), MPFR_RNDN);
  std::string_view digits = raw;
  while (digits.size() > 1 && digits.back() == '0') digits.remove_suffix(1);

  std::string text;
  text.reserve(24);
  if (value < 0) text += '-';
  const auto exponent = static_cast<long>(point) - 1;  // of the first digit
  if (exponent >= kDigits || exponent < -4) {
    text += digits[0];
    if (digits.size() > 1) text.append(".").append(digits.substr(1));
    text += exponent < 0 ? "E-" : "E+";
    const long magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) text += '0';
    text += std::to_string(magnitude);
  } else if (exponent < 0) {
    text.append("0.").append(static_cast<std::size_t>(-exponent - 1), '0');
    text += digits;
  } else {
    const auto whole = static_cast<std::size_t>(exponent + 1);
    text += digits.substr(0, whole);
    if (digits.size() <= whole) {
      text.append(whole - digits.size(), '0');
    } else {
      text.append(".").append(digits.substr(whole));
    }
  }
  mpfr_free_str(raw);
  return text;
}

double Parse(const std::string& text) {
  // The double's own range, so that MPFR rounds subnormals as a double does:
  // numbers from 2^-1074 (0.1 x 2^-1073) to just under 2^1024.
  const ScopedExponentRange doubles(-1073, 1024);
  Number number;
  char* end = nullptr;
  int rounding = mpfr_strtofr(number.get(), text.c_str(), &end, 10, MPFR_RNDN);
  if (end == text.c_str() || *end != '\0') {
    throw std::invalid_argument("not a decimal number: " + text);
  }
  rounding = mpfr_check_range(number.get(), rounding, MPFR_RNDN);
  mpfr_subnormalize(number.get(), rounding, MPFR_RNDN);
  return mpfr_get_d(number.get(), MPFR_RNDN);
}

}  // namespace zorvik::reference
