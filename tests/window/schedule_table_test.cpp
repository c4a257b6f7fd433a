#include "window/schedule_table.h"

#include <gtest/gtest.h>

#include <string>

namespace zorvik {
namespace {

constexpr std::size_t kAll = std::string::npos;

// The worked example as the Qt host and the web page show it, and as a Win32
// edit control does. Each entry is 14 or 16 UTF-16 units long.
const std::string kShown =
    "第 1 年租金：  1000\n\n第 2 年租金：  1050\n\n第 3 年租金：  1102.5\n\n";
const std::string kShownCrLf =
    "第 1 年租金：  1000\r\n\r\n第 2 年租金：  1050\r\n\r\n"
    "第 3 年租金：  1102.5\r\n\r\n";

const std::string kShownFour = kShown + "第 4 年租金：  1157.625\n\n";

const std::string kHeader = "<table><tbody><tr><th>年份</th><th>租金</th></tr>";

// A row as the table writes it: the rent also as LibreOffice's value.
std::string Row(const std::string& year, const std::string& rent) {
  return "<tr><td>" + year + R"(</td><td sdnum="1033;" sdval=")" + rent +
         "\">" + rent + "</td></tr>";
}
const std::string kWorkedTable = kHeader + Row("1", "1000") + Row("2", "1050") +
                                 Row("3", "1102.5") + "</tbody></table>";

TEST(ScheduleTableTest, HoldsTheEntriesWhoseRentsAreSelected) {
  const struct {
    const char* what;
    std::string shown;
    std::size_t begin;
    std::size_t end;
    std::string table;
  } cases[] = {
      {"everything", kShown, 0, kAll, kWorkedTable},
      {"CR LF breaks", kShownCrLf, 0, kAll, kWorkedTable},
      // From the "第" of year 2 to the last digit of its rent: 16 + 14.
      {"one entry exactly", kShown, 16, 30,
       "<table><tbody><tr><th>年份</th><th>租金</th></tr><tr><td>2</td>"
       "<td sdnum=\"1033;\" sdval=\"1050\">1050</td></tr></tbody></table>"},
      // Over line breaks, every rent held whole: year 1 lacks only its "第",
      // year 3 lacks the last digit of 1102.5.
      {"cut at both ends", kShown, 1, 47,
       kHeader + Row("1", "1000") + Row("2", "1050") + "</tbody></table>"},
      // From year 2's "年" (16 + 4) to year 4's "租" (16 + 16 + 18 + 5).
      {"from caption to caption", kShownFour, 20, 55,
       kHeader + Row("2", "1050") + Row("3", "1102.5") + "</tbody></table>"},
      {"a rent and its break", kShown, 10, 15,
       kHeader + Row("1", "1000") + "</tbody></table>"},
      {"over a break, no rent whole", kShown, 12, 29, ""},
      {"CR LF breaks, loosely", kShownCrLf, 3, 51,
       kHeader + Row("1", "1000") + Row("2", "1050") + "</tbody></table>"},
      // Within one line, only an entry selected whole.
      {"the last digit missing", kShown, 16, 29, ""},
      {"one rent alone", kShown, 10, 14, ""},
      {"a caption's end and the rent", kShown, 20, 30, ""},
      {"nothing selected", kShown, 16, 16, ""},
      {"the end before the start", kShown, 30, 16, ""},
      {"an empty list", "", 0, kAll, ""},
      {"text that is no schedule", "第 x 年租金：  1\n第 1 年租金：  <b>\n", 0,
       kAll, ""},
      {"exponent forms",
       "第 1024 年租金：  8.98846567431158E+307\n\n"
       "第 7 年租金：  -1.5E-05\n\n第 8 年租金：  1E+15",
       0, kAll,
       kHeader + Row("1024", "8.98846567431158E+307") + Row("7", "-1.5E-05") +
           Row("8", "1E+15") + "</tbody></table>"},
      // Positions count UTF-16 units: U+1F600 takes two, then "\n".
      {"a character beyond U+FFFF before", "\U0001F600\n第 9 年租金：  5", 3,
       kAll, kHeader + Row("9", "5") + "</tbody></table>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScheduleTable(c.shown, c.begin, c.end), c.table) << c.what;
  }
}

}  // namespace
}  // namespace zorvik
