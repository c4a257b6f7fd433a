#ifndef ZORVIK_QT_INPUT_BOX_H_
#define ZORVIK_QT_INPUT_BOX_H_

#include <QClipboard>
#include <QLineEdit>
#include <functional>
#include <optional>
#include <utility>

#include "window/form1.h"

namespace zorvik::qt {

// A one-line input box whose pastes and drops put in what PastedText leaves
// of their text: a spreadsheet cell without its line break. Every way text
// arrives from elsewhere goes through it: the paste keys, the context menu's
// paste, the middle button's paste of the selection, and a drop, which
// replaces the box's whole text.
class InputBox : public QLineEdit {
  Q_OBJECT

 public:
  // Decides on a paste, given the whole text the box would hold after it:
  // true lets it in; false means the judge has dealt with the box itself.
  using PasteJudge = std::function<bool(const QString& text)>;

  InputBox(const QString& text, QWidget* parent);

  // Tells `started` when an input method starts composing here and `ended`
  // how its composition ended, once that is known: a commit the method makes
  // as the focus leaves comes just before the box hears that it is leaving.
  void SetCompositionReports(std::function<void()> started,
                             std::function<void(Form1::Ending)> ended) {
    composition_started_ = std::move(started);
    composition_ended_ = std::move(ended);
  }
  // Drops a composition still open or not yet reported, with no report and
  // no change reported: the box keeps only what was committed.
  void AbandonComposition();

  // Sends every paste through `judge` before the box takes it.
  void SetPasteJudge(PasteJudge judge) { paste_judge_ = std::move(judge); }
  // Holds `before`, then `text` as one edit that undo takes back to
  // `before`; no change is reported. A line edit's setText forgets its undo
  // history, and a replacement of the selection is undone as one step.
  void ReplaceByEdit(const QString& before, const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool event(QEvent* event) override;

 private:
  // Replaces the selection with what a paste of `text` leaves, as one edit.
  void InsertPasted(const QString& text);
  void PasteFrom(QClipboard::Mode mode);

  // The composition ends, or ended, because the focus is leaving.
  void LeaveComposition();
  void ReportCompositionEnd();

  PasteJudge paste_judge_;
  std::function<void()> composition_started_;
  std::function<void(Form1::Ending)> composition_ended_;
  bool composing_ = false;
  // How the last composition ended, until that is reported.
  std::optional<Form1::Ending> ending_;
};

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_INPUT_BOX_H_
