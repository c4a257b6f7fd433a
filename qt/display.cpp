#include "qt/display.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QMessageLogContext>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace zorvik::qt {
namespace {

constexpr char kNoDisplay[] = "zorvik: no display to open the window on";

QString Environment(const char* name) { return qEnvironmentVariable(name); }

// The value following the last `option` (given with one dash or two), as Qt
// reads its own options, or an empty string.
QString OptionValue(const QStringList& arguments, const QString& option) {
  QString value;
  for (qsizetype i = 1; i + 1 < arguments.size(); ++i) {
    if (arguments[i] == QStringLiteral("-") + option ||
        arguments[i] == QStringLiteral("--") + option) {
      value = arguments[++i];
    }
  }
  return value;
}

// The platforms Qt tries, in its order, without their options.
QStringList Platforms(const QStringList& arguments) {
  QString names = OptionValue(arguments, QStringLiteral("platform"));
  if (names.isEmpty()) names = Environment("QT_QPA_PLATFORM");
  if (names.isEmpty()) {
    names = QStringLiteral("xcb");
    if (!Environment("WAYLAND_DISPLAY").isEmpty() ||
        Environment("XDG_SESSION_TYPE") == u"wayland") {
      names.prepend(QStringLiteral("wayland;"));
    }
  }
  QStringList platforms;
  for (const QString& name : names.split(u';', Qt::SkipEmptyParts)) {
    platforms << name.section(u':', 0, 0);
  }
  return platforms;
}

// Where a Wayland client looks for its compositor, as libwayland-client
// does: WAYLAND_DISPLAY (else wayland-0), a path of its own when absolute,
// otherwise a socket in XDG_RUNTIME_DIR. Empty when it has nowhere to look.
QString WaylandSocketPath(const QString& name) {
  if (name.startsWith(u'/')) return name;
  const QString runtime_dir = Environment("XDG_RUNTIME_DIR");
  return runtime_dir.isEmpty() ? QString() : QDir(runtime_dir).filePath(name);
}

// Whether a compositor listens at `path`. A socket left behind by one that
// has stopped (or a WAYLAND_DISPLAY brought along from another session)
// refuses the connection; the compositor sees a client come and go.
bool CompositorListens(const QString& path) {
  const QByteArray file = QFile::encodeName(path);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (file.isEmpty() ||
      static_cast<std::size_t>(file.size()) >= sizeof address.sun_path) {
    return false;
  }
  std::memcpy(address.sun_path, file.constData(), file.size());
  // Not blocking: a compositor too busy to take the connection now (its
  // queue full) is there all the same.
  const int socket =
      ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (socket < 0) return false;
  const bool listens =
      ::connect(socket, reinterpret_cast<const sockaddr*>(&address),
                sizeof address) == 0 ||
      errno == EAGAIN;
  ::close(socket);
  return listens;
}

// Why a display platform cannot open the window: the variable that names no
// display (DISPLAY), or the display that none answers at (wayland-1). Both
// empty when the platform has its display or needs none.
struct Lack {
  QString variable;
  QString unreachable;
  bool Empty() const { return variable.isEmpty() && unreachable.isEmpty(); }
};

Lack Lacking(const QString& platform, const QStringList& arguments) {
  if (platform == u"xcb") {
    const bool named =
        !Environment("DISPLAY").isEmpty() ||
        !OptionValue(arguments, QStringLiteral("display")).isEmpty();
    return named ? Lack{} : Lack{QStringLiteral("DISPLAY"), {}};
  }
  if (platform.startsWith(u"wayland")) {
    // A socket handed over by whoever started the program is taken as it is.
    if (!Environment("WAYLAND_SOCKET").isEmpty()) return {};
    const QString named = Environment("WAYLAND_DISPLAY");
    const QString name = named.isEmpty() ? QStringLiteral("wayland-0") : named;
    const QString path = WaylandSocketPath(name);
    if (named.isEmpty() && (path.isEmpty() || !QFileInfo::exists(path))) {
      return {QStringLiteral("WAYLAND_DISPLAY"), {}};
    }
    // Qt would print its plugin's failure and abort (or, without the
    // plugin, that it is missing) before trying the next platform.
    return CompositorListens(path) ? Lack{} : Lack{{}, name};
  }
  return {};
}

// What StartupMessages holds back, with the copies of a context's strings.
struct HeldMessage {
  QtMsgType type;
  QByteArray file;
  int line;
  QByteArray function;
  QByteArray category;
  QString text;
};

struct Held {
  std::mutex mutex;
  QtMessageHandler previous = nullptr;
  std::vector<HeldMessage> messages;
  bool display_refused = false;
  QString display_name;
};

Held& held() {
  static Held instance;
  return instance;
}

// The platform plugins report a display they cannot connect to in their own
// logging categories (Wayland's in the default one, by its own words),
// before Qt gives up with its general message.
bool FromDisplayPlugin(const char* category, const QString& text) {
  const QByteArray name(category == nullptr ? "" : category);
  return name.startsWith("qt.qpa.xcb") || name.startsWith("qt.qpa.wayland") ||
         text.startsWith(u"Failed to create wl_display");
}

void PassOn(QtMessageHandler handler, const HeldMessage& message) {
  const QMessageLogContext context(
      message.file.isNull() ? nullptr : message.file.constData(), message.line,
      message.function.isNull() ? nullptr : message.function.constData(),
      message.category.isNull() ? nullptr : message.category.constData());
  handler(message.type, context, message.text);
}

// The display Qt is to connect to, as the user named it.
QString DisplayName(const QStringList& arguments) {
  QString name = OptionValue(arguments, QStringLiteral("display"));
  if (name.isEmpty()) name = Environment("DISPLAY");
  if (name.isEmpty()) name = Environment("WAYLAND_DISPLAY");
  if (name.isEmpty()) name = QStringLiteral("wayland-0");
  return name;
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context,
                 const QString& text) {
  Held& state = held();
  const std::lock_guard lock(state.mutex);
  if (FromDisplayPlugin(context.category, text)) state.display_refused = true;
  HeldMessage message{type,
                      QByteArray(context.file),
                      context.line,
                      QByteArray(context.function),
                      QByteArray(context.category),
                      text};
  if (type != QtFatalMsg) {
    state.messages.push_back(std::move(message));
    return;
  }
  if (state.display_refused) {
    const QString line =
        QStringLiteral("%1 (cannot connect to %2)\n")
            .arg(QLatin1StringView(kNoDisplay), state.display_name);
    std::fputs(line.toLocal8Bit().constData(), stderr);
    std::fflush(stderr);
    // Qt is half started: nothing of it is to be torn down.
    std::_Exit(1);
  }
  // Not a display Qt could not reach: Qt's own account, then its abort.
  for (const HeldMessage& earlier : state.messages) {
    PassOn(state.previous, earlier);
  }
  state.messages.clear();
  PassOn(state.previous, message);
}

}  // namespace

