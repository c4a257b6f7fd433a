#include "qt/application.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <array>
#include <cstddef>
#include <cstring>
#include <new>
#include <optional>

#include "qt/display.h"
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

// The variables that decide where Qt opens its window.
constexpr std::array kDisplayVariables = {"DISPLAY",         "WAYLAND_DISPLAY",
                                          "WAYLAND_SOCKET",  "XDG_SESSION_TYPE",
                                          "XDG_RUNTIME_DIR", "QT_QPA_PLATFORM"};

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

  void aMissingDisplayIsFoundBeforeQtStarts() {
    QByteArray saved[kDisplayVariables.size()];
    bool was_set[kDisplayVariables.size()];
    for (std::size_t i = 0; i < kDisplayVariables.size(); ++i) {
      was_set[i] = qEnvironmentVariableIsSet(kDisplayVariables[i]);
      saved[i] = qgetenv(kDisplayVariables[i]);
    }
    const auto restore = qScopeGuard([&] {
      for (std::size_t i = 0; i < kDisplayVariables.size(); ++i) {
        if (was_set[i]) {
          qputenv(kDisplayVariables[i], saved[i]);
        } else {
          qunsetenv(kDisplayVariables[i]);
        }
      }
    });
    // A compositor listening at its default socket, where Wayland looks
    // without WAYLAND_DISPLAY, and the socket file one that has stopped
    // leaves behind.
    const QTemporaryDir with_socket;
    const QString listening = QDir(with_socket.path()).filePath("wayland-0");
    sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
    const QByteArray path = QFile::encodeName(listening);
    QVERIFY(static_cast<std::size_t>(path.size()) < sizeof address.sun_path);
    std::memcpy(address.sun_path, path.constData(), path.size());
    const int compositor = socket(AF_UNIX, SOCK_STREAM, 0);
    const auto close_compositor = qScopeGuard([&] { close(compositor); });
    QVERIFY(bind(compositor, reinterpret_cast<sockaddr*>(&address),
                 sizeof address) == 0 &&
            listen(compositor, 4) == 0);
    const QTemporaryDir with_stale_socket;
    QFile stale(QDir(with_stale_socket.path()).filePath("wayland-0"));
    QVERIFY(stale.open(QIODevice::WriteOnly));
    const QTemporaryDir without_socket;

    const QString no_x11 = QStringLiteral(
        "zorvik: no display to open the window on (DISPLAY is not set)");
    const QString neither = QStringLiteral(
        "zorvik: no display to open the window on (neither WAYLAND_DISPLAY "
        "nor DISPLAY is set)");
    const QString stale_wayland = QStringLiteral(
        "zorvik: no display to open the window on (cannot connect to "
        "wayland-0)");
    const struct {
      QStringList arguments;  // after the program's name
      QList<QPair<const char*, QString>> environment;  // the rest unset
      std::optional<QString> expected;
    } cases[] = {
        // Qt's own choice: X11, or Wayland first in a Wayland session.
        {{}, {}, no_x11},
        {{}, {{"DISPLAY", ""}}, no_x11},
        {{}, {{"DISPLAY", ":0"}}, std::nullopt},
        {{}, {{"XDG_SESSION_TYPE", "wayland"}}, neither},
        {{},
         {{"WAYLAND_DISPLAY", "wayland-1"}},
         QStringLiteral("zorvik: no display to open the window on (cannot "
                        "connect to wayland-1, and DISPLAY is not set)")},
        {{}, {{"WAYLAND_DISPLAY", listening}}, std::nullopt},
        {{},
         {{"XDG_SESSION_TYPE", "wayland"},
          {"XDG_RUNTIME_DIR", with_socket.path()}},
         std::nullopt},
        // QT_QPA_PLATFORM: a list, each name with its options.
        {{}, {{"QT_QPA_PLATFORM", "offscreen"}}, std::nullopt},
        {{}, {{"QT_QPA_PLATFORM", "xcb:nograb"}}, no_x11},
        {{}, {{"QT_QPA_PLATFORM", "xcb;offscreen"}}, std::nullopt},
        {{},
         {{"QT_QPA_PLATFORM", "wayland;xcb"},
          {"XDG_RUNTIME_DIR", without_socket.path()}},
         neither},
        {{},
         {{"QT_QPA_PLATFORM", "wayland-egl"},
          {"XDG_RUNTIME_DIR", with_socket.path()}},
         std::nullopt},
        {{},
         {{"QT_QPA_PLATFORM", "wayland"}, {"WAYLAND_SOCKET", "3"}},
         std::nullopt},
        // No compositor at the socket: a stale WAYLAND_DISPLAY.
        {{},
         {{"QT_QPA_PLATFORM", "wayland"},
          {"WAYLAND_DISPLAY", "wayland-0"},
          {"XDG_RUNTIME_DIR", with_stale_socket.path()}},
         stale_wayland},
        {{"-platform", "wayland"},
         {{"XDG_RUNTIME_DIR", with_stale_socket.path()}},
         stale_wayland},
        {{},
         {{"QT_QPA_PLATFORM", "wayland;xcb"},
          {"WAYLAND_DISPLAY", "wayland-0"},
          {"XDG_RUNTIME_DIR", with_stale_socket.path()},
          {"DISPLAY", ":0"}},
         std::nullopt},
        // -platform wins over QT_QPA_PLATFORM; -display names X11's display.
        {{"-platform", "offscreen"},
         {{"QT_QPA_PLATFORM", "xcb"}},
         std::nullopt},
        {{"--platform", "xcb"}, {{"QT_QPA_PLATFORM", "offscreen"}}, no_x11},
        {{"-platform", "xcb", "-display", ":3"}, {}, std::nullopt},
        {{"-style", "Fusion"}, {}, no_x11},
    };
    for (const auto& [arguments, environment, expected] : cases) {
      for (const char* name : kDisplayVariables) qunsetenv(name);
      for (const auto& [name, value] : environment) {
        qputenv(name, value.toLocal8Bit());
      }
      // Compared as text, so that a failure shows the line.
      QCOMPARE(
          MissingDisplay(QStringList{"zorvik"} + arguments).value_or("(none)"),
          expected.value_or("(none)"));
    }
  }
};

}  // namespace zorvik::qt

int main(int argc, char* argv[]) {
  zorvik::qt::Application app(argc, argv);
  zorvik::qt::ApplicationTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "application_test.moc"
