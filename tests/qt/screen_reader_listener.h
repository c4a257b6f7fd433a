#ifndef ZORVIK_TESTS_QT_SCREEN_READER_LISTENER_H_
#define ZORVIK_TESTS_QT_SCREEN_READER_LISTENER_H_

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>
#include <QString>

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

}  // namespace zorvik

#endif  // ZORVIK_TESTS_QT_SCREEN_READER_LISTENER_H_
