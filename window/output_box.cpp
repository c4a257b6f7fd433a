#include "window/output_box.h"

namespace zorvik {

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

QString OutputBox::DisplayForm(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  const qsizetype size = text.size();
  for (qsizetype i = 0; i < size; ++i) {
    const QChar c = text[i];
    if (c == u'\r') {
      if (i + 1 < size && text[i + 1] == u'\n') {
        shown += u'\n';
        ++i;
      }
    } else if (c != u'\n') {
      shown += c;
    }
  }
  return shown;
}

void OutputBox::SetText(const QString& text) {
  text_ = text;
  setPlainText(DisplayForm(text_));
}

}  // namespace zorvik
