#ifndef ZORVIK_WINDOW_SCHEDULE_TABLE_H_
#define ZORVIK_WINDOW_SCHEDULE_TABLE_H_

// The schedule as a table, for where people take it: a copy from the output
// box carries it as HTML beside the plain text, so that a spreadsheet gets
// one row per year with the rent in a cell of its own, a number it can sum.

#include <cstddef>
#include <string>
#include <string_view>

namespace zorvik {

// The schedule entries of the selection [begin, end) of `shown`, the output
// box's text as the box shows it (UTF-8, any line break), as an HTML table: a
// header row 年份 | 租金, then one row per entry with its year and its rent
// exactly as shown (exponent form included), the rent also as a value that
// spreadsheets read whatever their locale. A selection that reaches over a
// line break has a row for every entry whose rent it holds whole, however
// much of the entries' captions it holds: people drag from anywhere in one
// caption to anywhere in another. A selection within one line has a row only
// for an entry it holds from its "第" to the last character of its rent.
// `begin` and `end` count UTF-16 code units, as Qt, Windows and the browser
// count positions in a text; positions past the end mean the end. Returns ""
// when no entry makes a row: such a copy is plain text alone.
//   ScheduleTable("第 1 年租金：  1000\n\n", 0, 14) ==
//       "<table><tbody><tr><th>年份</th><th>租金</th></tr>"
//       "<tr><td>1</td><td sdnum=\"1033;\" sdval=\"1000\">1000</td></tr>"
//       "</tbody></table>"
//   ScheduleTable("第 1 年租金：  1000\n\n", 0, 13) == ""  // "100" of 1000
//   ScheduleTable("第 1 年租金：  1000\n\n", 4, 13) == ""  // one line
//   ScheduleTable("第 1 年租金：  1000\n\n", 4, 15) has the row of year 1
std::string ScheduleTable(std::string_view shown, std::size_t begin,
                          std::size_t end);

// How a clipboard carries an HTML fragment: a whole document around it that
// declares its encoding, the fragment marked by the comments that Windows'
// HTML clipboard format names. The document is kHtmlBefore, the fragment,
// then kHtmlAfter.
inline constexpr std::string_view kHtmlBefore =
    "<html><head><meta charset=\"utf-8\"></head><body><!--StartFragment-->";
inline constexpr std::string_view kHtmlAfter =
    "<!--EndFragment--></body></html>";

std::string HtmlDocument(std::string_view fragment);

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_SCHEDULE_TABLE_H_
