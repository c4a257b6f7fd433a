#include "tests/core/property_cases.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <random>

#include "tests/core/test_support.h"

namespace zorvik::property {
namespace {

constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << 52) - 1;
constexpr std::uint64_t kSignBit = std::uint64_t{1} << 63;
constexpr int kLargestExponentField = 2046;  // 2047 is infinity and NaN

class Draw {
 public:
  explicit Draw(std::uint64_t seed) : engine_(seed) {}

  std::uint64_t Bits() { return engine_(); }

  // A whole number from `low` to `high`, both included.
  std::int64_t Between(std::int64_t low, std::int64_t high) {
    const auto span = static_cast<std::uint64_t>(high - low) + 1;
    return low + static_cast<std::int64_t>(engine_() % span);
  }

  // True in `percent` cases out of a hundred.
  bool Chance(int percent) { return Between(0, 99) < percent; }

  // A positive double whose biased exponent lies in [low, high]; 0 is the
  // subnormals.
  double WithExponentField(int low, int high) {
    const auto field = static_cast<std::uint64_t>(Between(low, high));
    return DoubleFromBits(field << 52 | (Bits() & kFractionMask));
  }

  // An everyday amount: whole cents up to a million.
  double Cents() {
    return static_cast<double>(Between(1, 100'000'000)) / 100.0;
  }

  double WithSign(double magnitude, int negative_percent) {
    return Chance(negative_percent) ? -magnitude : magnitude;
  }

 private:
  std::mt19937_64 engine_;
};

double Rent(Draw& draw) {
  const std::int64_t kind = draw.Between(0, 99);
  double magnitude = 0.0;
  if (kind < 45) {
    magnitude = draw.Cents();
  } else if (kind < 55) {
    magnitude = static_cast<double>(draw.Between(1, 10'000'000));
  } else if (kind < 75) {
    magnitude = draw.WithExponentField(0, kLargestExponentField);
  } else if (kind < 87) {
    magnitude = draw.WithExponentField(2020, kLargestExponentField);
  } else if (kind < 99) {
    magnitude = draw.WithExponentField(0, 40);  // subnormal and tiny
  }
  return draw.WithSign(magnitude, 20);
}

std::int16_t Percent(Draw& draw) {
  constexpr std::array<std::int16_t, 8> kSteep = {-200, -101, -100, -99,
                                                  -50,  99,   100,  200};
  const std::int64_t kind = draw.Between(0, 99);
  if (kind < 60) return static_cast<std::int16_t>(draw.Between(-20, 50));
  if (kind < 70) {
    return kSteep[static_cast<std::size_t>(draw.Between(0, kSteep.size() - 1))];
  }
  return static_cast<std::int16_t>(draw.Between(-32768, 32767));
}

std::int16_t Years(Draw& draw) {
  const std::int64_t kind = draw.Between(0, 999);
  if (kind < 5) return static_cast<std::int16_t>(draw.Between(1000, 32767));
  if (kind < 15) return static_cast<std::int16_t>(draw.Between(-3, 0));
  return static_cast<std::int16_t>(draw.Between(1, 300));
}

// The decimal digits of value x base^power, for a base of 2 or 5, by long
// multiplication in limbs of nine digits.
std::string DigitsOfProduct(std::uint64_t value, std::uint64_t base,
                            int power) {
  constexpr std::uint64_t kLimb = 1'000'000'000;
  std::vector<std::uint64_t> limbs;  // least significant first
  for (; value != 0; value /= kLimb) limbs.push_back(value % kLimb);
  // The largest power of either base below 2^32 keeps limb x factor in range.
  const int chunk = base == 2 ? 31 : 13;
  for (; power > 0; power -= chunk) {
    std::uint64_t factor = 1;
    for (int i = 0; i < std::min(power, chunk); ++i) factor *= base;
    std::uint64_t carry = 0;
    for (std::uint64_t& limb : limbs) {
      const std::uint64_t product = limb * factor + carry;
      limb = product % kLimb;
      carry = product / kLimb;
    }
    for (; carry != 0; carry /= kLimb) limbs.push_back(carry % kLimb);
  }
  std::string digits = std::to_string(limbs.back());
  for (auto limb = limbs.rbegin() + 1; limb != limbs.rend(); ++limb) {
    const std::string part = std::to_string(*limb);
    digits.append(9 - part.size(), '0');
    digits += part;
  }
  return digits;
}

// Adds one to the last digit.
void Increment(std::string& digits) {
  for (std::size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return;
    }
    digits[i] = '0';
  }
  digits.insert(digits.begin(), '1');
}

// digits x 10^exponent, written in one of the forms people type.
std::string Written(const std::string& digits, int exponent, Draw& draw) {
  const auto length = static_cast<int>(digits.size());
  switch (draw.Between(0, 2)) {
    case 0:
      return digits + "e" + std::to_string(exponent);
    case 1:
      return digits.substr(0, 1) + "." + digits.substr(1) + "E" +
             std::to_string(exponent + length - 1);
    default:
      if (exponent >= 0) return digits + std::string(exponent, '0');
      if (length > -exponent) {
        return digits.substr(0, length + exponent) + "." +
               digits.substr(length + exponent);
      }
      return "0." + std::string(-exponent - length, '0') + digits;
  }
}

