#ifndef ZORVIK_FUZZ_FUZZ_CHECK_H_
#define ZORVIK_FUZZ_FUZZ_CHECK_H_

#include <cstdio>
#include <cstdlib>

// A property a fuzz target asserts: a failure prints what broke and aborts,
// which libFuzzer reports as a finding with the input that caused it.
#define FUZZ_CHECK(condition)                                          \
  do {                                                                 \
    if (!(condition)) {                                                \
      std::fprintf(stderr, "%s:%d: FUZZ_CHECK(%s) failed\n", __FILE__, \
                   __LINE__, #condition);                              \
      std::abort();                                                    \
    }                                                                  \
  } while (false)

#endif  // ZORVIK_FUZZ_FUZZ_CHECK_H_
