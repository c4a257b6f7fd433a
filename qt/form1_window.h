#ifndef ZORVIK_QT_FORM1_WINDOW_H_
#define ZORVIK_QT_FORM1_WINDOW_H_

#include <QWidget>
#include <array>
#include <string>
#include <string_view>

#include "window/form1.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace zorvik::qt {

class InputBox;
class OutputBox;

// Form1 on Qt Widgets: the controls made from the layout table, their change
// and click signals delivered to Form1's handlers, and the error report as a
// message box. Nothing of the behaviour lives here.
class Form1Window : public QWidget, private FormControls {
  Q_OBJECT

 public:
  explicit Form1Window(QWidget* parent = nullptr);

  Form1& form() { return form_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // FormControls:
  std::string Text(Box box) const override;
  void SetText(Box box, std::string_view text) override;
  void ReplaceByEdit(Box box, std::string_view before,
                     std::string_view text) override;
  bool HasFocus(Box box) const override;
  void SelectAll(Box box) override;
  void AbandonComposition(Box box) override;
  void ShowContactNote() override;
  void SetBusy(bool busy) override;
  void ShowErrorReport(int number) override;

  void CreateControls();
  InputBox* Input(Box box) const;

  Form1 form_{*this};
  std::array<InputBox*, 3> inputs_{};  // Text1..Text3
  OutputBox* output_ = nullptr;        // Text4
  QLabel* contact_note_ = nullptr;     // Label4
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  bool busy_ = false;
  bool shown_before_ = false;
};

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_FORM1_WINDOW_H_
