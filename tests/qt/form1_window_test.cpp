// What the Qt host adds to the shared scenarios: the widgets' geometry and
// fonts (tests/qt/CMakeLists.txt runs this at a 14-point font too), Qt's
// translations, accessibility, the pixel density, input-method
// commits, pastes and drops by every way Qt has, and UTF-16 text that UTF-8
// cannot carry.

#include "qt/form1_window.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPixmap>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <clocale>
#include <memory>
#include <string_view>

#include "qt/localization.h"
#include "tests/qt/modal_watchdog.h"
#include "window/form_layout.h"

namespace zorvik::qt {

// The client area at the desktop fonts people set: the table's 450 x 281
// grown by the drawn character height over the 12 px the table was laid out
// for (Qt draws 11 pt at 15 px, 12 pt at 16, 14 pt at 19).
struct FontSize {
  qreal points;
  QSize client;
};
constexpr FontSize kFontSizes[] = {
    {9, {450, 281}}, {11, {563, 351}}, {12, {600, 375}}, {14, {713, 445}}};

// The application font in points this run starts with
// (ZORVIK_TEST_FONT_POINTS), Qt's default 9 unless given.
qreal StartFontPoints() {
  return qEnvironmentVariableIsSet("ZORVIK_TEST_FONT_POINTS")
             ? qEnvironmentVariable("ZORVIK_TEST_FONT_POINTS").toDouble()
             : 9;
}

void SetApplicationFontPoints(qreal points) {
  QFont font = QApplication::font();
  font.setPointSizeF(points);
  QApplication::setFont(font);
}

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
    // What a desktop's platform theme sets.
    SetApplicationFontPoints(StartFontPoints());
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
    QSize expected;
    for (const auto& [points, client] : kFontSizes) {
      if (points == StartFontPoints()) expected = client;
    }
    QVERIFY2(expected.isValid(), "no client size listed for this font");
    QCOMPARE(form_->size(), expected);
    QCOMPARE(form_->minimumSize(), form_->maximumSize());  // not resizable
  }

  void layoutFollowsTheTable() {
    // Every control where the table puts it, in the table's proportions
    // however far the font has grown the window: to the pixel, after
    // rounding.
    const qreal pixels_per_twip = form_->width() / 6750.0;
    for (const ControlRow& row : kForm1Controls) {
      const QRect actual = Control<QWidget>(row.name.data())->geometry();
      const QRectF expected(
          row.left * pixels_per_twip, row.top * pixels_per_twip,
          row.width * pixels_per_twip, row.height * pixels_per_twip);
      const QRectF difference(actual.x() - expected.x(),
                              actual.y() - expected.y(),
                              actual.width() - expected.width(),
                              actual.height() - expected.height());
      QVERIFY2(
          qAbs(difference.x()) < 1 && qAbs(difference.y()) < 1 &&
              qAbs(difference.width()) < 1 && qAbs(difference.height()) < 1,
          qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                         .arg(QLatin1String(row.name.data(), row.name.size()))
                         .arg(actual.x())
                         .arg(actual.y())
                         .arg(actual.width())
                         .arg(actual.height())));
    }
    // The note ends at the client area's bottom edge: 3960 + 255 = 4215.
    QCOMPARE(Control<QLabel>("Label4")->geometry().bottom() + 1,
             form_->height());
    if (StartFontPoints() == 9) {
      // Spot checks in pixels (twips / 15) at the font of the table.
      QCOMPARE(Text(1)->geometry(), QRect(48, 8, 81, 25));
      QCOMPARE(Text(3)->geometry(), QRect(320, 8, 81, 25));
      QCOMPARE(Control<QWidget>("Text4")->geometry(), QRect(16, 80, 417, 177));
      QCOMPARE(Control<QWidget>("Command1")->geometry(),
               QRect(104, 48, 97, 25));
    }
    // Text boxes are drawn over the labels that reach under them.
    for (const LabelFor& pair : kLabelBuddies) {
      auto* label = Control<QLabel>(pair.label.data());
      auto* box = Control<QLineEdit>(pair.control.data());
      const int y = label->geometry().center().y();
      QCOMPARE(form_->childAt(box->x() + 2, y), box);
      QCOMPARE(form_->childAt(label->x(), y), label);
    }
  }

  // Each label's caption fits the part of it that shows: its width ends
  // where a box drawn over the label begins, its height is the label's.
  void ExpectCaptionsSeenWhole() {
    const QList<QLabel*> labels =
        form_->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    QCOMPARE(labels.size(), 5);
    for (QLabel* label : labels) {
      QRect visible = label->geometry();
      for (auto* box : form_->findChildren<QLineEdit*>()) {
        if (box->geometry().intersects(visible)) {
          visible.setRight(box->x() - 1);
        }
      }
      const QRect text =
          QFontMetrics(label->font()).boundingRect(label->text());
      QVERIFY2(
          text.width() <= visible.width() && text.height() <= visible.height(),
          qPrintable(QStringLiteral("%1 at %2 pt: %3x%4 in %5x%6")
                         .arg(label->objectName())
                         .arg(label->font().pointSizeF())
                         .arg(text.width())
                         .arg(text.height())
                         .arg(visible.width())
                         .arg(visible.height())));
    }
    QVERIFY(!Control<QLabel>("Label4")->text().isEmpty());
  }

  void captionsAreSeenWhole() { ExpectCaptionsSeenWhole(); }

  void followsAChangeOfTheDesktopFont() {
    // A desktop sets the application font anew when its font size changes;
    // the open window grows or shrinks to it.
    const auto restore = qScopeGuard(
        [start = QApplication::font()] { QApplication::setFont(start); });
    for (const auto& [points, client] : kFontSizes) {
      SetApplicationFontPoints(points);
      // Qt tells the widgets through a posted event.
      QTRY_COMPARE(form_->size(), client);
      ExpectCaptionsSeenWhole();
    }
    // Never smaller than the table.
    SetApplicationFontPoints(7);
    QTRY_COMPARE(form_->font().pointSizeF(), 7.0);
    QCOMPARE(form_->size(), QSize(450, 281));
  }

  void assistiveTechnologyReadsTheNames() {
    // The top level is announced as a window (a frame to AT-SPI) by its
    // caption, and holds the controls.
    QAccessibleInterface* window =
        QAccessible::queryAccessibleInterface(form_.get());
    QVERIFY(window != nullptr);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Zorvik"));
    QCOMPARE(QAccessible::queryAccessibleInterface(Text(1))->parent(), window);
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
    QCOMPARE(grab.size(), (QSizeF(form_->size()) * ratio).toSize());
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

  // Every way a text arrives from elsewhere leaves a cell's line break out;
  // two cells stay two lines, which no box reads as a number. A drop, here
  // after the box's 0, replaces the whole text.
  void pastesAndDropsLeaveNoTrailingBreak_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("kept");
    QTest::newRow("keys, LF") << "keys"
                              << "1000\n"
                              << "1000";
    QTest::newRow("keys, CR LF") << "keys"
                                 << "1000\r\n"
                                 << "1000";
    QTest::newRow("keys, two cells") << "keys"
                                     << "1000\n2000\n"
                                     << "0";
    QTest::newRow("menu, CR LF") << "menu"
                                 << "1000\r\n"
                                 << "1000";
    QTest::newRow("menu, two cells") << "menu"
                                     << "1000\r\n2000"
                                     << "0";
    QTest::newRow("drop, CR LF") << "drop"
                                 << "1000\r\n"
                                 << "1000";
    QTest::newRow("drop, two cells") << "drop"
                                     << "1000\n2000\n"
                                     << "0";
  }
  void pastesAndDropsLeaveNoTrailingBreak() {
    QFETCH(QString, way);
    QFETCH(QString, pasted);
    QFETCH(QString, kept);
    QLineEdit* rent = Text(1);
    rent->setFocus();
    rent->selectAll();
    if (way == "keys") {
      QApplication::clipboard()->setText(pasted);
      QTest::keyClick(rent, Qt::Key_V, Qt::ControlModifier);
    } else if (way == "menu") {
      QApplication::clipboard()->setText(pasted);
      QContextMenuEvent open(QContextMenuEvent::Keyboard, QPoint(5, 5),
                             rent->mapToGlobal(QPoint(5, 5)));
      QApplication::sendEvent(rent, &open);
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(menu != nullptr);
      const QString paste = QCoreApplication::translate("QLineEdit", "&Paste");
      QAction* found = nullptr;
      for (QAction* action : menu->actions()) {
        if (action->text().startsWith(paste)) found = action;
      }
      QVERIFY(found != nullptr);
      found->trigger();
      menu->close();
    } else {
      QMimeData data;
      data.setText(pasted);
      const QPoint end(rent->width() - 3, rent->height() / 2);
      QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
      QApplication::sendEvent(rent, &enter);
      QDropEvent drop(end, Qt::CopyAction, &data, Qt::LeftButton,
                      Qt::NoModifier);
      QApplication::sendEvent(rent, &drop);
      QVERIFY(drop.isAccepted());
    }
    QCOMPARE(rent->text(), kept);
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
