#include "window/output_text.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvik {
namespace {

TEST(DisplayFormTest, BreaksLinesOnlyAtCrLf) {
  const struct {
    std::string written;
    std::string shown;
  } cases[] = {
      {"a\rb", "ab"},            // lone CR
      {"a\nb", "ab"},            // lone LF
      {"a\r\nb", "a|b"},         // CR LF
      {"a\n\rb", "ab"},          // LF CR
      {"a\r\r\nb", "a|b"},       // CR CR LF
      {"x\n\r\n\r\ny", "x||y"},  // the schedule's break
      {"a\r", "a"},              // trailing CR
      {"\r\n", "|"},
      {"", ""},
      {"租金\r\n", "租金|"},
  };
  for (const auto& [written, shown] : cases) {
    EXPECT_EQ(DisplayForm(written, "|"), shown) << written;
  }
  // A host's own line break is used as given.
  EXPECT_EQ(DisplayForm("x\n\r\n\r\ny", "\r\n"), "x\r\n\r\ny");
}

}  // namespace
}  // namespace zorvik
