// The functions the page's script calls: the controls' events, delivered to
// the page's one Form1, and two read-only views of its state for tools that
// drive the page (the count, and the output box's text as written).

#include <cstdint>

#include "web/form1_page.h"

extern "C" {

void zorvik_text_changed(int row) {
  zorvik::web::Form1Page::Instance().TextChanged(row);
}

void zorvik_clicked(int row) {
  zorvik::web::Form1Page::Instance().Clicked(row);
}

std::int32_t zorvik_compute_count() {
  return zorvik::web::Form1Page::Instance().form().ComputeCount();
}

const char* zorvik_output_text() {
  return zorvik::web::Form1Page::Instance().output_text().c_str();
}
}
