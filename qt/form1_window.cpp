#include "qt/form1_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <limits>
#include <vector>

#include "qt/command_button.h"
#include "qt/error_report.h"
#include "qt/input_box.h"
#include "qt/layout_scale.h"
#include "qt/output_box.h"
#include "qt/utf8_text.h"
#include "window/form_layout.h"

namespace zorvik::qt {
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
      auto* box = new InputBox(caption, parent);
      // A line edit caps its text at 32767 characters by default; these boxes
      // have no limit of their own, so a long paste reaches the guard whole.
      box->setMaxLength(std::numeric_limits<int>::max());
      box->setCursorPosition(0);
      control = box;
      break;
    }
    case ControlKind::kOutputBox:
      control = new OutputBox(parent);
      break;
    case ControlKind::kButton:
      control = new CommandButton(caption, parent);
      break;
  }
  control->setObjectName(FromUtf8(row.name));
  if (!row.initially_visible) control->hide();
  return control;
}

// The control of `form` called `name`, of the kind the code expects. A name
// the layout table and the code disagree on is a fault of the program itself,
// so it stops the program at once, in every build.
template <typename T>
T* Find(const QWidget& form, std::string_view name) {
  auto* control = form.findChild<T*>(FromUtf8(name));
  if (control == nullptr) {
    qFatal("Form1 has no %s called %.*s", T::staticMetaObject.className(),
           static_cast<int>(name.size()), name.data());
  }
  return control;
}

// Qt describes a plain QWidget to assistive technology as a client area
// (AT-SPI's "filler") even when it is a top-level window; only its own window
// classes (QMainWindow, QDialog) are announced as windows. Form1 is the
// program's window, so a screen reader is to meet it as one (AT-SPI's
// "frame"), named by its caption.
QAccessibleInterface* AccessibleForm1(const QString& class_name,
                                      QObject* object) {
  if (class_name !=
      QLatin1StringView(Form1Window::staticMetaObject.className())) {
    return nullptr;
  }
  return new QAccessibleWidget(static_cast<QWidget*>(object),
                               QAccessible::Window);
}

}  // namespace

Form1Window::Form1Window(QWidget* parent) : QWidget(parent) {
  // Installing it again does nothing.
  QAccessible::installFactory(AccessibleForm1);
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(FromUtf8(kWindowCaption));
  // The size is fixed, so the title bar offers minimize and close only, as
  // the Windows host's does; a maximize box would do nothing.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  CreateControls();
  PlaceControls(*this);

  for (std::size_t i = 0; i < inputs_.size(); ++i) {
    const auto box = static_cast<Box>(i);
    connect(inputs_[i], &QLineEdit::textChanged, this,
            [this, box] { form_.InputGuard(box); });
    inputs_[i]->SetPasteJudge([this, box](const QString& text) {
      return form_.GuardPaste(box, text.toStdString());
    });
    inputs_[i]->SetCompositionReports(
        [this, box] { form_.CompositionStart(box); },
        [this, box](Form1::Ending how) { form_.CompositionEnd(box, how); });
  }
  connect(command1_, &QPushButton::clicked, this,
          [this] { form_.Command1Click(); });
  connect(command2_, &QPushButton::clicked, this,
          [this] { form_.Command2Click(); });

  form_.FormLoad();
}

void Form1Window::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_before_) return;
  shown_before_ = true;
  // The focus starts in the first box of the tab order, its 0 selected so
  // that the first key replaces it.
  auto* first = Find<QLineEdit>(*this, InitialFocus().name);
  first->setFocus(Qt::OtherFocusReason);
  first->selectAll();
}

void Form1Window::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  // A desktop's new font size reaches the window as a change of its font.
  if (event->type() == QEvent::FontChange) PlaceControls(*this);
}

void Form1Window::CreateControls() {
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
    Find<QLabel>(*this, pair.label)
        ->setBuddy(Find<QWidget>(*this, pair.control));
  }
  for (const AccessibleName& entry : kAccessibleNames) {
    Find<QWidget>(*this, entry.control)
        ->setAccessibleName(FromUtf8(entry.name));
  }
  for (const DescribedBy& entry : kDescriptions) {
    findChild<QWidget*>(FromUtf8(entry.control))
        ->setAccessibleDescription(FromUtf8(SpokenCaption(entry.label)));
  }

  for (std::size_t i = 0; i < inputs_.size(); ++i) {
    inputs_[i] = Find<InputBox>(*this, kBoxNames[i]);
  }
  output_ = Find<OutputBox>(*this, "Text4");
  contact_note_ = Find<QLabel>(*this, "Label4");
  command1_ = Find<QPushButton>(*this, "Command1");
  command2_ = Find<QPushButton>(*this, "Command2");
}

InputBox* Form1Window::Input(Box box) const {
  return inputs_[static_cast<std::size_t>(box)];
}

std::string Form1Window::Text(Box box) const {
  if (box == Box::kText4) return output_->Text();
  return Input(box)->text().toStdString();
}

void Form1Window::SetText(Box box, std::string_view text) {
  if (box == Box::kText4) {
    output_->SetText(text);
    return;
  }
  QLineEdit* edit = Input(box);
  // Form1 runs the guard of the boxes it writes itself.
  const QSignalBlocker no_change_report(edit);
  edit->setText(FromUtf8(text));
  // A line edit shows the end of a text it is given; the start of a number
  // is what says most of it.
  edit->setCursorPosition(0);
}

void Form1Window::ReplaceByEdit(Box box, std::string_view before,
                                std::string_view text) {
  if (box != Box::kText4)
    Input(box)->ReplaceByEdit(FromUtf8(before), FromUtf8(text));
}

bool Form1Window::HasFocus(Box box) const {
  if (box == Box::kText4) return output_->hasFocus();
  return Input(box)->hasFocus();
}

void Form1Window::SelectAll(Box box) {
  if (box != Box::kText4) Input(box)->selectAll();
}

void Form1Window::AbandonComposition(Box box) {
  if (box != Box::kText4) Input(box)->AbandonComposition();
}

void Form1Window::ShowContactNote() { contact_note_->setVisible(true); }

void Form1Window::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QGuiApplication::restoreOverrideCursor();
  }
}

void Form1Window::ShowErrorReport(int number) {
  qt::ShowErrorReport(this, number);
}

}  // namespace zorvik::qt
