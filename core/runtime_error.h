#ifndef ZORVIK_CORE_RUNTIME_ERROR_H_
#define ZORVIK_CORE_RUNTIME_ERROR_H_

#include <exception>

namespace zorvik {

// Run-time error numbers. They are part of what the user sees in the error
// report, so they keep the classic numbering.
inline constexpr int kErrorOverflow = 6;       // a value does not fit its type
inline constexpr int kErrorOutOfMemory = 7;    // an allocation failed
inline constexpr int kErrorTypeMismatch = 13;  // a text is not a number
inline constexpr int kErrorInternal = 51;      // any other failure

// A numbered run-time error. It ends the running operation at once; nothing
// partial is returned alongside it.
class RuntimeError : public std::exception {
 public:
  explicit RuntimeError(int number) noexcept : number_(number) {}

  int number() const noexcept { return number_; }

  // A short English description for logs and test output; the window shows its
  // own localised wording.
  const char* what() const noexcept override;

 private:
  int number_;
};

}  // namespace zorvik

#endif  // ZORVIK_CORE_RUNTIME_ERROR_H_
