#include "qt/output_box.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

namespace zorvik::qt {

class OutputBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void showsTheDisplayFormAndKeepsTheWrittenText() {
    OutputBox box;
    box.SetText("E1\n\r\n\r\nE2\rx");
    QCOMPARE(box.toPlainText(), QStringLiteral("E1\n\nE2x"));
    // What the program reads back is what it wrote, not what is shown.
    QVERIFY(box.Text() == std::string("E1\n\r\n\r\nE2\rx"));
  }

  void writeReplacesEverything() {
    OutputBox box;
    box.SetText("first\r\nsecond");
    box.SetText("third");
    QCOMPARE(box.toPlainText(), QStringLiteral("third"));
    QVERIFY(box.Text() == std::string("third"));
  }

  void userCanCopyButNotEdit() {
    OutputBox box;
    box.SetText("E1\n\r\n\r\nE2\n\r\n\r\n");
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("E1\n\nE2\n\n"));
    QTest::keyClicks(&box, QStringLiteral("xyz"));
    QTest::keyClick(&box, Qt::Key_Delete);
    QVERIFY(box.Text() == std::string("E1\n\r\n\r\nE2\n\r\n\r\n"));
    QCOMPARE(box.toPlainText(), QStringLiteral("E1\n\nE2\n\n"));
  }

  void copyCarriesTextAndATableOnly() {
    OutputBox box;
    box.SetText(
        "第 1 年租金：  1000\n\r\n\r\n第 2 年租金：  1.5E+20\n\r\n\r\n");
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* all = QApplication::clipboard()->mimeData();
    // No rich text, Markdown or ODF of Qt's own for a paste to prefer.
    QCOMPARE(all->formats(), QStringList({QStringLiteral("text/plain"),
                                          QStringLiteral("text/html")}));
    QVERIFY(all->html().contains(
        QStringLiteral("<tr><td>2</td><td sdnum=\"1033;\" "
                       "sdval=\"1.5E+20\">1.5E+20</td></tr>")));

    // Part of the second line, "1.5E+2": no whole entry, so text alone.
    QTextCursor part = box.textCursor();
    part.setPosition(26);
    part.setPosition(32, QTextCursor::KeepAnchor);
    box.setTextCursor(part);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    const QMimeData* some = QApplication::clipboard()->mimeData();
    QCOMPARE(some->text(), QStringLiteral("1.5E+2"));
    QCOMPARE(some->formats(), QStringList(QStringLiteral("text/plain")));
  }

  void wrapsAndAlwaysHasAVerticalScrollBar() {
    OutputBox box;
    box.resize(200, 100);
    box.SetText(std::string(500, 'x'));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.verticalScrollBar()->isVisible());
    QVERIFY(!box.horizontalScrollBar()->isVisible());
    QVERIFY(box.document()->firstBlock().layout()->lineCount() > 1);
  }
};

}  // namespace zorvik::qt

QTEST_MAIN(zorvik::qt::OutputBoxTest)
#include "output_box_test.moc"
