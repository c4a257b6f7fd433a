#include "window/output_box.h"

#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

namespace zorvik {

class OutputBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void breaksLinesOnlyAtCrLf_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("shown");
    QTest::newRow("lone CR") << "a\rb"
                             << "ab";
    QTest::newRow("lone LF") << "a\nb"
                             << "ab";
    QTest::newRow("CR LF") << "a\r\nb"
                           << "a\nb";
    QTest::newRow("LF CR") << "a\n\rb"
                           << "ab";
    QTest::newRow("CR CR LF") << "a\r\r\nb"
                              << "a\nb";
    QTest::newRow("schedule break") << "x\n\r\n\r\ny"
                                    << "x\n\ny";
    QTest::newRow("trailing CR") << "a\r"
                                 << "a";
    QTest::newRow("empty") << ""
                           << "";
  }
  void breaksLinesOnlyAtCrLf() {
    QFETCH(QString, written);
    QFETCH(QString, shown);
    OutputBox box;
    box.SetText(written);
    QCOMPARE(box.toPlainText(), shown);
    // What the program reads back is what it wrote, not what is shown.
    QCOMPARE(box.Text(), written);
  }

  void writeReplacesEverything() {
    OutputBox box;
    box.SetText(QStringLiteral("first\r\nsecond"));
    box.SetText(QStringLiteral("third"));
    QCOMPARE(box.toPlainText(), QStringLiteral("third"));
    QCOMPARE(box.Text(), QStringLiteral("third"));
  }

  void userCanCopyButNotEdit() {
    OutputBox box;
    box.SetText(QStringLiteral("E1\n\r\n\r\nE2\n\r\n\r\n"));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("E1\n\nE2\n\n"));
    QTest::keyClicks(&box, QStringLiteral("xyz"));
    QTest::keyClick(&box, Qt::Key_Delete);
    QCOMPARE(box.Text(), QStringLiteral("E1\n\r\n\r\nE2\n\r\n\r\n"));
    QCOMPARE(box.toPlainText(), QStringLiteral("E1\n\nE2\n\n"));
  }

  void wrapsAndAlwaysHasAVerticalScrollBar() {
    OutputBox box;
    box.resize(200, 100);
    box.SetText(QString(500, u'x'));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QVERIFY(box.verticalScrollBar()->isVisible());
    QVERIFY(!box.horizontalScrollBar()->isVisible());
    QVERIFY(box.document()->firstBlock().layout()->lineCount() > 1);
  }
};

}  // namespace zorvik

QTEST_MAIN(zorvik::OutputBoxTest)
#include "output_box_test.moc"
