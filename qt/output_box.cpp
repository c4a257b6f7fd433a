#include "qt/output_box.h"

#include "qt/utf8_text.h"
#include "window/output_text.h"

namespace zorvik::qt {

OutputBox::OutputBox(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse |
                          Qt::TextSelectableByKeyboard);
  // Read-only, it still takes its place in the tab order, and Tab moves on
  // instead of being swallowed.
  setFocusPolicy(Qt::StrongFocus);
  setTabChangesFocus(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // Nothing is ever undone in a box only the program writes; keeping the
  // history of a 32767-year schedule would cost memory and time.
  setUndoRedoEnabled(false);
}

void OutputBox::SetText(std::string_view text) {
  text_ = text;
  setPlainText(FromUtf8(DisplayForm(text_, "\n")));
}

}  // namespace zorvik::qt
