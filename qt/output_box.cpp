#include "qt/output_box.h"

#include <QMimeData>
#include <QMouseEvent>
#include <QStringView>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <cstddef>
#include <optional>
#include <string_view>

#include "qt/utf8_text.h"
#include "window/output_text.h"
#include "window/rent_span.h"
#include "window/schedule_table.h"

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

QMimeData* OutputBox::createMimeDataFromSelection() const {
  const QTextCursor cursor = textCursor();
  auto* data = new QMimeData;
  data->setText(cursor.selection().toPlainText());
  // The document counts positions as the shown text does, a block's break
  // as one "\n".
  const std::string table =
      ScheduleTable(DisplayForm(text_, "\n"),
                    static_cast<std::size_t>(cursor.selectionStart()),
                    static_cast<std::size_t>(cursor.selectionEnd()));
  if (!table.empty()) data->setHtml(FromUtf8(HtmlDocument(table)));
  return data;
}

void OutputBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QPlainTextEdit::mouseDoubleClickEvent(event);
  if (event->button() != Qt::LeftButton) return;
  // The position nearest the click lies before or after the character hit.
  const QTextCursor at = cursorForPosition(event->position().toPoint());
  const QTextBlock block = at.block();
  const QString line = block.text();
  const QStringView line_view(line);
  const std::u16string_view view(line_view.utf16(),
                                 static_cast<std::size_t>(line_view.size()));
  const auto offset = static_cast<std::size_t>(at.positionInBlock());
  std::optional<TextSpan> rent = RentAt(view, offset);
  if (!rent && offset > 0) rent = RentAt(view, offset - 1);
  if (!rent) return;
  QTextCursor selection(block);
  selection.setPosition(block.position() + static_cast<int>(rent->begin));
  selection.setPosition(block.position() + static_cast<int>(rent->end),
                        QTextCursor::KeepAnchor);
  setTextCursor(selection);
}

}  // namespace zorvik::qt
