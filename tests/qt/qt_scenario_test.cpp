// The scenario table on the Qt host: a real Form1Window on the offscreen
// platform, driven by Qt Test's key and mouse events and an input method's
// events. Under with-input-method the compositions are a real input method's
// (fcitx5's pinyin), typed through the X server, and clicks are the server's.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>

#include "qt/form1_window.h"
#include "qt/localization.h"
#include "qt/output_box.h"
#include "qt/utf8_text.h"
#include "tests/qt/modal_watchdog.h"
#include "tests/qt/screen_reader_listener.h"
#include "tests/window/scenarios.h"

namespace zorvik::qt {
namespace {

struct KeyStroke {
  Qt::Key key;
  Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

KeyStroke StrokeOf(Key key) {
  switch (key) {
    case Key::kHome:
      return {Qt::Key_Home};
    case Key::kEnd:
      return {Qt::Key_End};
    case Key::kBackspace:
      return {Qt::Key_Backspace};
    case Key::kSelectAll:
      return {Qt::Key_A, Qt::ControlModifier};
    case Key::kTab:
      return {Qt::Key_Tab};
    case Key::kShiftTab:
      return {Qt::Key_Backtab, Qt::ShiftModifier};
    case Key::kEnter:
      return {Qt::Key_Return};
    case Key::kEscape:
      return {Qt::Key_Escape};
    case Key::kCopy:
      return {Qt::Key_C, Qt::ControlModifier};
    case Key::kUndo:
      return {Qt::Key_Z, Qt::ControlModifier};
    case Key::kSpace:
      return {Qt::Key_Space};
  }
  return {Qt::Key_unknown};
}

// The input method's events the window receives, as they come.
class InputMethodEvents : public QObject {
 public:
  InputMethodEvents() { QApplication::instance()->installEventFilter(this); }
  QString preedit;    // the last shown; "" once a composition ended
  QString committed;  // everything committed so far
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::InputMethod) {
      const auto* im = static_cast<QInputMethodEvent*>(event);
      preedit = im->preeditString();
      committed += im->commitString();
    }
    return false;
  }
};

// A real input method composes when the test runs under with-input-method.
bool RealInputMethod() {
  return !qEnvironmentVariableIsEmpty("ZORVIK_TEST_INPUT_METHOD");
}

// Whether fcitx5 has this program's input context and knows it has the
// focus: keys typed before then reach the box without the input method.
bool InputContextFocused() {
  const QDBusMessage reply = QDBusConnection::sessionBus().call(
      QDBusMessage::createMethodCall("org.fcitx.Fcitx5", "/controller",
                                     "org.fcitx.Fcitx.Controller1",
                                     "DebugInfo"),
      QDBus::Block, 1000);
  const QStringList lines = reply.arguments().value(0).toString().split(u'\n');
  return std::ranges::any_of(lines, [](const QString& line) {
    return line.contains(u"program:qt_scenario_test") &&
           line.contains(u"focus:1");
  });
}

class QtHost : public ScenarioHost {
 public:
  QtHost() {
    window_.show();
    window_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    // The plugin at times creates the window's input context without
    // telling fcitx5 where the focus is; a focus given again tells it.
    bool focused = !RealInputMethod();
    for (int i = 0; i < 20 && !focused; ++i) {
      focused = QTest::qWaitFor(InputContextFocused, 500);
      if (QWidget* focus = QApplication::focusWidget(); !focused && focus) {
        focus->clearFocus();
        focus->setFocus(Qt::OtherFocusReason);
      }
    }
    EXPECT_TRUE(focused) << "fcitx5 never had the focus";
  }

