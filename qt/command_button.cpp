#include "qt/command_button.h"

#include <QKeyEvent>

#include "qt/held_keys.h"

namespace zorvik::qt {

CommandButton::CommandButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
  // A default button would take Enter from the whole window, and Esc would
  // reach one in a dialog; here each button takes Enter only for itself.
  setAutoDefault(false);
  setDefault(false);
  // Watching the keys from before the first one reaches a button.
  HeldKeys::Instance();
}

namespace {

bool IsEnter(const QKeyEvent& event) {
  return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

}  // namespace

void CommandButton::keyPressEvent(QKeyEvent* event) {
  // The keypad's Enter carries the keypad modifier; any other modifier makes
  // it another key.
  const bool plain =
      (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  const bool enter = IsEnter(*event) && plain;
  if (enter || event->key() == Qt::Key_Space) {
    // A key held down presses once: its repeats do nothing, whatever way
    // they arrive. Enter presses at once; Space pushes the button down, and
    // its release clicks it.
    if (HeldKeys::Instance().NotePress(*event)) {
      if (enter) {
        click();
      } else {
        QPushButton::keyPressEvent(event);
      }
    }
    event->accept();
    return;
  }
  QPushButton::keyPressEvent(event);
}

void CommandButton::keyReleaseEvent(QKeyEvent* event) {
  // A release that the repeat of a held Space makes would click.
  if (event->key() == Qt::Key_Space &&
      !HeldKeys::Instance().NoteRelease(*event)) {
    event->accept();
    return;
  }
  QPushButton::keyReleaseEvent(event);
}

}  // namespace zorvik::qt
