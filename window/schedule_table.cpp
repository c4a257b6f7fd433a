#include "window/schedule_table.h"

#include <algorithm>
#include <string_view>

namespace zorvik {
namespace {

// An entry as the output box shows it, up to its rent; the rent runs to the
// end of its line.
constexpr std::string_view kEntryStart = "第 ";
constexpr std::string_view kAfterYear = " 年租金：  ";

// The rows' body written out as an HTML parser makes it anyway: browsers
// rebuild the HTML they read from a clipboard, and it reads back the same.
constexpr std::string_view kHeader =
    "<table><tbody><tr><th>年份</th><th>租金</th></tr>";
constexpr std::string_view kFooter = "</tbody></table>";

// A spreadsheet reads a cell's text by its own locale: where the decimal
// separator is a comma, LibreOffice takes 1102.5 for text and 1157.625 for
// 1157625. So the rent cell also carries its value as LibreOffice's HTML
// import reads it whatever the locale: sdval, written in US English (1033)
// as sdnum says. Other programs ignore both and read the text.
constexpr std::string_view kRentCellStart = R"(</td><td sdnum="1033;" sdval=")";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// What a rent is written with: digits, point, exponent letter and signs.
// Anything else is no entry the program wrote, and so never reaches the HTML.
bool IsRentCharacter(char c) {
  return IsDigit(c) || c == '.' || c == 'E' || c == '+' || c == '-';
}

// The byte offset in UTF-8 `text` of the position `units` UTF-16 code units
// from its start; text.size() for a position at or past the end. A position
// inside a character counts as its end.
std::size_t ByteOffset(std::string_view text, std::size_t units) {
  std::size_t counted = 0;
  std::size_t i = 0;
  while (i < text.size() && counted < units) {
    const auto lead = static_cast<unsigned char>(text[i]);
    // Four-byte sequences lie beyond U+FFFF: two units, a surrogate pair.
    counted += lead >= 0xF0 ? 2 : 1;
    ++i;
    while (i < text.size() &&
           (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) {
      ++i;
    }
  }
  return i;
}

struct Entry {
  std::string_view year;
  std::string_view rent;
  std::size_t rent_begin;  // where the rent starts
  std::size_t end;         // just past the rent's last character
};

// The entry that starts at `at` (with kEntryStart), or one with an empty
// year when the text there is no entry.
Entry EntryAt(std::string_view text, std::size_t at) {
  const std::size_t year_begin = at + kEntryStart.size();
  std::size_t year_end = year_begin;
  while (year_end < text.size() && IsDigit(text[year_end])) ++year_end;
  if (year_end == year_begin ||
      text.substr(year_end, kAfterYear.size()) != kAfterYear) {
    return {};
  }
  const std::size_t rent_begin = year_end + kAfterYear.size();
  std::size_t rent_end = rent_begin;
  while (rent_end < text.size() && IsRentCharacter(text[rent_end])) {
    ++rent_end;
  }
  const bool line_ends = rent_end == text.size() || text[rent_end] == '\r' ||
                         text[rent_end] == '\n';
  if (rent_end == rent_begin || !line_ends) return {};
  return {text.substr(year_begin, year_end - year_begin),
          text.substr(rent_begin, rent_end - rent_begin), rent_begin, rent_end};
}

}  // namespace

std::string ScheduleTable(std::string_view shown, std::size_t begin,
                          std::size_t end) {
  const std::size_t first = ByteOffset(shown, begin);
  const std::size_t last = std::max(first, ByteOffset(shown, end));
  // People drag loosely: a selection that reaches over a line break counts
  // every entry whose rent it holds whole, wherever in a caption it starts
  // or ends. Within one line only the entry selected whole, from its "第",
  // makes a row; less than that is a piece of text.
  const bool over_lines =
      shown.substr(first, last - first).find_first_of("\r\n") !=
      std::string_view::npos;
  // The entry of the line the selection starts in, then those after it.
  std::size_t at = shown.rfind(kEntryStart, first);
  if (at == std::string_view::npos || !over_lines) at = first;
  std::string table;
  for (at = shown.find(kEntryStart, at);
       at != std::string_view::npos && at < last;
       at = shown.find(kEntryStart, at + 1)) {
    const Entry entry = EntryAt(shown, at);
    if (entry.year.empty()) continue;
    // Entries follow one another: once one ends past the selection, so do
    // all the rest.
    if (entry.end > last) break;
    if (entry.rent_begin < first) continue;
    if (table.empty()) {
      // A row takes about a third more bytes than the entry it comes from:
      // sized once for the selection, not regrown for a long schedule.
      table.reserve(kHeader.size() + (last - at) / 3 * 4 + kFooter.size());
      table += kHeader;
    }
    table += "<tr><td>";
    table += entry.year;
    table += kRentCellStart;
    table += entry.rent;
    table += "\">";
    table += entry.rent;
    table += "</td></tr>";
    at = entry.end - 1;
  }
  if (!table.empty()) table += kFooter;
  return table;
}

std::string HtmlDocument(std::string_view fragment) {
  std::string document;
  document.reserve(kHtmlBefore.size() + fragment.size() + kHtmlAfter.size());
  document += kHtmlBefore;
  document += fragment;
  document += kHtmlAfter;
  return document;
}

}  // namespace zorvik