  void Focus(std::string_view control) override {
    Widget<QWidget>(control)->setFocus(Qt::MouseFocusReason);
  }
  void Type(std::string_view utf8) override {
    QTest::keyClicks(QApplication::focusWidget(), FromUtf8(utf8));
  }
  void Press(Key key) override {
    const KeyStroke stroke = StrokeOf(key);
    QTest::keyClick(QApplication::focusWidget(), stroke.key, stroke.modifiers);
  }
  bool Hold(Key key, int repeats) override {
    // Each step comes from a timer, so that a report the press opens takes
    // the rest in its own event loop, where the keyboard's focus has gone.
    // In an X server the key is held in the server (XTEST, by xdotool) long
    // enough for its own repeat (660 ms, then every 40 ms) to repeat it
    // `repeats` times; elsewhere the repeats are presses marked as such.
    const bool x11 = QGuiApplication::platformName() == u"xcb";
    const KeyStroke stroke = StrokeOf(key);
    const char ascii = QTest::keyToAscii(stroke.key);
    const QString text =
        ascii != 0 ? QString(QChar::fromLatin1(ascii)) : QString();
    const QString name = ascii == ' ' ? "space" : "Return";
    const int presses = x11 ? 1 : repeats + 1;
    const int step_ms = x11 ? 660 + 40 * repeats + 20 : 10;
    watchdog_.SetPaused(true);
    bool open_after_release = false;
    bool done = false;
    // Judged once a late listener has handed on all it held.
    std::function<void()> finish = [&] {
      if (LateListener::HandingOn()) {
        QTimer::singleShot(50, finish);
        return;
      }
      open_after_release = QApplication::activeModalWidget() != nullptr;
      watchdog_.SetPaused(false);
      done = true;
    };
    for (int i = 0; i <= presses + 1; ++i) {
      QTimer::singleShot(step_ms * i, [&, i] {
        if (i > presses) {
          finish();
        } else if (x11) {
          QProcess::execute("xdotool", {i == 0 ? "keydown" : "keyup", name});
        } else {
          QTest::simulateEvent(
              KeyTarget(),
              i<presses, stroke.key, stroke.modifiers, text, i> 0 &&
                  i < presses);
        }
      });
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 10000));
    return open_after_release;
  }
  void Paste(std::string_view utf8) override {
    QApplication::clipboard()->setText(FromUtf8(utf8));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V,
                    Qt::ControlModifier);
  }
  void Compose(std::string_view pinyin) override {
    const QString shown = FromUtf8(pinyin);
    if (RealInputMethod()) {
      QProcess::execute("xdotool", {"type", "--delay", "20", shown});
      EXPECT_TRUE(QTest::qWaitFor([&] { return !im_.preedit.isEmpty(); }))
          << "no preedit for " << pinyin;
      return;
    }
    QInputMethodEvent event(
        shown, {{QInputMethodEvent::Cursor, static_cast<int>(shown.size()), 1,
                 QVariant()}});
    QApplication::sendEvent(QApplication::focusWidget(), &event);
  }
  void Commit(std::string_view utf8) override {
    if (RealInputMethod()) {
      const QString before = im_.committed;
      QProcess::execute("xdotool", {"key", utf8.empty() ? "Escape" : "space"});
      EXPECT_TRUE(QTest::qWaitFor([&] { return im_.preedit.isEmpty(); }));
      EXPECT_EQ(im_.committed.mid(before.size()).toStdString(), utf8);
    } else {
      QInputMethodEvent event;
      event.setCommitString(FromUtf8(utf8));
      QApplication::sendEvent(QApplication::focusWidget(), &event);
    }
    // The box hears of the end once the event loop has run.
    QCoreApplication::processEvents();
  }
  void Click(std::string_view button) override {
    auto* target = Widget<QPushButton>(button);
    if (!RealInputMethod()) {
      QTest::mouseClick(target, Qt::LeftButton);
      return;
    }
    // The X server's click: the focus leaves a box on the press, and the
    // input method hears of it as it does from a person's.
    int clicks = 0;
    const auto counted = QObject::connect(target, &QPushButton::clicked,
                                          [&clicks] { ++clicks; });
    const QPoint centre = target->mapToGlobal(target->rect().center());
    QProcess::execute("xdotool", {"mousemove", QString::number(centre.x()),
                                  QString::number(centre.y()), "click", "1"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return clicks > 0; })) << button;
    QObject::disconnect(counted);
  }
  void SelectOutput(int from, int to) override {
    // The document counts a block's break as one character, as the shown
    // text does.
    OutputBox* output = Output();
    QTextCursor cursor(output->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    output->setTextCursor(cursor);
  }

  void DoubleClickOutput(int at) override {
    OutputBox* output = Output();
    output->setFocus(Qt::MouseFocusReason);
    QTextCursor cursor(output->document());
    cursor.setPosition(at);
    const QRect before = output->cursorRect(cursor);
    cursor.setPosition(at + 1);
    const QRect after = output->cursorRect(cursor);
    // The middle of the character, on its line.
    const QPoint middle((before.left() + after.left()) / 2,
                        before.center().y());
    QTest::mouseDClick(output->viewport(), Qt::LeftButton, {}, middle);
  }

  std::string Text(Box box) override {
    if (box == Box::kText4) return Output()->Text();
    return Input(box)->text().toStdString();
  }
  std::string Shown(Box box) override {
    if (box == Box::kText4) return Output()->toPlainText().toStdString();
    return Text(box);
  }
  std::string SelectedText(Box box) override {
    return Input(box)->selectedText().toStdString();
  }
  int CaretPosition(Box box) override { return Input(box)->cursorPosition(); }
  std::string FocusedControl() override {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName().toStdString() : std::string();
  }
  Copied Clipboard() override {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (data == nullptr) return {};
    return {data->text().toStdString(),
            data->hasHtml() ? data->html().toStdString() : std::string()};
  }
  bool ContactNoteVisible() override {
    return Widget<QLabel>("Label4")->isVisible();
  }
  std::int16_t ComputeCount() override { return window_.form().ComputeCount(); }
  std::vector<std::string> Reports() override {
    std::vector<std::string> reports;
    for (const QString& report : watchdog_.seen()) {
      reports.push_back(report.toStdString());
    }
    return reports;
  }

 private:
  template <typename T>
  T* Widget(std::string_view name) {
    T* widget = window_.findChild<T*>(FromUtf8(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  QLineEdit* Input(Box box) {
    return Widget<QLineEdit>(kBoxNames[static_cast<std::size_t>(box)]);
  }
  OutputBox* Output() { return Widget<OutputBox>("Text4"); }
  // Where the keyboard's input goes: the focus, in a report if one is open;
  // the window while the focus is on its way back from one.
  QWidget* KeyTarget() {
    QWidget* focus = QApplication::focusWidget();
    if (QWidget* modal = QApplication::activeModalWidget()) {
      if (focus == nullptr || !modal->isAncestorOf(focus)) return modal;
    }
    return focus != nullptr ? focus : &window_;
  }

  ModalWatchdog watchdog_;
  InputMethodEvents im_;
  Form1Window window_;
};

class QtScenarioTest : public testing::TestWithParam<Scenario> {};

TEST_P(QtScenarioTest, Behaves) {
  QtHost host;
  RunScenario(GetParam(), host);
}

INSTANTIATE_TEST_SUITE_P(Form1, QtScenarioTest, testing::ValuesIn(Scenarios()),
                         ScenarioName);

}  // namespace
}  // namespace zorvik::qt

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  zorvik::qt::InstallChineseQtTranslations(app);
  if (!zorvik::ListenAsAScreenReaderIfAsked()) return 1;
  // Under the screen reader the keys come late and split, as from a busy
  // listener, in every run.
  std::unique_ptr<zorvik::LateListener> late_listener;
  if (qEnvironmentVariableIsSet("ZORVIK_TEST_SCREEN_READER")) {
    late_listener = std::make_unique<zorvik::LateListener>();
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
