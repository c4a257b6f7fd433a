#ifndef ZORVIK_TESTS_QT_SCREEN_READER_LISTENER_H_
#define ZORVIK_TESTS_QT_SCREEN_READER_LISTENER_H_

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QKeyEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QtGlobal>
#include <cstdio>
#include <deque>
#include <utility>

namespace zorvik {

// Registers an AT-SPI event listener, as a screen reader does, for as long as
// the program runs: Qt then hands every key event to the registry and
// delivers it once answered. Returns what went wrong, "" when it listens.
inline QString ListenAsAScreenReader() {
  const QDBusReply<QString> address =
      QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
          "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress"));
  if (!address.isValid()) return address.error().message();
  QDBusConnection bus =
      QDBusConnection::connectToBus(address.value(), "screen-reader");
  QDBusMessage listen = QDBusMessage::createMethodCall(
      "org.a11y.atspi.Registry", "/org/a11y/atspi/registry",
      "org.a11y.atspi.Registry", "RegisterEvent");
  listen << QStringLiteral("object:state-changed:focused");
  const QDBusMessage reply = bus.call(listen);
  if (reply.type() == QDBusMessage::ErrorMessage) return reply.errorMessage();
  return {};
}

// Listens as a screen reader where ZORVIK_TEST_SCREEN_READER is set (the
// runs that tests/qt/with-screen-reader-bus makes); false, after saying why,
// when it was asked for and cannot listen.
inline bool ListenAsAScreenReaderIfAsked() {
  if (!qEnvironmentVariableIsSet("ZORVIK_TEST_SCREEN_READER")) return true;
  const QString failed = ListenAsAScreenReader();
  if (!failed.isEmpty()) {
    std::fprintf(stderr, "no screen reader's listener: %s\n",
                 qPrintable(failed));
    return false;
  }
  return true;
}

// A listener that answers late, as a busy screen reader's does: every key
// event is held back until the keys have been quiet for 700 ms (longer than
// the keyboard's delay before it repeats), then handed on one at a time,
// apart, and without its repeat mark (Qt marks a repeat only when its
// release and press arrive together). A held key's press, its repeats and
// its release then all come after the key has been let go, every time, not
// only when the machine is busy.
class LateListener : public QObject {
 public:
  LateListener() {
    quiet_.setSingleShot(true);
    quiet_.setInterval(700);
    connect(&quiet_, &QTimer::timeout, this, &LateListener::HandOn);
    QCoreApplication::instance()->installEventFilter(this);
  }

  // Whether key events are still held back or being handed on, by any
  // LateListener.
  static bool HandingOn() { return pending_ > 0; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress &&
        event->type() != QEvent::KeyRelease) {
      return false;
    }
    if (dynamic_cast<HandedOn*>(event) != nullptr) return false;
    const auto& key = *static_cast<QKeyEvent*>(event);
    held_.emplace_back(
        watched, new HandedOn(key.type(), key.key(), key.modifiers(),
                              key.nativeScanCode(), key.nativeVirtualKey(),
                              key.nativeModifiers(), key.text(), false));
    ++pending_;
    quiet_.start();
    return true;
  }

 private:
  class HandedOn : public QKeyEvent {
   public:
    using QKeyEvent::QKeyEvent;
  };

  void HandOn() {
    if (held_.empty()) return;
    auto [target, event] = held_.front();
    held_.pop_front();
    --pending_;
    if (target != nullptr) {
      QCoreApplication::postEvent(target, event);
    } else {
      delete event;
    }
    QTimer::singleShot(2, this, &LateListener::HandOn);
  }

  static inline int pending_ = 0;
  QTimer quiet_;
  std::deque<std::pair<QPointer<QObject>, HandedOn*>> held_;
};

}  // namespace zorvik

#endif  // ZORVIK_TESTS_QT_SCREEN_READER_LISTENER_H_
