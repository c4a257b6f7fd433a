#ifndef ZORVIK_CORE_NUMERIC_TEXT_H_
#define ZORVIK_CORE_NUMERIC_TEXT_H_

// The four conversions between text and numbers that every part of Zorvik
// uses. The input guards and the compute action must agree on what converts,
// so both go through exactly these functions. Text is UTF-8. The decimal
// separator is always the full stop, whatever the process locale says.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/runtime_error.h"

namespace zorvik {

// Whether a trailing percent sign is part of the number. Only the box of the
// yearly increase reads one; everywhere else "5%" is not a number rather than
// 5 or 0.05.
enum class PercentSign : bool { kRefused, kAccepted };

// Reads a number, as people type or paste it. The grammar, after optional
// blanks on either side:
//
//   [sign] [¥ [inner]] [sign] mantissa [(E|e) [+|-] digits] suffix
//   mantissa = grouped [. digits*] | digits [. digits*] | . digits
//   grouped  = 1 to 3 digits, then one or more of "," and exactly 3 digits
//   suffix   = [[inner] (万|亿)] [[inner] 元]  |  [inner] %
//   inner    = one or more spaces, no-break spaces or ideographic spaces
//
// with at most one sign, ¥ or 元 but not both, and % (only with
// PercentSign::kAccepted) with neither. 万 and 亿 move the decimal point by 4
// and 8 places, so "1.2万" is exactly 12000. "5.", ".5", "1,000",
// "¥12,000.00", "¥ 12,000.00", "-¥5", "¥-5", "12,000元", "12,000.00 元",
// "1.2万元", "3亿", "−5" (U+2212) and "1000\n" (a pasted spreadsheet cell)
// are numbers, and so is "5 %" where a percent sign is accepted; "", "-",
// ".", "1e", "inf", "0x10", "1,00", "1,0000", "1,5", "1.000,5", "12 000",
// "- 5", "-¥-5", "¥1元", "5%元", "1万万", "3500元/月" and "1000\n2000" are not.
// A comma is only ever a thousands separator, and only a well-formed one:
// "1,5" is rejected rather than read as 15 by a user who meant 1.5.
//
// Blanks around the number are space, tab, CR, LF and the ideographic space
// U+3000; inside, before a mark or after ¥, only space, U+3000 and the
// no-break space U+00A0 (which currency formats put there) are. The
// full-width forms that Chinese input methods type are read like their ASCII
// counterparts: digits U+FF10..U+FF19, full stop U+FF0E and the ideographic
// full stop U+3002, comma U+FF0C, signs U+FF0B and U+FF0D, exponent letters
// U+FF25 and U+FF45, percent sign U+FF05, and the yen sign U+FFE5 like U+00A5
// ("１２，０００" is 12000, "1102。5" is 1102.5, "５％" is 5). Exponents may
// have any number of digits.
//
// Returns the double nearest to the decimal value (ties to even). A magnitude
// that rounds to zero or to a subnormal is a number like any other
// ("1E-400" gives 0).
//
// Throws RuntimeError(kErrorTypeMismatch) when the text is not a number
// (including invalid UTF-8 and embedded NULs), and RuntimeError(kErrorOverflow)
// when its magnitude is too large for a double ("1E400", "1E305亿").
double ParseDouble(std::string_view text,
                   PercentSign percent_sign = PercentSign::kRefused);

// Reads the text exactly as ParseDouble does, then rounds to the nearest whole
// number, halfway cases to the even one (0.5 -> 0, 1.5 -> 2, 2.5 -> 2,
// -2.5 -> -2). The range is checked after rounding: 32767.5 rounds to 32768
// and throws RuntimeError(kErrorOverflow); -32768.5 gives -32768; "4万" is
// 40000 and throws it too.
std::int16_t ParseInteger(std::string_view text,
                          PercentSign percent_sign = PercentSign::kRefused);

// Writes a double with at most 15 significant digits, rounded from its exact
// binary value (an exact tie at the 16th digit goes to the even digit).
// Trailing fraction zeros and a bare separator are dropped; magnitudes below 1
// get a leading "0"; both zeros give "0"; no plus sign, no grouping and no
// currency mark:
//   1000 -> "1000", 1102.50 -> "1102.5", 0.5 -> "0.5",
//   1276.2815624999998 -> "1276.2815625".
// Magnitudes from 1E+15 up, and below 1E-4 (the %g rule), use the exponent
// form: the mantissa by the same rules, "E", a sign and at least two digits:
//   1E+15, 1.5E+20, 8.98846567431158E+307, 1.5E-05.
// Infinities and NaN never come out of the schedule; should one be passed,
// the result is "inf", "-inf" or "nan", which ParseDouble rejects.
std::string FormatDouble(double value);

// Appends FormatDouble(value) to `out` without building a temporary string.
void AppendDouble(std::string& out, double value);

// AppendDouble with the rounded digits from `to_digits`, one of the ways of
// decimal_conversion.h, so that tests can hold each against the reference;
// AppendDouble takes decimal::ToDigits, the one this build uses.
void AppendDoubleWith(std::string& out, double value,
                      int (*to_digits)(double magnitude, int count, char* out));

// Decimal digits without leading zeros, with a minus sign for negatives.
std::string FormatInteger(std::int16_t value);

// Appends FormatInteger(value) to `out`.
void AppendInteger(std::string& out, std::int16_t value);

}  // namespace zorvik

#endif  // ZORVIK_CORE_NUMERIC_TEXT_H_
