#ifndef ZORVIK_TESTS_CORE_TEST_SUPPORT_H_
#define ZORVIK_TESTS_CORE_TEST_SUPPORT_H_

// Small helpers the core's tests share.

#include <clocale>
#include <cstdint>
#include <cstring>
#include <string>

namespace zorvik {

// A double's bits and back. (std::bit_cast is missing from some of the
// standard libraries the core is tested with.)
inline std::uint64_t BitsOf(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}
inline double DoubleFromBits(std::uint64_t bits) {
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// Switches the C library's locale for one test and restores it on every way
// out, a failing check included. Some C libraries accept a locale's name but
// keep the full stop; such a locale does not count as active.
class ScopedCLocale {
 public:
  explicit ScopedCLocale(const char* name)
      : saved_(std::setlocale(LC_ALL, nullptr)),
        active_(std::setlocale(LC_ALL, name) != nullptr &&
                std::strcmp(std::localeconv()->decimal_point, ".") != 0) {}
  ~ScopedCLocale() { std::setlocale(LC_ALL, saved_.c_str()); }
  ScopedCLocale(const ScopedCLocale&) = delete;
  ScopedCLocale& operator=(const ScopedCLocale&) = delete;

  bool active() const { return active_; }

 private:
  std::string saved_;
  bool active_;
};

}  // namespace zorvik

#endif  // ZORVIK_TESTS_CORE_TEST_SUPPORT_H_
