#ifndef ZORVIK_TESTS_CORE_PROPERTY_CASES_H_
#define ZORVIK_TESTS_CORE_PROPERTY_CASES_H_

// Seeded random inputs for the property tests of the schedule and the two
// conversions. Every build, native or cross, must draw exactly the same cases
// from a seed, so the cases come from the raw output of std::mt19937_64 (whose
// sequence the standard fixes) through integer and bit arithmetic alone: no
// standard distributions and no <cmath>, which differ between libraries.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/rent_schedule.h"

namespace zorvik::property {

// Which cases run: the fixed seed and counts of the suite, or, when the
// environment variable ZORVIK_PROPERTY_SEED holds a number, ten times as many
// cases from that seed (a longer search by hand; only a native build, which
// has the reference, can judge them).
struct Search {
  std::uint64_t seed;
  int scale;
  bool fixed;
};
Search CurrentSearch();

constexpr std::uint64_t kFixedSeed = 20191;
constexpr int kScheduleCases = 3000;
constexpr int kParseCases = 3000;
constexpr int kFormatCases = 6000;

// Rents from subnormal to near the largest double, of both signs; percents
// over the whole 16-bit range but mostly everyday ones; up to a few hundred
// years, and now and then a long schedule.
std::vector<ScheduleInputs> ScheduleCases(std::uint64_t seed, int count);

// Decimal texts at, just below or just above the point halfway between two
// neighbouring doubles (subnormals and the top of the range included), in
// plain, scientific and integer-mantissa forms.
std::vector<std::string> ParseCases(std::uint64_t seed, int count);

// Doubles of every exponent and sign, exact ties at the 16th digit, and
// neighbours of powers of ten, where the rounding changes the exponent form.
std::vector<double> FormatCases(std::uint64_t seed, int count);

// A 32-bit FNV-1a digest, continued from `digest`: the cross builds compare
// these with the reference's, stored in property_expectations.inc.
constexpr std::uint32_t kDigestStart = 2166136261u;
std::uint32_t Digest(std::string_view text,
                     std::uint32_t digest = kDigestStart);

// The texts the digests are taken over. A schedule is its rents, each
// followed by a line feed, then "overflow" if it ended in one; a parse result
// is the double's bits in hex, or "overflow".
template <typename Text>
std::uint32_t ScheduleDigest(const std::vector<Text>& rents, bool overflow) {
  std::uint32_t digest = kDigestStart;
  for (const Text& rent : rents) digest = Digest("\n", Digest(rent, digest));
  return overflow ? Digest("overflow", digest) : digest;
}
std::string ParseResultText(double value);

}  // namespace zorvik::property

#endif  // ZORVIK_TESTS_CORE_PROPERTY_CASES_H_
