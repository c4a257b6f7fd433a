#ifndef ZORVIK_TESTS_QT_SCREEN_READER_LISTENER_H_
#define ZORVIK_TESTS_QT_SCREEN_READER_LISTENER_H_

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QString>
#include <QtGlobal>
#include <cstdio>

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

}  // namespace zorvik

#endif  // ZORVIK_TESTS_QT_SCREEN_READER_LISTENER_H_
