#ifndef ZORVIK_TESTS_WIN32_COM_APARTMENT_H_
#define ZORVIK_TESTS_WIN32_COM_APARTMENT_H_

// COM on this thread for as long as the object lives, as a screen reader's
// calls into accessible objects need it.

#include <objbase.h>

namespace zorvik::win32 {

class ComApartment {
 public:
  ComApartment() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComApartment() {
    if (initialized_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool initialized_;
};

}  // namespace zorvik::win32

#endif  // ZORVIK_TESTS_WIN32_COM_APARTMENT_H_
