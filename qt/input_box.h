#ifndef ZORVIK_QT_INPUT_BOX_H_
#define ZORVIK_QT_INPUT_BOX_H_

#include <QClipboard>
#include <QLineEdit>

namespace zorvik::qt {

// A one-line input box whose pastes and drops put in what PastedText leaves
// of their text: a spreadsheet cell without its line break. Every way text
// arrives from elsewhere goes through it: the paste keys, the context menu's
// paste, the middle button's paste of the selection, and a drop, which
// replaces the box's whole text.
class InputBox : public QLineEdit {
  Q_OBJECT

 public:
  InputBox(const QString& text, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Replaces the selection with what a paste of `text` leaves, as one edit.
  void InsertPasted(const QString& text);
  void PasteFrom(QClipboard::Mode mode);
};

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_INPUT_BOX_H_
