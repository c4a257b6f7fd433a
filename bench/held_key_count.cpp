// How often a key held on 计算 presses it, with a real X server's keyboard
// repeat: each key held 2 s through xdotool (XTEST), as a finger holds it.
// Run it in an X server, with and without a screen reader's AT-SPI listener:
//   tests/with-x-server build/dev/bench/held_key_count
//   tests/qt/with-screen-reader-bus tests/with-x-server
//       build/dev/bench/held_key_count
// Prints the presses for Enter and for Space, and whether the overflow
// report a held Enter opens is still open after the key is let go.
// --late hands every key event on late and split, as a busy listener does
// (tests/qt/screen_reader_listener.h).

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <memory>

#include "qt/form1_window.h"
#include "tests/qt/screen_reader_listener.h"

namespace {

void Xdotool(const char* action, const char* key) {
  QProcess::execute(QStringLiteral("xdotool"),
                    {QString::fromLatin1(action), QString::fromLatin1(key)});
}

// Holds `key` for `ms`, the event loop running (in a report too, if the key
// opens one); returns whether a report is open 300 ms after the release.
bool HoldKey(const char* key, int ms) {
  bool open_after = false;
  bool done = false;
  Xdotool("keydown", key);
  QTimer::singleShot(ms, [key] { Xdotool("keyup", key); });
  // Judged 300 ms after the release, or after a late listener has handed on
  // all it held.
  std::function<void()> judge = [&] {
    if (zorvik::LateListener::HandingOn()) {
      QTimer::singleShot(50, judge);
      return;
    }
    open_after = QApplication::activeModalWidget() != nullptr;
    if (open_after) QApplication::activeModalWidget()->close();
    done = true;
  };
  QTimer::singleShot(ms + 300, judge);
  while (!done) QTest::qWait(10);
  return open_after;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (!zorvik::ListenAsAScreenReaderIfAsked()) return 1;
  if (qEnvironmentVariableIsSet("ZORVIK_TEST_SCREEN_READER")) {
    std::printf("with a screen reader's AT-SPI listener\n");
  }
  std::unique_ptr<zorvik::LateListener> late;
  if (QApplication::arguments().contains(QStringLiteral("--late"))) {
    std::printf("key events handed on late and split\n");
    late = std::make_unique<zorvik::LateListener>();
  }
  zorvik::qt::Form1Window window;
  window.show();
  window.activateWindow();
  if (!QTest::qWaitForWindowActive(&window)) return 1;
  auto* compute = window.findChild<QPushButton*>(QStringLiteral("Command1"));
  const auto count = [&] { return int{window.form().ComputeCount()}; };
  for (const char* key : {"Return", "space"}) {
    compute->setFocus();
    const int before = count();
    HoldKey(key, 2000);
    QTest::qWait(300);
    std::printf("%-6s held 2 s: %d press(es)\n", key, count() - before);
  }
  // Two quick taps, sent while the event loop waits, so that Qt reads them
  // together: two presses.
  for (const char* key : {"Return", "space"}) {
    compute->setFocus();
    const int before = count();
    QProcess::execute(
        QStringLiteral("xdotool"),
        {QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30"),
         QString::fromLatin1(key), QString::fromLatin1(key)});
    QTest::qWait(500);
    while (zorvik::LateListener::HandingOn()) QTest::qWait(10);
    QTest::qWait(100);
    std::printf("%-6s tapped twice: %d press(es)\n", key, count() - before);
  }
  const char* inputs[] = {"1000", "200", "32767"};
  for (int i = 0; i < 3; ++i) {
    window.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(i + 1))
        ->setText(QString::fromLatin1(inputs[i]));
  }
  compute->setFocus();
  const bool open = HoldKey("Return", 2000);
  std::printf("Return held 2 s over an overflow: report %s after release\n",
              open ? "still open" : "closed");
  return 0;
}
