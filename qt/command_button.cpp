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
  if (IsEnter(*event) && plain) {
    // Held down, Enter presses once, as Space does. Qt marks the keyboard's
    // repeats, but an X server without detectable auto-repeat sends each
    // one as a release and a press, and Qt marks the pair only when both
    // have arrived by the time it reads the release. The pair shares its
    // time stamp, which no release and new press of a finger do.
    const bool repeat =
        event->isAutoRepeat() ||
        (enter_released_at_ != 0 && event->timestamp() == enter_released_at_);
    if (!repeat) click();
    event->accept();
    return;
  }
  QPushButton::keyPressEvent(event);
}

void CommandButton::keyReleaseEvent(QKeyEvent* event) {
  if (IsEnter(*event)) enter_released_at_ = event->timestamp();
  QPushButton::keyReleaseEvent(event);
}

}  // namespace zorvik::qt
