// The functions the page's script calls: the controls' events, delivered to
// the page's one Form1, the table a copy from the output box carries, and two
// read-only views of its state for tools that drive the page (the count, and
// the output box's text as written).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "web/form1_page.h"

extern "C" {

void zorvik_text_changed(int row) {
  zorvik::web::Form1Page::Instance().TextChanged(row);
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

std::int32_t zorvik_compute_count() {
  return zorvik::web::Form1Page::Instance().form().ComputeCount();
}

const char* zorvik_output_text() {
  return zorvik::web::Form1Page::Instance().output_text().c_str();
}
}
