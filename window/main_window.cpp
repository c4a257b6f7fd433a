#include "window/main_window.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "core/numeric_text.h"
#include "core/rent_schedule.h"
#include "window/error_report.h"
#include "window/form_layout.h"
#include "window/input_box.h"
#include "window/output_box.h"
#include "window/utf8_text.h"

namespace zorvik {
namespace {

QWidget* CreateControl(const ControlRow& row, QWidget* parent) {
  const QString caption = FromUtf8(row.caption);
  QWidget* control = nullptr;
  switch (row.kind) {
    case ControlKind::kLabel: {
      auto* label = new QLabel(caption, parent);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      label->setTextFormat(Qt::PlainText);
      control = label;
      break;
    }
    case ControlKind::kInputBox: {
      auto* box = new InputBox(parent);
      box->SetText(caption);
      control = box;
      break;
    }
    case ControlKind::kOutputBox: {
      auto* box = new OutputBox(parent);
      box->SetText(caption);
      control = box;
      break;
    }
    case ControlKind::kButton: {
      auto* button = new QPushButton(caption, parent);
      // Enter and Esc trigger nothing in this window.
      button->setAutoDefault(false);
      button->setDefault(false);
      control = button;
      break;
    }
  }
  control->setObjectName(FromUtf8(row.name));
  control->setGeometry(TwipsToPixels(row.left), TwipsToPixels(row.top),
                       TwipsToPixels(row.width), TwipsToPixels(row.height));
  if (!row.initially_visible) control->hide();
  return control;
}

void ConvertDouble(std::string_view text) { ParseDouble(text); }
void ConvertInteger(std::string_view text) { ParseInteger(text); }

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(FromUtf8(kWindowCaption));
  setFixedSize(TwipsToPixels(kClientWidthTwips),
               TwipsToPixels(kClientHeightTwips));
  CreateControls();

  connect(text1_, &InputBox::Changed, this,
          [this] { InputGuard(text1_, &ConvertDouble); });
  connect(text2_, &InputBox::Changed, this,
          [this] { InputGuard(text2_, &ConvertInteger); });
  connect(text3_, &InputBox::Changed, this,
          [this] { InputGuard(text3_, &ConvertInteger); });
  connect(command1_, &QPushButton::clicked, this, &Form1::Command1Click);
  connect(command2_, &QPushButton::clicked, this, &Form1::Command2Click);

  FormLoad();
  text3_->setFocus();
}

void Form1::CreateControls() {
  struct Focusable {
    int tab_index;
    QWidget* widget;
  };
  std::vector<Focusable> tab_chain;
  std::vector<QWidget*> boxes;
  for (const ControlRow& row : kForm1Controls) {
    QWidget* control = CreateControl(row, this);
    if (row.kind != ControlKind::kLabel) {
      tab_chain.push_back({row.tab_index, control});
    }
    if (row.kind == ControlKind::kInputBox ||
        row.kind == ControlKind::kOutputBox) {
      boxes.push_back(control);
    }
  }
  // Text boxes are drawn above the labels that reach under them.
  for (QWidget* box : boxes) box->raise();
  std::sort(tab_chain.begin(), tab_chain.end(),
            [](const Focusable& a, const Focusable& b) {
              return a.tab_index < b.tab_index;
            });
  for (std::size_t i = 1; i < tab_chain.size(); ++i) {
    setTabOrder(tab_chain[i - 1].widget, tab_chain[i].widget);
  }

  for (const LabelFor& pair : kLabelBuddies) {
    findChild<QLabel*>(FromUtf8(pair.label))
        ->setBuddy(findChild<QWidget*>(FromUtf8(pair.control)));
  }
  for (const AccessibleName& entry : kAccessibleNames) {
    findChild<QWidget*>(FromUtf8(entry.control))
        ->setAccessibleName(FromUtf8(entry.name));
  }

  text1_ = findChild<InputBox*>(QStringLiteral("Text1"));
  text2_ = findChild<InputBox*>(QStringLiteral("Text2"));
  text3_ = findChild<InputBox*>(QStringLiteral("Text3"));
  text4_ = findChild<OutputBox*>(QStringLiteral("Text4"));
  label4_ = findChild<QLabel*>(QStringLiteral("Label4"));
  command1_ = findChild<QPushButton*>(QStringLiteral("Command1"));
  command2_ = findChild<QPushButton*>(QStringLiteral("Command2"));
  Q_ASSERT(text1_ && text2_ && text3_ && text4_ && label4_ && command1_ &&
           command2_);
}

void Form1::FormLoad() { compute_count_ = 0; }

void Form1::InputGuard(InputBox* box, Conversion convert) {
  try {
    convert(box->text().toStdString());
  } catch (const RuntimeError&) {
    // Writing "0" runs this guard again, nested; "0" converts, so it stops
    // there. The "0" is selected so that the next keystroke replaces it.
    box->SetText(QStringLiteral("0"));
    box->selectAll();
  }
}

void Form1::Command1Click() {
  const ComputeOutcome outcome =
      RunCompute(text1_->text().toStdString(), text2_->text().toStdString(),
                 text3_->text().toStdString());
  if (outcome.normal_forms) {
    text1_->SetText(FromUtf8(outcome.normal_forms->rent));
    text2_->SetText(FromUtf8(outcome.normal_forms->years));
    text3_->SetText(FromUtf8(outcome.normal_forms->percent));
  }
  if (outcome.error) {
    // The action did not complete: the output box keeps its earlier text and
    // the count stays. The window stays open once the report is dismissed.
    ShowErrorReport(this, outcome.error->number);
    return;
  }
  text4_->SetText(FromUtf8(*outcome.schedule));
  // The count stops at its maximum instead of overflowing: every further
  // computation succeeded and must not be reported as an error.
  if (compute_count_ < kMaxComputeCount) ++compute_count_;
  if (compute_count_ >= kContactNoteAfter) label4_->setVisible(true);
}

void Form1::Command2Click() {
  // Each input's guard turns the empty text into "0" at once.
  text1_->SetText(QString());
  text2_->SetText(QString());
  text3_->SetText(QString());
  text4_->SetText(QString());
}

}  // namespace zorvik
