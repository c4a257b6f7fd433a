#include "window/main_window.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <clocale>
#include <memory>
#include <string_view>

#include "tests/window/modal_watchdog.h"
#include "window/input_box.h"
#include "window/localization.h"
#include "window/output_box.h"

namespace zorvik {
namespace {

QString Entry(int year, const QString& rent) {
  return QStringLiteral("第 %1 年租金：  %2\n\r\n\r\n").arg(year).arg(rent);
}

}  // namespace

// Each test starts from a freshly opened window, as the user sees it at start.
class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  template <typename T>
  T* Control(const char* name) {
    T* control = form_->findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT(control != nullptr);
    return control;
  }
  InputBox* Text(int n) {
    return Control<InputBox>(QByteArray("Text") + QByteArray::number(n));
  }
  OutputBox* Output() { return Control<OutputBox>("Text4"); }
  QLabel* ContactNote() { return Control<QLabel>("Label4"); }
  QPushButton* Compute() { return Control<QPushButton>("Command1"); }
  QPushButton* Clear() { return Control<QPushButton>("Command2"); }

  // Types into a box the way a user does: focus, select all, keys.
  void TypeInto(InputBox* box, const QString& keys) {
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, keys);
  }
  void Enter(const QString& rent, const QString& years,
             const QString& percent) {
    TypeInto(Text(1), rent);
    TypeInto(Text(2), years);
    TypeInto(Text(3), percent);
  }
  void ClickCompute() { QTest::mouseClick(Compute(), Qt::LeftButton); }

  std::unique_ptr<Form1> form_;
  std::unique_ptr<ModalWatchdog> watchdog_;
  QStringList expected_reports_;

 private slots:
  void initTestCase() {
    // Qt's standard texts (the report's button, the context menus) follow
    // the program into Chinese.
    QVERIFY(InstallChineseQtTranslations(*qApp));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "OK"),
             QStringLiteral("确定"));
    QCOMPARE(QCoreApplication::translate("QLineEdit", "&Paste"),
             QStringLiteral("粘贴(&P)"));
  }

  void init() {
    watchdog_ = std::make_unique<ModalWatchdog>();
    expected_reports_.clear();
    form_ = std::make_unique<Form1>();
    form_->show();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  }

  void cleanup() {
    // No report may appear that the test did not expect.
    QCOMPARE(watchdog_->seen(), expected_reports_);
    form_.reset();
    watchdog_.reset();
  }

  void startState() {
    QCOMPARE(form_->windowTitle(), QStringLiteral("Zorvik"));
    QCOMPARE(form_->size(), QSize(450, 281));
    QCOMPARE(form_->minimumSize(), form_->maximumSize());  // not resizable
    for (int n = 1; n <= 3; ++n) QCOMPARE(Text(n)->text(), QStringLiteral("0"));
    QCOMPARE(Output()->Text(), QString());
    QVERIFY(!ContactNote()->isVisible());
    QCOMPARE(QApplication::focusWidget(), Text(3));
    QCOMPARE(form_->ComputeCount(), 0);
  }

  void layoutFollowsTheTable() {
    // Spot checks in pixels (twips / 15); the note ends at the client area's
    // bottom edge: 264 + 17 = 281.
    QCOMPARE(Text(1)->geometry(), QRect(48, 8, 81, 25));
    QCOMPARE(Text(3)->geometry(), QRect(320, 8, 81, 25));
    QCOMPARE(Output()->geometry(), QRect(16, 80, 417, 177));
    QCOMPARE(Compute()->geometry(), QRect(104, 48, 97, 25));
    QCOMPARE(ContactNote()->geometry().bottom() + 1, form_->height());
    // Text boxes are drawn over the labels that reach under them.
    QCOMPARE(form_->childAt(50, 20), Text(1));
    QCOMPARE(form_->childAt(185, 20), Text(2));
    QCOMPARE(form_->childAt(16, 20)->objectName(), QStringLiteral("Label1"));
  }

  void captionsAreSeenWhole() {
    // Each label's visible part ends where its box begins.
    const struct {
      const char* label;
      int visible_width;
    } labels[] = {{"Label1", 48 - 16},
                  {"Label2", 184 - 152},
                  {"Label3", 320 - 288},
                  {"Label5", 33},
                  {"Label4", 137}};
    for (const auto& [name, visible_width] : labels) {
      auto* label = Control<QLabel>(name);
      const int advance =
          QFontMetrics(label->font()).horizontalAdvance(label->text());
      QVERIFY2(advance <= visible_width,
               qPrintable(QStringLiteral("%1: %2 > %3")
                              .arg(QLatin1String(name))
                              .arg(advance)
                              .arg(visible_width)));
    }
    QVERIFY(!ContactNote()->text().isEmpty());
  }

  void assistiveTechnologyReadsTheNames() {
    const struct {
      const char* control;
      QString name;
    } expected[] = {{"Text1", "租金"},    {"Text2", "年限"},
                    {"Text3", "递增"},    {"Text4", "每年租金"},
                    {"Command1", "计算"}, {"Command2", "清除"},
                    {"Label5", "百分比"}};
    for (const auto& [control, name] : expected) {
      QAccessibleInterface* node =
          QAccessible::queryAccessibleInterface(Control<QWidget>(control));
      QVERIFY(node != nullptr);
      QCOMPARE(node->text(QAccessible::Name), name);
    }
    QAccessibleInterface* rent = QAccessible::queryAccessibleInterface(Text(1));
    QCOMPARE(rent->role(), QAccessible::EditableText);
    QCOMPARE(rent->text(QAccessible::Value), QStringLiteral("0"));
  }

  void scaledWindowGrabsAtItsPixelRatio() {
    // Under QT_SCALE_FACTOR=2 the fixed layout doubles in device pixels.
    const qreal ratio = form_->devicePixelRatioF();
    if (qEnvironmentVariableIsSet("ZORVIK_EXPECT_SCALE")) {
      QCOMPARE(ratio, qEnvironmentVariable("ZORVIK_EXPECT_SCALE").toDouble());
    }
    const QPixmap grab = form_->grab();
    QCOMPARE(grab.size(), (QSizeF(450, 281) * ratio).toSize());
  }

  void tabOrderCycles() {
    const QString expected[] = {"Text4",    "Text1",    "Text2",
                                "Command1", "Command2", "Text3"};
    for (const QString& name : expected) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget()->objectName(), name);
    }
  }

  void enterAndEscapeDoNothing() {
    Enter("1000", "3", "5");
    Compute()->setFocus();
    QTest::keyClick(Compute(), Qt::Key_Return);
    QTest::keyClick(Compute(), Qt::Key_Enter);
    QTest::keyClick(Compute(), Qt::Key_Escape);
    QTest::keyClick(Text(1), Qt::Key_Return);
    QCOMPARE(form_->ComputeCount(), 0);
    QCOMPARE(Output()->Text(), QString());
    QVERIFY(form_->isVisible());
  }

  void guardKeepsInputsConvertible_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    QTest::newRow("rent digits") << 1 << "1000.5"
                                 << "1000.5";
    QTest::newRow("rent letters") << 1 << "abc"
                                  << "0";
    QTest::newRow("rent letter after digits") << 1 << "12x"
                                              << "0";
    // "1.5e" on its way to "1.5e3" does not convert: exponents are pasted,
    // not typed.
    QTest::newRow("rent exponent typed") << 1 << "1.5e3"
                                         << "3";
    QTest::newRow("years 40000") << 2 << "40000"
                                 << "0";
    QTest::newRow("years 3.5") << 2 << "3.5"
                               << "3.5";
    QTest::newRow("percent lone minus") << 3 << "-"
                                        << "0";
    QTest::newRow("percent 32767.5") << 3 << "32767.5"
                                     << "0";
    QTest::newRow("reset then typed") << 1 << "x7"
                                      << "7";
  }
  void guardKeepsInputsConvertible() {
    QFETCH(int, box);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    TypeInto(Text(box), keys);
    QCOMPARE(Text(box)->text(), expected);
  }

  void deletingEverythingGivesASelectedZero() {
    // State: "25" in the rent box. Action: select all, Backspace, then 5.
    TypeInto(Text(1), "25");
    QTest::keyClick(Text(1), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Text(1), Qt::Key_Backspace);
    QCOMPARE(Text(1)->text(), QStringLiteral("0"));
    QCOMPARE(Text(1)->selectedText(), QStringLiteral("0"));
    QTest::keyClick(Text(1), Qt::Key_5);
    QCOMPARE(Text(1)->text(), QStringLiteral("5"));  // not "05" or "50"
  }

  void minusInFrontOfDigitsStays() {
    TypeInto(Text(3), "5");
    QTest::keyClick(Text(3), Qt::Key_Home);
    QTest::keyClick(Text(3), Qt::Key_Minus);
    QCOMPARE(Text(3)->text(), QStringLiteral("-5"));
  }

  void pasteGoesThroughTheGuard() {
    QApplication::clipboard()->setText(QStringLiteral("12 34"));
    Text(1)->setFocus();
    QTest::keyClick(Text(1), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Text(1), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Text(1)->text(), QStringLiteral("0"));
    QApplication::clipboard()->setText(QStringLiteral(" 2500 "));
    QTest::keyClick(Text(1), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(Text(1), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Text(1)->text(), QStringLiteral(" 2500 "));
  }

  void fullWidthInputMethodTextIsANumber() {
    // What a Chinese input method commits in full-width mode.
    InputBox* rent = Text(1);
    rent->setFocus();
    rent->selectAll();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("１０００．５"));
    QApplication::sendEvent(rent, &commit);
    QCOMPARE(rent->text(), QStringLiteral("１０００．５"));
    ClickCompute();
    QCOMPARE(rent->text(), QStringLiteral("1000.5"));

    QInputMethodEvent word;
    rent->selectAll();
    word.setCommitString(QStringLiteral("租金"));
    QApplication::sendEvent(rent, &word);
    QCOMPARE(rent->text(), QStringLiteral("0"));
    QCOMPARE(rent->selectedText(), QStringLiteral("0"));
  }

  void hostileTextIsRejected_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("lone high surrogate") << QString(QChar(0xD800)) + u'5';
    QTest::newRow("lone low surrogate") << u'5' + QString(QChar(0xDC00));
    QTest::newRow("right-to-left mark") << QStringLiteral("\u200F5");
    QTest::newRow("zero-width space") << QStringLiteral("5\u200B");
    QTest::newRow("byte order mark") << QStringLiteral("\uFEFF5");
    QTest::newRow("NUL") << QString::fromUtf16(
        u"5\0"
        "6",
        3);
    QTest::newRow("1 MB of text") << QString(1 << 20, u'a');
  }
  void hostileTextIsRejected() {
    QFETCH(QString, text);
    for (int n = 1; n <= 3; ++n) {
      Text(n)->SetText(text);
      QCOMPARE(Text(n)->text(), QStringLiteral("0"));
      QApplication::clipboard()->setText(text);
      Text(n)->setFocus();
      QTest::keyClick(Text(n), Qt::Key_V, Qt::ControlModifier);
      QCOMPARE(Text(n)->text(), QStringLiteral("0"));
    }
  }

  void megabyteOfDigitsIsComputed() {
    // 0.000...0001 with a million digits: a number, and a tiny one.
    QString digits = QStringLiteral("0.") + QString(1 << 20, u'0') + u'1';
    Text(1)->SetText(digits);
    QCOMPARE(Text(1)->text().size(), digits.size());
    Enter(QString(), "1", "5");
    Text(1)->SetText(digits);
    ClickCompute();
    QCOMPARE(Text(1)->text(), QStringLiteral("0"));
    QCOMPARE(Output()->Text(), Entry(1, "0"));
  }

  void numbersUseTheFullStopInAnyLocale() {
    if (qEnvironmentVariableIsSet("ZORVIK_EXPECT_DECIMAL_COMMA")) {
      // Make sure this run really is under a comma locale, for Qt and for
      // the C library alike.
      QCOMPARE(QLocale::system().decimalPoint(), QStringLiteral(","));
      QCOMPARE(std::localeconv()->decimal_point, std::string_view(","));
    }
    Enter("1102.5", "2", "10");
    QCOMPARE(Text(1)->text(), QStringLiteral("1102.5"));
    ClickCompute();
    QCOMPARE(Output()->Text(), Entry(1, "1102.5") + Entry(2, "1212.75"));
    // The locale's own separator is no separator here.
    Text(1)->SetText(QStringLiteral("1102,5"));
    QCOMPARE(Text(1)->text(), QStringLiteral("0"));
  }

  void longestScheduleThenClear() {
    Enter("1000", "32767", "-1");
    ClickCompute();
    QCOMPARE(Output()->document()->blockCount(), 2 * 32767 + 1);
    QVERIFY(Output()->Text().contains(QStringLiteral("\n第 32767 年租金：  ")));
    QTest::mouseClick(Clear(), Qt::LeftButton);
    QCOMPARE(Output()->document()->blockCount(), 1);
  }

  void programWritesAreGuardedToo() {
    Text(2)->SetText(QStringLiteral("abc"));
    QCOMPARE(Text(2)->text(), QStringLiteral("0"));
  }

  void workedExample() {
    Enter("1000.00", "3", "05");
    ClickCompute();
    QCOMPARE(Text(1)->text(), QStringLiteral("1000"));
    QCOMPARE(Text(2)->text(), QStringLiteral("3"));
    QCOMPARE(Text(3)->text(), QStringLiteral("5"));
    QCOMPARE(Output()->Text(),
             Entry(1, "1000") + Entry(2, "1050") + Entry(3, "1102.5"));
    QCOMPARE(Output()->toPlainText(),
             QStringLiteral("第 1 年租金：  1000\n\n第 2 年租金：  1050\n\n"
                            "第 3 年租金：  1102.5\n\n"));
    QCOMPARE(form_->ComputeCount(), 1);
  }

  void yearsAndPercentAreRoundedAndWrittenBack() {
    Enter("100", "3.5", "12.5");
    ClickCompute();
    QCOMPARE(Text(2)->text(), QStringLiteral("4"));
    QCOMPARE(Text(3)->text(), QStringLiteral("12"));
    QCOMPARE(Output()->Text(), Entry(1, "100") + Entry(2, "112") +
                                   Entry(3, "125.44") + Entry(4, "140.4928"));
  }

  void zeroYearsEmptiesTheOutputAndCounts() {
    Enter("1000", "2", "5");
    ClickCompute();
    TypeInto(Text(2), "0");
    ClickCompute();
    QCOMPARE(Output()->Text(), QString());
    QCOMPARE(form_->ComputeCount(), 2);
  }

  void contactNoteFromTheTenthComputation() {
    for (int i = 0; i < 9; ++i) ClickCompute();
    QVERIFY(!ContactNote()->isVisible());
    ClickCompute();
    QVERIFY(ContactNote()->isVisible());
    QTest::mouseClick(Clear(), Qt::LeftButton);
    QVERIFY(ContactNote()->isVisible());
    QCOMPARE(form_->ComputeCount(), 10);
  }

  void clearAfterCompute() {
    Enter("1000", "3", "5");
    ClickCompute();
    QTest::mouseClick(Clear(), Qt::LeftButton);
    for (int n = 1; n <= 3; ++n) QCOMPARE(Text(n)->text(), QStringLiteral("0"));
    QCOMPARE(Output()->Text(), QString());
    QCOMPARE(Output()->toPlainText(), QString());
    QCOMPARE(form_->ComputeCount(), 1);
  }

  void overflowIsReportedAndTheWindowStays() {
    Enter("1000", "1", "5");
    ClickCompute();
    const QString earlier = Output()->Text();
    Enter("1000.0", "200", "32767");
    ClickCompute();
    expected_reports_ << QStringLiteral("Zorvik|运行时错误 '6':\n\n溢出");
    QCOMPARE(watchdog_->seen(), expected_reports_);
    QVERIFY(form_->isVisible());
    QCOMPARE(Text(1)->text(), QStringLiteral("1000"));
    QCOMPARE(Text(2)->text(), QStringLiteral("200"));
    QCOMPARE(Text(3)->text(), QStringLiteral("32767"));
    QCOMPARE(Output()->Text(), earlier);
    QCOMPARE(form_->ComputeCount(), 1);
  }

  void countStopsAtItsMaximum() {
    // Every computation after the 32767th still succeeds, silently.
    for (int i = 0; i < 32768; ++i) Compute()->click();
    QCOMPARE(form_->ComputeCount(), Form1::kMaxComputeCount);
    QVERIFY(ContactNote()->isVisible());
  }
};

}  // namespace zorvik

QTEST_MAIN(zorvik::MainWindowTest)
#include "main_window_test.moc"