double ParsePoint(Draw& draw) {
  const std::int64_t kind = draw.Between(0, 99);
  if (kind < 50) return draw.WithExponentField(0, kLargestExponentField);
  if (kind < 65) return draw.Cents();
  if (kind < 75) return draw.WithExponentField(0, 0);
  if (kind < 85) return draw.WithExponentField(1023, 1023 + 75);
  if (kind < 95) return draw.WithExponentField(2040, kLargestExponentField);
  return DoubleFromBits(0x7FEFFFFFFFFFFFFF);  // the largest double
}

std::string ParseCase(Draw& draw) {
  // The double below is mantissa x 2^exponent; halfway to the next one up is
  // (2 mantissa + 1) x 2^(exponent - 1).
  const std::uint64_t bits = BitsOf(ParsePoint(draw));
  const auto field = static_cast<int>(bits >> 52);
  const std::uint64_t mantissa =
      (bits & kFractionMask) | (field == 0 ? 0 : kFractionMask + 1);
  const int shift = std::max(field, 1) - 1075 - 1;
  std::string digits = shift >= 0
                           ? DigitsOfProduct(2 * mantissa + 1, 2, shift)
                           : DigitsOfProduct(2 * mantissa + 1, 5, -shift);
  int exponent = std::min(shift, 0);

  // Exactly halfway, or cut to 16 to 40 digits: below, or one unit of the
  // last digit above.
  const std::int64_t variant = draw.Between(0, 4);
  if (variant > 0) {
    const auto length = static_cast<int>(draw.Between(16, 40));
    const auto size = static_cast<int>(digits.size());
    if (size > length) {
      digits.resize(static_cast<std::size_t>(length));
      exponent += size - length;
    } else if (variant > 2) {
      digits.append(static_cast<std::size_t>(length - size), '0');
      exponent -= length - size;
    }
    if (variant > 2) Increment(digits);
  }
  std::string text = draw.Chance(15) ? "-" : "";
  text += Written(digits, exponent, draw);
  return text;
}

double FormatCase(Draw& draw) {
  const std::int64_t kind = draw.Between(0, 99);
  if (kind < 50) {
    return draw.WithSign(draw.WithExponentField(0, kLargestExponentField), 50);
  }
  if (kind < 70) {
    // Sixteen digits ending in 5: an exact tie at the 16th digit, or, scaled
    // down by a power of ten, next to one.
    const auto tie = static_cast<double>(
        draw.Between(100'000'000'000'000, 900'719'925'474'099) * 10 + 5);
    const bool scaled = draw.Chance(50);
    const std::int64_t scale = draw.Between(1, 22);
    double power = 1.0;
    for (std::int64_t i = scaled ? scale : 0; i > 0; --i) power *= 10.0;
    return draw.WithSign(tie / power, 20);
  }
  if (kind < 90) {
    // A few units in the last place either side of a power of ten (exact up
    // to 10^22, correctly rounded below 1): where 15 digits round up to the
    // next power and the exponent form may begin.
    const std::int64_t exponent = draw.Between(-22, 22);
    double power = 1.0;
    for (std::int64_t i = 0; i < (exponent < 0 ? -exponent : exponent); ++i) {
      power *= 10.0;
    }
    if (exponent < 0) power = 1.0 / power;
    const auto bits =
        static_cast<std::int64_t>(BitsOf(power)) + draw.Between(-16, 16);
    return draw.WithSign(DoubleFromBits(static_cast<std::uint64_t>(bits)), 20);
  }
  if (kind < 98) return draw.WithSign(draw.Cents(), 20);
  return draw.WithSign(0.0, 50);
}

}  // namespace

Search CurrentSearch() {
  const char* seed = std::getenv("ZORVIK_PROPERTY_SEED");
  if (seed == nullptr || *seed == '\0') return {kFixedSeed, 1, true};
  return {std::strtoull(seed, nullptr, 10), 10, false};
}

std::vector<ScheduleInputs> ScheduleCases(std::uint64_t seed, int count) {
  Draw draw(seed);
  std::vector<ScheduleInputs> cases;
  cases.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const double rent = Rent(draw);
    const std::int16_t years = Years(draw);
    cases.push_back({rent, years, Percent(draw)});
  }
  return cases;
}

std::vector<std::string> ParseCases(std::uint64_t seed, int count) {
  Draw draw(seed + 1);  // a stream of its own, unlike the schedules'
  std::vector<std::string> cases;
  cases.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) cases.push_back(ParseCase(draw));
  return cases;
}

std::vector<double> FormatCases(std::uint64_t seed, int count) {
  Draw draw(seed + 2);
  std::vector<double> cases;
  cases.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) cases.push_back(FormatCase(draw));
  return cases;
}

std::uint32_t Digest(std::string_view text, std::uint32_t digest) {
  for (const char c : text) {
    digest = (digest ^ static_cast<unsigned char>(c)) * 16777619u;
  }
  return digest;
}

std::string ParseResultText(double value) {
  const std::uint64_t bits = BitsOf(value) & ~kSignBit;
  if (bits == 0x7FF0000000000000) return "overflow";
  std::array<char, 16> hex{};
  const auto end =
      std::to_chars(hex.data(), hex.data() + hex.size(), BitsOf(value), 16).ptr;
  return {hex.data(), end};
}

}  // namespace zorvik::property
