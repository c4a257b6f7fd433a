#ifndef ZORVIK_WEB_PAGE_IMPORTS_H_
#define ZORVIK_WEB_PAGE_IMPORTS_H_

// What the page's script (page_library.js) does for the web host: the DOM
// calls, nothing else. Controls are named by their row in the layout table;
// texts cross as UTF-8 with their length in bytes.

#include <cstddef>

extern "C" {

// Sizes the window's element (#Form1) in CSS pixels and gives it the keys of
// a window. Where the viewport is narrower than the window, the same controls
// are laid out as a phone form instead. Also adds the polite live region that
// zv_announce speaks through.
void zv_open_window(int width, int height);
// Appends the table row's control to the window's element, placed in CSS
// pixels, and wires its events to the exports in page_exports.cpp. `kind` is
// "label", "input", "output" or "button". The controls are appended in the
// order Tab is to follow; labels take no focus.
void zv_create_control(int row, const char* kind, const char* name,
                       const char* caption, std::size_t caption_length,
                       int left, int top, int width, int height, bool visible);
// Makes the label at `label_row` name the control at `control_row`.
void zv_label_for(int label_row, int control_row);
// Gives the control an accessible name of its own.
void zv_set_accessible_name(int row, const char* name, std::size_t length);
// Makes the label at `label_row` describe the control at `row` to screen
// readers, after its name.
void zv_set_description(int row, int label_row);
// Asks phones for the keyboard that fits the box ("decimal", "numeric",
// "text").
void zv_set_input_mode(int row, const char* mode);

// An input box's text, copied into memory from malloc(); the caller frees it.
char* zv_input_text(int row, std::size_t* length);
// Replaces an input box's text and shows its start.
void zv_set_input_text(int row, const char* text, std::size_t length);
// Makes an input box hold `before`, then replaces all of it with `text` as
// the user's edit, which the browser's undo takes back to `before`.
void zv_replace_input_text(int row, const char* before,
                           std::size_t before_length, const char* text,
                           std::size_t text_length);
bool zv_has_focus(int row);
void zv_focus(int row);
void zv_select_all(int row);
void zv_show(int row);
void zv_set_busy(bool busy);

// The output box: emptied, then filled with blocks of lines that the page
// lays out only once they are scrolled into view. Each block ends just after a
// line break (or at the end of the text), so the blocks' texts joined are the
// shown text exactly.
void zv_clear_output(int row);
void zv_append_output(int row, const char* text, std::size_t length,
                      int line_breaks);

// Lays `text` out once in the output box's font, unseen and unheard, and
// drops it again.
void zv_lay_out_unseen(int row, const char* text, std::size_t length);

// Has screen readers say `text` once they are done with what they are saying,
// even when it is the same text as last time.
void zv_announce(const char* text, std::size_t length);

// The modal report of an error no handler traps, with its one button.
void zv_show_report(const char* title, std::size_t title_length,
                    const char* text, std::size_t text_length,
                    const char* button, std::size_t button_length);
}

#endif  // ZORVIK_WEB_PAGE_IMPORTS_H_
