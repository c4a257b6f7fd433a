#include "core/runtime_error.h"

namespace zorvik {

const char* RuntimeError::what() const noexcept {
  switch (number_) {
    case kErrorOverflow:
      return "run-time error 6: overflow";
    case kErrorTypeMismatch:
      return "run-time error 13: type mismatch";
    default:
      return "run-time error";
  }
}

}  // namespace zorvik
