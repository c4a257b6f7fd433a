// Times the window's response, offscreen: from the compute click to the
// painted output box, a clear right after the longest schedule, and a copy
// of all of it. Prints the median and the spread of several runs; the
// figures are for people to read, not a pass/fail check (a shared machine is
// too noisy for that).

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "qt/form1_window.h"
#include "qt/output_box.h"

namespace {

constexpr int kRuns = 9;

struct Figures {
  double median_ms;
  double min_ms;
  double max_ms;
};

// Runs `prepare` untimed, then times `action` followed by a synchronous paint
// of the output box and the events it posted.
Figures Time(zorvik::qt::OutputBox* output,
             const std::function<void()>& prepare,
             const std::function<void()>& action) {
  std::vector<double> samples;
  for (int run = 0; run < kRuns; ++run) {
    prepare();
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    action();
    output->viewport()->repaint();
    QCoreApplication::processEvents();
    samples.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  std::sort(samples.begin(), samples.end());
  return {samples[samples.size() / 2], samples.front(), samples.back()};
}

void Print(const char* what, const Figures& f, double target_ms) {
  std::printf(
      "%-34s median %8.2f ms  (min %8.2f, max %8.2f)  target %6.1f ms\n", what,
      f.median_ms, f.min_ms, f.max_ms, target_ms);
}

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  zorvik::qt::Form1Window form;
  form.show();
  QCoreApplication::processEvents();

  auto* rent = form.findChild<QLineEdit*>("Text1");
  auto* output = form.findChild<zorvik::qt::OutputBox*>("Text4");
  auto* compute = form.findChild<QPushButton*>("Command1");
  auto* clear = form.findChild<QPushButton*>("Command2");

  const auto enter = [&](const char* y) {
    return [&, y] {
      clear->click();
      form.form().WriteBox(zorvik::Box::kText1, "1000");
      form.form().WriteBox(zorvik::Box::kText2, y);
      form.form().WriteBox(zorvik::Box::kText3, "-1");
    };
  };
  const auto click_compute = [&] { compute->click(); };

  // One longest computation and a clear, nothing else: for measuring peak
  // memory (/usr/bin/time -v) and leaks (valgrind) of exactly that.
  if (QCoreApplication::arguments().contains(
          QStringLiteral("--longest-once"))) {
    enter("32767")();
    compute->click();
    output->viewport()->repaint();
    clear->click();
    QCoreApplication::processEvents();
    return 0;
  }

  std::printf("window response, offscreen, %d runs each\n", kRuns);
  Print("compute 100 years -> painted",
        Time(output, enter("100"), click_compute), 16);
  Print("compute 32767 years -> painted",
        Time(output, enter("32767"), click_compute), 250);
  Print("clear after 32767 years",
        Time(
            output,
            [&] {
              enter("32767")();
              compute->click();
            },
            [&] { clear->click(); }),
        50);

  // Select all and copy: the text and the table put on the clipboard.
  Print("copy all of 32767 years",
        Time(
            output,
            [&] {
              enter("32767")();
              compute->click();
              output->selectAll();
            },
            [&] { output->copy(); }),
        1000);

  // Hostile pastes into the rent box, by Ctrl+V over its selected text:
  // numbers a megabyte long (written at once in their normal form, then
  // computed) and a megabyte of text that is none (reset to 0 at once).
  const QString megabyte_zeros(1 << 20, u'0');
  const QString long_decimal = QStringLiteral("0.") + QString(1 << 20, u'1');
  const auto copied = [&](const QString& text) {
    return [&, text] {
      enter("1")();
      QGuiApplication::clipboard()->setText(text);
      rent->setFocus();
      rent->selectAll();
    };
  };
  const auto ctrl_v = [&] {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::sendEvent(rent, &key);
    rent->repaint();
  };
  Print("paste 1 MB of zeros -> painted",
        Time(output, copied(megabyte_zeros), ctrl_v), 1000);
  Print("paste 1. and 1 MB of zeros",
        Time(output, copied(QStringLiteral("1.") + megabyte_zeros), ctrl_v),
        1000);
  Print("paste 1 MB decimal -> painted",
        Time(output, copied(long_decimal), ctrl_v), 1000);
  Print("paste 1 MB decimal, then compute",
        Time(output, copied(long_decimal),
             [&] {
               ctrl_v();
               compute->click();
             }),
        1000);
  Print("paste 1 MB of text -> painted",
        Time(output, copied(QString(1 << 20, u'x')), ctrl_v), 1000);
  return 0;
}
