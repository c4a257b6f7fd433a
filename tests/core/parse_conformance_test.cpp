// Runs ParseDouble over a public corpus of decimal strings with their
// correctly rounded float64 bits, plain and as currency cells ("¥ 1.5", "1.5
// 元"). Each line: float16, float32 and float64 bits in hex, then the string.
// Lines whose string is not a number in Zorvik's grammar (hex floats, "inf",
// digit separators) must be rejected as type mismatches instead.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "core/numeric_text.h"
#include "tests/core/test_support.h"

namespace zorvik {
namespace {

constexpr std::uint64_t kInfinityBits = 0x7FF0000000000000;

// The grammar's ASCII part (the corpus has no currency marks), written
// independently of the parser as a regular expression.
const std::regex& Grammar() {
  static const std::regex grammar(
      R"([ \t\r\n]*[+-]?([0-9]{1,3}(,[0-9]{3})+\.?[0-9]*|[0-9]+\.?[0-9]*|\.[0-9]+))"
      R"(([eE][+-]?[0-9]+)?[ \t\r\n]*)",
      std::regex::optimize);
  return grammar;
}

TEST(ParseConformanceTest, CorpusParsesToTheListedBits) {
  const std::filesystem::path corpus = ZORVIK_PARSE_CORPUS_DIR;
  int checked = 0;
  int rejected = 0;
  for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
    if (entry.path().extension() != ".txt") continue;
    std::ifstream file(entry.path());
    std::string line;
    int line_number = 0;
    while (std::getline(file, line)) {
      ++line_number;
      ASSERT_GE(line.size(), 32u) << entry.path() << ":" << line_number;
      const std::uint64_t bits = std::stoull(line.substr(14, 16), nullptr, 16);
      const std::string text = line.substr(31);
      const std::string where =
          entry.path().filename().string() + ":" + std::to_string(line_number);

      int error = 0;
      double value = 0;
      try {
        value = ParseDouble(text);
      } catch (const RuntimeError& e) {
        error = e.number();
      }
      if (!std::regex_match(text, Grammar())) {
        EXPECT_EQ(error, kErrorTypeMismatch) << where << " " << text;
        ++rejected;
        continue;
      }
      if (bits == kInfinityBits) {
        EXPECT_EQ(error, kErrorOverflow) << where << " " << text;
      } else {
        EXPECT_EQ(error, 0) << where << " " << text;
        EXPECT_EQ(BitsOf(value), bits) << where << " " << text;
      }
      // Written as currency cells write it, the number is the same.
      for (const std::string& cell : {"¥\u00A0" + text, text + "\u3000元"}) {
        try {
          EXPECT_EQ(BitsOf(ParseDouble(cell)), BitsOf(value))
              << where << " " << cell;
          EXPECT_EQ(error, 0) << where << " " << cell;
        } catch (const RuntimeError& e) {
          EXPECT_EQ(e.number(), error) << where << " " << cell;
        }
      }
      ++checked;
    }
  }
  std::printf("checked %d corpus lines, %d outside the grammar\n", checked,
              rejected);
  // The corpus holds tens of thousands of lines; a run over a handful means it
  // was not found or not read.
  EXPECT_GT(checked, 10000);
}

}  // namespace
}  // namespace zorvik
