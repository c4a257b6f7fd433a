#include "qt/command_button.h"

#include <QKeyEvent>

namespace zorvik::qt {

CommandButton::CommandButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
  // A default button would take Enter from the whole window, and Esc would
  // reach one in a dialog; here each button takes Enter only for itself.
  setAutoDefault(false);
  setDefault(false);
}

void CommandButton::keyPressEvent(QKeyEvent* event) {
  const bool enter =
      event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  // The keypad's Enter carries the keypad modifier; any other modifier makes
  // it another key.
  const bool plain =
      (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (enter && plain) {
    // Held down, Enter presses once, as Space does.
    if (!event->isAutoRepeat()) click();
    event->accept();
    return;
  }
  QPushButton::keyPressEvent(event);
}

}  // namespace zorvik::qt
