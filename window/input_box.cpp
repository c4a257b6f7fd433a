#include "window/input_box.h"

#include <limits>

namespace zorvik {

InputBox::InputBox(QWidget* parent) : QLineEdit(parent) {
  // A line edit caps its text at 32767 characters by default; these boxes
  // have no limit of their own, so a long paste reaches the guard whole.
  setMaxLength(std::numeric_limits<int>::max());
  connect(this, &QLineEdit::textChanged, this, &InputBox::Changed);
}

}  // namespace zorvik
