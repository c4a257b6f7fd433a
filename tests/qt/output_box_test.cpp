#include "qt/output_box.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
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
