#ifndef ZORVIK_WINDOW_INPUT_BOX_H_
#define ZORVIK_WINDOW_INPUT_BOX_H_

#include <QLineEdit>
#include <QString>

namespace zorvik {

// A single-line text box that reports every change of its text, whether the
// user typed, deleted or pasted, or the program wrote it. The report is
// synchronous: a handler that writes the box from inside its own change
// handler runs again, nested, before that write returns.
class InputBox : public QLineEdit {
  Q_OBJECT

 public:
  explicit InputBox(QWidget* parent = nullptr);

  // Replaces the whole text. Emits Changed() inside the call when the text
  // differs from the current one.
  void SetText(const QString& text) { setText(text); }

 signals:
  void Changed();
};

}  // namespace zorvik

#endif  // ZORVIK_WINDOW_INPUT_BOX_H_
