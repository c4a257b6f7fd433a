// What the Qt host adds to the shared scenarios: the widgets' geometry and
// fonts, Qt's translations, accessibility, the pixel density, input-method
// commits and UTF-16 text that UTF-8 cannot carry.

#include "qt/form1_window.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <clocale>
#include <memory>
#include <string_view>

#include "qt/localization.h"
#include "tests/qt/modal_watchdog.h"

namespace zorvik::qt {

// Each test starts from a freshly opened window, as the user sees it at start.
class Form1WindowTest : public QObject {
  Q_OBJECT

 private:
  template <typename T>
  T* Control(const char* name) {
    T* control = form_->findChild<T*>(QString::fromLatin1(name));
    Q_ASSERT(control != nullptr);
    return control;
  }
  QLineEdit* Text(int n) {
    return Control<QLineEdit>(QByteArray("Text") + QByteArray::number(n));
  }

  std::unique_ptr<Form1Window> form_;
  std::unique_ptr<ModalWatchdog> watchdog_;

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
    form_ = std::make_unique<Form1Window>();
    form_->show();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  }

  void cleanup() {
    // No report may appear that the test did not expect.
    QCOMPARE(watchdog_->seen(), QStringList());
    form_.reset();
    watchdog_.reset();
  }

  void fixedSizeWindow() {
    QCOMPARE(form_->windowTitle(), QStringLiteral("Zorvik"));
    QCOMPARE(form_->size(), QSize(450, 281));
    QCOMPARE(form_->minimumSize(), form_->maximumSize());  // not resizable
  }

  void layoutFollowsTheTable() {
    // Spot checks in pixels (twips / 15); the note ends at the client area's
    // bottom edge: 264 + 17 = 281.
    QCOMPARE(Text(1)->geometry(), QRect(48, 8, 81, 25));
    QCOMPARE(Text(3)->geometry(), QRect(320, 8, 81, 25));
    QCOMPARE(Control<QWidget>("Text4")->geometry(), QRect(16, 80, 417, 177));
    QCOMPARE(Control<QWidget>("Command1")->geometry(), QRect(104, 48, 97, 25));
    QCOMPARE(Control<QLabel>("Label4")->geometry().bottom() + 1,
             form_->height());
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
    QVERIFY(!Control<QLabel>("Label4")->text().isEmpty());
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
    // The increase is read with its unit, from the % label.
    QCOMPARE(QAccessible::queryAccessibleInterface(Text(3))->text(
                 QAccessible::Description),
             QStringLiteral("百分比"));
    QCOMPARE(rent->text(QAccessible::Description), QString());
  }

  void keypadEnterPressesTheFocusedButton() {
    auto* compute = Control<QPushButton>("Command1");
    QVERIFY(!compute->isDefault() && !compute->autoDefault());
    compute->setFocus();
    QTest::keyClick(compute, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(form_->form().ComputeCount(), 1);
    // With a modifier it is another key.
    QTest::keyClick(compute, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(form_->form().ComputeCount(), 1);
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

  void theLocaleIsTheOneAsked() {
    if (!qEnvironmentVariableIsSet("ZORVIK_EXPECT_DECIMAL_COMMA")) {
      QSKIP("not the comma-locale run");
    }
    // The scenarios run under this locale too; make sure it really is a comma
    // locale, for Qt and for the C library alike.
    QCOMPARE(QLocale::system().decimalPoint(), QStringLiteral(","));
    QCOMPARE(std::localeconv()->decimal_point, std::string_view(","));
  }

  void fullWidthInputMethodTextIsANumber() {
    // What a Chinese input method commits in full-width mode.
    QLineEdit* rent = Text(1);
    rent->setFocus();
    rent->selectAll();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("１０００．５"));
    QApplication::sendEvent(rent, &commit);
    QCOMPARE(rent->text(), QStringLiteral("１０００．５"));
    QTest::mouseClick(Control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(rent->text(), QStringLiteral("1000.5"));

    rent->setFocus();
    QInputMethodEvent word;
    rent->selectAll();
    word.setCommitString(QStringLiteral("租金"));
    QApplication::sendEvent(rent, &word);
    QCOMPARE(rent->text(), QStringLiteral("0"));
    QCOMPARE(rent->selectedText(), QStringLiteral("0"));
  }

  void unpairedSurrogatesAndNulAreRejected_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("lone high surrogate") << QString(QChar(0xD800)) + u'5';
    QTest::newRow("lone low surrogate") << u'5' + QString(QChar(0xDC00));
    QTest::newRow("NUL") << QString::fromUtf16(
        u"5\0"
        "6",
        3);
  }
  void unpairedSurrogatesAndNulAreRejected() {
    QFETCH(QString, text);
    for (int n = 1; n <= 3; ++n) {
      QApplication::clipboard()->setText(text);
      Text(n)->setFocus();
      Text(n)->selectAll();
      QTest::keyClick(Text(n), Qt::Key_V, Qt::ControlModifier);
      QCOMPARE(Text(n)->text(), QStringLiteral("0"));
    }
  }
};

}  // namespace zorvik::qt

QTEST_MAIN(zorvik::qt::Form1WindowTest)
#include "form1_window_test.moc"