std::optional<QString> MissingDisplay(const QStringList& arguments) {
  QStringList unset;
  QStringList reasons;
  for (const QString& platform : Platforms(arguments)) {
    const Lack lack = Lacking(platform, arguments);
    if (lack.Empty()) return std::nullopt;
    const QString reason =
        lack.variable.isEmpty()
            ? QStringLiteral("cannot connect to %1").arg(lack.unreachable)
            : QStringLiteral("%1 is not set").arg(lack.variable);
    if (!lack.variable.isEmpty() && !unset.contains(lack.variable)) {
      unset << lack.variable;
    }
    if (!reasons.contains(reason)) reasons << reason;
  }
  if (reasons.isEmpty()) return std::nullopt;
  const QString why =
      unset.size() == 2 && reasons.size() == 2
          ? QStringLiteral("neither %1 nor %2 is set").arg(unset[0], unset[1])
          : reasons.join(QStringLiteral(", and "));
  return QStringLiteral("%1 (%2)").arg(QLatin1StringView(kNoDisplay), why);
}

StartupMessages::StartupMessages(const QStringList& arguments) {
  Held& state = held();
  const std::lock_guard lock(state.mutex);
  state.messages.clear();
  state.display_refused = false;
  state.display_name = DisplayName(arguments);
  state.previous = qInstallMessageHandler(HoldMessage);
}

StartupMessages::~StartupMessages() {
  Held& state = held();
  std::vector<HeldMessage> messages;
  {
    const std::lock_guard lock(state.mutex);
    qInstallMessageHandler(state.previous);
    messages.swap(state.messages);
  }
  for (const HeldMessage& message : messages) {
    PassOn(state.previous, message);
  }
}

}  // namespace zorvik::qt
