// The functions the page's script calls: the controls' events, delivered to
// the page's one Form1, the table a copy from the output box carries, and two
// read-only views of its state for tools that drive the page (the count, and
// the output box's text as written).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "web/form1_page.h"
#include "window/rent_span.h"

extern "C" {

void zorvik_text_changed(int row) {
  zorvik::web::Form1Page::Instance().TextChanged(row);
}

void zorvik_composition_started(int row) {
  zorvik::web::Form1Page::Instance().CompositionStarted(row);
}

// `how` is a Form1::Ending: 0 committed, 1 abandoned, 2 the focus left.
void zorvik_composition_ended(int row, int how) {
  zorvik::web::Form1Page::Instance().CompositionEnded(row, how);
}

// A paste of `length` bytes of UTF-8 at `text`, the whole text the box would
// hold after it: true lets the paste in.
bool zorvik_pasted(int row, const char* text, std::size_t length) {
  return zorvik::web::Form1Page::Instance().Pasted(row, {text, length});
}

void zorvik_clicked(int row) {
  zorvik::web::Form1Page::Instance().Clicked(row);
}

// The HTML document for a copy of the output box's text from `begin` to `end`
// (UTF-16 units of what it shows), "" for none. Valid until the next call.
const char* zorvik_schedule_html(std::uint32_t begin, std::uint32_t end) {
  static std::string html;
  html = zorvik::web::Form1Page::Instance().ScheduleHtml(begin, end);
  return html.c_str();
}

// What a double-click at UTF-16 unit `at` of `line` (a line of the output
// box, `length` units) selects: a rent whole, as begin × 65536 + end, or 0
// where the browser's own selection of a word stands (see RentAt).
std::uint32_t zorvik_rent_at(const char16_t* line, std::uint32_t length,
                             std::uint32_t at) {
  if (length > 0xFFFF) return 0;
  const auto rent = zorvik::RentAt(std::u16string_view(line, length), at);
  if (!rent) return 0;
  return static_cast<std::uint32_t>(rent->begin << 16 | rent->end);
}

std::int32_t zorvik_compute_count() {
  return zorvik::web::Form1Page::Instance().form().ComputeCount();
}

const char* zorvik_output_text() {
  return zorvik::web::Form1Page::Instance().output_text().c_str();
}
}
