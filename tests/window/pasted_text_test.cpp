#include "window/pasted_text.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <iterator>
#include <string_view>

namespace zorvik {
namespace {

TEST(PastedTextTest, DropsOnlyTheBreaksThatEndIt) {
  const struct {
    std::u16string_view pasted;
    std::u16string_view kept;
  } cases[] = {
      {u"1000\n", u"1000"},              // a cell from LibreOffice
      {u"1000\r\n", u"1000"},            // and from a Windows program
      {u"1000\r", u"1000"},              // an old Mac's break
      {u"1000\r\n\r\n", u"1000"},        // a cell and an empty row
      {u"1000\n2000\n", u"1000\n2000"},  // two cells stay two
      {u"\n1000", u"\n1000"},            // a break before it stays
      {u" 2500 \n", u" 2500 "},          // blanks are the box's to judge
      {u"\r\n", u""},
      {u"", u""},
      {u"１２，０００\n", u"１２，０００"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_TRUE(PastedText(cases[i].pasted) == cases[i].kept) << "case " << i;
  }
  // The same in UTF-8.
  EXPECT_EQ(PastedText("12,000元\r\n"), "12,000元");
  EXPECT_EQ(PastedText("1000\n2000\n"), "1000\n2000");
}

}  // namespace
}  // namespace zorvik
