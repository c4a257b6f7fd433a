#ifndef ZORVIK_QT_COMMAND_BUTTON_H_
#define ZORVIK_QT_COMMAND_BUTTON_H_

#include <QPushButton>

namespace zorvik::qt {

// A push button that is pressed by Space or by Enter (Return or the keypad's
// Enter) while it has the focus, as command buttons are on Windows: once for
// each press of the key, however long it is held (see HeldKeys). It is never
// the window's default button: Enter elsewhere in the window presses nothing.
class CommandButton : public QPushButton {
  Q_OBJECT

 public:
  CommandButton(const QString& caption, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
};

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_COMMAND_BUTTON_H_
