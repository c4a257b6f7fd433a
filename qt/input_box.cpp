#include "qt/input_box.h"

#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QSignalBlocker>
#include <QStringView>
#include <cstddef>
#include <string_view>

#include "window/pasted_text.h"

namespace zorvik::qt {
namespace {

// What a paste of `text` leaves of it: a start of it.
QString Kept(const QString& text) {
  const QStringView view(text);
  const std::u16string_view kept = PastedText(
      std::u16string_view(view.utf16(), static_cast<std::size_t>(view.size())));
  return text.left(static_cast<qsizetype>(kept.size()));
}

}  // namespace

InputBox::InputBox(const QString& text, QWidget* parent)
    : QLineEdit(text, parent) {}

void InputBox::InsertPasted(const QString& text) {
  const QString kept = Kept(text);
  // As QLineEdit's own paste: nothing to put in and nothing selected is no
  // edit at all.
  if (kept.isEmpty() && !hasSelectedText()) return;
  if (paste_judge_) {
    QString after = QLineEdit::text();
    if (hasSelectedText()) {
      after.replace(selectionStart(), selectedText().size(), kept);
    } else {
      after.insert(cursorPosition(), kept);
    }
    if (!paste_judge_(after)) return;
  }
  insert(kept);
}

void InputBox::ReplaceByEdit(const QString& before, const QString& text) {
  const QSignalBlocker no_change_report(this);
  setText(before);
  selectAll();
  insert(text);
}

void InputBox::PasteFrom(QClipboard::Mode mode) {
  if (isReadOnly()) return;
  InsertPasted(QGuiApplication::clipboard()->text(mode));
}

void InputBox::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    PasteFrom(QClipboard::Clipboard);
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void InputBox::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  if (menu == nullptr) return;
  // The menu's paste, found by its caption as QLineEdit writes it (with its
  // shortcut after a tab), pastes here instead.
  const QString paste = QLineEdit::tr("&Paste");
  for (QAction* action : menu->actions()) {
    const QString caption = action->text();
    if (caption == paste || caption.startsWith(paste + u'\t')) {
      disconnect(action, &QAction::triggered, this, nullptr);
      connect(action, &QAction::triggered, this,
              [this] { PasteFrom(QClipboard::Clipboard); });
    }
  }
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
}

void InputBox::mouseReleaseEvent(QMouseEvent* event) {
  // Where the system has a selection clipboard (X11), the middle button
  // pastes it where it clicked, as QLineEdit's own release does.
  if (event->button() == Qt::MiddleButton && !isReadOnly() &&
      QGuiApplication::clipboard()->supportsSelection()) {
    deselect();
    InsertPasted(QGuiApplication::clipboard()->text(QClipboard::Selection));
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void InputBox::dropEvent(QDropEvent* event) {
  const QMimeData* data = event->mimeData();
  if (isReadOnly() || data == nullptr || !data->hasText()) {
    QLineEdit::dropEvent(event);
    return;
  }
  // A drop replaces the whole text, as a paste over all of it does: put
  // where the pointer is, 1050 dropped onto 1000 would read as 10001050, a
  // number nobody meant.
  selectAll();
  InsertPasted(data->text());
  setFocus(Qt::MouseFocusReason);
  event->acceptProposedAction();
}

void InputBox::inputMethodEvent(QInputMethodEvent* event) {
  const bool preedit = !event->preeditString().isEmpty();
  if (preedit && !composing_) {
    ReportCompositionEnd();
    composing_ = true;
    // Before the line edit takes the event: it deletes the selection that
    // the composition replaces, and the guard must not judge what is left.
    if (composition_started_) composition_started_();
  }
  QLineEdit::inputMethodEvent(event);
  if (composing_ && !preedit) {
    composing_ = false;
    ending_ = event->commitString().isEmpty() ? Form1::Ending::kAbandoned
                                              : Form1::Ending::kCommitted;
    // When the focus is on its way to another control, Qt has the method
    // commit before it tells this box (FocusAboutToChange), in the same
    // call; a commit of the user's own is followed by no such thing.
    QMetaObject::invokeMethod(
        this, [this] { ReportCompositionEnd(); }, Qt::QueuedConnection);
  }
}

bool InputBox::event(QEvent* event) {
  if (event->type() == QEvent::FocusAboutToChange) LeaveComposition();
  return QLineEdit::event(event);
}

void InputBox::focusOutEvent(QFocusEvent* event) {
  LeaveComposition();
  QLineEdit::focusOutEvent(event);
}

void InputBox::LeaveComposition() {
  if (composing_) {
    // A method that keeps its composition open as the focus leaves would
    // leave pinyin in a box nobody types in.
    AbandonComposition();
  } else if (!ending_) {
    return;
  }
  ending_ = Form1::Ending::kFocusLeft;
  ReportCompositionEnd();
}

void InputBox::ReportCompositionEnd() {
  if (!ending_) return;
  const Form1::Ending how = *ending_;
  ending_.reset();
  if (composition_ended_) composition_ended_(how);
}

void InputBox::AbandonComposition() {
  ending_.reset();
  if (!composing_) return;
  composing_ = false;
  const QSignalBlocker no_change_report(this);
  if (hasFocus()) QGuiApplication::inputMethod()->reset();
  // A method that answers the reset commits or clears its preedit itself;
  // this clears what one that does not answer left.
  QInputMethodEvent clear;
  QLineEdit::inputMethodEvent(&clear);
}

}  // namespace zorvik::qt
