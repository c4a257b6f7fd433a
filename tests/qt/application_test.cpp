#include "qt/application.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QTest>
#include <new>

#include "tests/qt/modal_watchdog.h"

namespace zorvik::qt {
namespace {

// Fails the way a handler does when memory runs out mid-schedule.
class FailingReceiver : public QObject {
 public:
  bool event(QEvent* event) override {
    if (event->type() == QEvent::User) throw std::bad_alloc();
    return QObject::event(event);
  }
};

}  // namespace

class ApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void failureInAHandlerEndsWithTheReport() {
    const ModalWatchdog watchdog;
    FailingReceiver receiver;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));

    QCOMPARE(QCoreApplication::exec(), 1);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(watchdog.seen(),
             QStringList{QStringLiteral("Zorvik|运行时错误 '7':\n\n内存不足")});
    // Chinese whatever Qt translations are installed: none are here.
    QCOMPARE(watchdog.buttons(), QStringList{QStringLiteral("确定")});
  }
};

}  // namespace zorvik::qt

int main(int argc, char* argv[]) {
  zorvik::qt::Application app(argc, argv);
  zorvik::qt::ApplicationTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
