// The guards' promise under random editing: whatever the user types, deletes,
// pastes or undoes, and whatever the program writes, each input box holds a
// text its own conversion accepts, so a computation never meets a type
// mismatch.

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <random>

#include "core/numeric_text.h"
#include "qt/form1_window.h"
#include "tests/qt/modal_watchdog.h"

namespace zorvik::qt {
namespace {

constexpr int kEditsPerBox = 10000;
constexpr int kComputeEvery = 500;

bool Converts(int box, const QString& text) {
  try {
    if (box == 1) {
      ParseDouble(text.toStdString());
    } else {
      ParseInteger(text.toStdString(),
                   box == 3 ? PercentSign::kAccepted : PercentSign::kRefused);
    }
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

class RandomText {
 public:
  explicit RandomText(std::uint32_t seed) : rng_(seed) {}

  int Below(int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(rng_);
  }

  // One character, biased towards what makes numbers so that texts grow.
  QString Character() {
    static const char16_t kInteresting[] = {
        u'0',   u'1',   u'5',   u'9',   u'.',   u'-',   u'+',   u'e',
        u'E',   u' ',   u'\t',  0xFF10, 0xFF15, 0xFF0E, 0xFF0D, 0x3000,
        0x200F, 0x200B, 0xFEFF, 0xD800, 0xDC00, 0x0000, 0x007F, u'\n',
        u'\r',  0x4E00, 0x79DF, u',',   u'%',   0x4E07, 0x2212, 0x00A0};
    switch (Below(6)) {
      case 0:
      case 1:
      case 2:
        return {QChar(kInteresting[Below(std::size(kInteresting))])};
      case 3:
        return {QChar(0x20 + Below(0x5F))};  // printable ASCII
      case 4:
        return {QChar(0x4E00 + Below(0x5000))};  // CJK ideographs
      default:
        return {QChar(0xFF01 + Below(0x5E))};  // full-width forms
    }
  }

  QString Text(int max_length) {
    QString text;
    for (int n = Below(max_length + 1); n > 0; --n) text += Character();
    return text;
  }

 private:
  std::mt19937 rng_;
};

}  // namespace

class RandomEditTest : public QObject {
  Q_OBJECT

 private slots:
  void guardsHoldUnderRandomEditing_data() {
    QTest::addColumn<int>("box");
    QTest::newRow("rent") << 1;
    QTest::newRow("years") << 2;
    QTest::newRow("percent") << 3;
  }

  void guardsHoldUnderRandomEditing() {
    QFETCH(int, box);
    ModalWatchdog watchdog;
    Form1Window form;
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* edit = form.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(box));
    auto* compute = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    edit->setFocus();

    RandomText random(20261208u + static_cast<std::uint32_t>(box));
    int long_pastes = 0;
    for (int i = 1; i <= kEditsPerBox; ++i) {
      QString action;
      switch (random.Below(9)) {
        case 0:
        case 1: {
          const QString c = random.Character();
          action = "type " + c;
          QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, c,
                              Qt::NoModifier);
          break;
        }
        case 2:
          action = "backspace";
          edit->setCursorPosition(
              random.Below(static_cast<int>(edit->text().size()) + 1));
          QTest::keyClick(edit, Qt::Key_Backspace);
          break;
        case 3:
          action = "delete";
          edit->setCursorPosition(
              random.Below(static_cast<int>(edit->text().size()) + 1));
          QTest::keyClick(edit, Qt::Key_Delete);
          break;
        case 4:
          action = "select all, type";
          QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
          QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown,
                              random.Character(), Qt::NoModifier);
          break;
        case 5: {
          // Now and then a very long paste, mostly digits.
          const bool long_one = random.Below(100) == 0;
          long_pastes += long_one ? 1 : 0;
          QString text = long_one ? QString(100000, u'7') : random.Text(12);
          if (long_one && random.Below(2) == 0) text.insert(50000, u'x');
          action = QStringLiteral("paste %1 characters").arg(text.size());
          QApplication::clipboard()->setText(text);
          edit->setCursorPosition(
              random.Below(static_cast<int>(edit->text().size()) + 1));
          QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
          break;
        }
        case 6: {
          QInputMethodEvent commit;
          commit.setCommitString(random.Text(4));
          action = "input method " + commit.commitString();
          QApplication::sendEvent(edit, &commit);
          break;
        }
        case 7:
          action = "undo";
          QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
          break;
        default:
          action = "program write";
          form.form().WriteBox(static_cast<Box>(box - 1),
                               random.Text(10).toStdString());
          break;
      }
      QVERIFY2(Converts(box, edit->text()),
               qPrintable(QStringLiteral("edit %1 (%2) left \"%3\"")
                              .arg(i)
                              .arg(action, edit->text().left(40))));
      if (i % kComputeEvery == 0) {
        compute->click();
        edit->setFocus();
      }
    }
    // A computation may overflow (error 6); it never meets a text that does
    // not convert (error 13).
    for (const QString& report : watchdog.seen()) {
      QVERIFY2(report.contains(QStringLiteral("'6'")), qPrintable(report));
    }
    qInfo("box %d: %d edits, %d long pastes, %lld overflow reports", box,
          kEditsPerBox, long_pastes,
          static_cast<long long>(watchdog.seen().size()));
  }
};

}  // namespace zorvik::qt

QTEST_MAIN(zorvik::qt::RandomEditTest)
#include "random_edit_test.moc"
