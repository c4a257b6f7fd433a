// decimal::integer::ToDigits: a double's leading decimal digits from 64- and
// 128-bit integer products with a power of ten known to about 2^-120.

#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>

#include "core/decimal_conversion.h"

namespace zorvik::decimal::integer {
namespace {

// GCC and Clang have it on every target Zorvik is built for; WebAssembly
// builds it from 64-bit operations, which is still far cheaper than the
// C library's software long double.
__extension__ typedef unsigned __int128 Uint128;  // NOLINT(modernize-use-using)

// high:low x 2^exponent, with the top bit of `high` set: a power of ten
// rounded down to 128 bits.
struct Power {
  std::uint64_t high;
  std::uint64_t low;
  int exponent;
};

// The top 128 bits of the 192-bit number w2:w1:w0 (w2 != 0), as a Power of
// `exponent` + 64 for the 128-bit word at the top.
constexpr Power Normalized(std::uint64_t w2, std::uint64_t w1, std::uint64_t w0,
                           int exponent) {
  const int shift = std::countl_zero(w2);
  if (shift == 0) return {w2, w1, exponent + 64};
  return {(w2 << shift) | (w1 >> (64 - shift)),
          (w1 << shift) | (w0 >> (64 - shift)), exponent + 64 - shift};
}

// `power` x `factor`, rounded down to 128 bits.
constexpr Power Times(const Power& power, std::uint64_t factor) {
  if (factor == 1) return power;
  const Uint128 low = Uint128{power.low} * factor;
  const Uint128 high = Uint128{power.high} * factor + (low >> 64);
  return Normalized(static_cast<std::uint64_t>(high >> 64),
                    static_cast<std::uint64_t>(high),
                    static_cast<std::uint64_t>(low), power.exponent);
}

// `power` / `divisor`, rounded down to 128 bits: high:low:0 divided limb by
// limb, which leaves at least 137 significant bits for a divisor below 2^54.
constexpr Power Over(const Power& power, std::uint64_t divisor) {
  const std::array<std::uint64_t, 3> limbs = {power.high, power.low, 0};
  std::array<std::uint64_t, 3> quotient{};
  Uint128 remainder = 0;
  for (std::size_t i = 0; i < limbs.size(); ++i) {
    const Uint128 current = (remainder << 64) | limbs[i];
    quotient[i] = static_cast<std::uint64_t>(current / divisor);
    remainder = current % divisor;
  }
  return Normalized(quotient[0], quotient[1], quotient[2], power.exponent - 64);
}

constexpr std::array<std::uint64_t, 18> kPowersOfTen = [] {
  std::array<std::uint64_t, 18> powers{};
  powers[0] = 1;
  for (std::size_t i = 1; i < powers.size(); ++i) {
    powers[i] = powers[i - 1] * 10;
  }
  return powers;
}();

// 10^(16 x block) for the blocks a double's scaling needs (10^-308 to
// 10^341, with room for a correction either way), each a step of 10^16 from
// the one before. Each step rounds down twice at most, by under 2^-127 of
// the value, so after 22 steps, and the step within a block, the error is
// under 2^-121.
constexpr int kBlockDigits = 16;
constexpr int kLowestBlock = -21;
constexpr int kHighestBlock = 22;
constexpr auto kBlocks = [] {
  std::array<Power, kHighestBlock - kLowestBlock + 1> blocks{};
  constexpr int kOne = -kLowestBlock;
  blocks[kOne] = {std::uint64_t{1} << 63, 0, -127};
  const std::uint64_t step = kPowersOfTen[kBlockDigits];
  for (int i = kOne + 1; i < static_cast<int>(blocks.size()); ++i) {
    blocks[i] = Times(blocks[i - 1], step);
  }
  for (int i = kOne - 1; i >= 0; --i) blocks[i] = Over(blocks[i + 1], step);
  return blocks;
}();

// magnitude x 10^scale as an integer part and the top 64 bits of its
// fraction, never above the exact value and below it by less than 2^-58 (the
// power's 2^-120 of a part below 2^61, and the fraction's cut at 64 bits).
struct Scaled {
  bool valid;  // false where the scale or the result is out of this range
  std::uint64_t integer;
  std::uint64_t fraction;
};

Scaled Scale(std::uint64_t mantissa, int exponent, int scale) {
  // Floor division: scale = 16 x block + within, within in [0, 16).
  const int block = scale >= 0 ? scale / kBlockDigits
                               : -((kBlockDigits - 1 - scale) / kBlockDigits);
  const int within = scale - kBlockDigits * block;
  if (block < kLowestBlock || block > kHighestBlock) return {false, 0, 0};
  const Power power =
      Times(kBlocks[static_cast<std::size_t>(block - kLowestBlock)],
            kPowersOfTen[static_cast<std::size_t>(within)]);
  // mantissa x power: high:low64, a 192-bit product.
  const Uint128 low = Uint128{power.low} * mantissa;
  const Uint128 high = Uint128{power.high} * mantissa + (low >> 64);
  // The binary point lies `point` bits above the product's lowest bit.
  const int point = -(power.exponent + exponent);
  const int within_high = point - 64;
  if (within_high < 1 || within_high > 127) return {false, 0, 0};
  const Uint128 integer = high >> within_high;
  if ((integer >> 64) != 0) return {false, 0, 0};
  const std::uint64_t fraction =
      within_high >= 64
          ? static_cast<std::uint64_t>(high >> (within_high - 64))
          : (static_cast<std::uint64_t>(high) << (64 - within_high)) |
                (static_cast<std::uint64_t>(low) >> within_high);
  return {true, static_cast<std::uint64_t>(integer), fraction};
}

// A fraction this close to one half may lie on either side of it, or on it:
// far wider than the error, so that only ties and near-ties are left out.
constexpr std::uint64_t kHalf = std::uint64_t{1} << 63;
constexpr std::uint64_t kTieBand = std::uint64_t{1} << 16;

}  // namespace

int ToDigits(double magnitude, int count, char* out) {
  assert(magnitude > 0 && count >= 1 && count <= 17);
  // memcpy, not std::bit_cast: WebAssembly's older libc++ lacks it.
  std::uint64_t bits = 0;
  std::memcpy(&bits, &magnitude, sizeof bits);
  const int biased = static_cast<int>(bits >> 52);
  std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
  int exponent = biased == 0 ? -1074 : biased - 1075;
  if (biased != 0) mantissa |= std::uint64_t{1} << 52;
  // magnitude = mantissa x 2^exponent, mantissa in [2^52, 2^53).
  const int normalize = std::countl_zero(mantissa) - 11;
  mantissa <<= normalize;
  exponent -= normalize;

  // floor(log10(2^(exponent + 52))): the first digit's decimal exponent, or
  // one less. 78913 / 2^18 is log10(2) closely enough for |exponent| < 1650.
  int first = ((exponent + 52) * 78913) >> 18;
  const std::uint64_t lowest =
      kPowersOfTen[static_cast<std::size_t>(count - 1)];
  const std::uint64_t beyond = kPowersOfTen[static_cast<std::size_t>(count)];
  for (int attempt = 0; attempt < 3; ++attempt) {
    const Scaled scaled = Scale(mantissa, exponent, count - 1 - first);
    if (!scaled.valid) break;
    if (scaled.integer < lowest) {
      --first;
      continue;
    }
    if (scaled.integer >= beyond) {
      ++first;
      continue;
    }
    const std::uint64_t from_half = scaled.fraction >= kHalf
                                        ? scaled.fraction - kHalf
                                        : kHalf - scaled.fraction;
    if (from_half <= kTieBand) break;
    std::uint64_t digits = scaled.integer + (scaled.fraction > kHalf ? 1 : 0);
    if (digits == beyond) {
      digits = lowest;
      ++first;
    }
    for (int i = count - 1; i >= 0; --i) {
      out[i] = static_cast<char>('0' + digits % 10);
      digits /= 10;
    }
    return first;
  }
  return c_library::ToDigits(magnitude, count, out);
}

}  // namespace zorvik::decimal::integer
