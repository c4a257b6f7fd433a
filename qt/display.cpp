#include "qt/display.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QList>
#include <QMessageLogContext>
#include <cstdio>
#include <cstdlib>
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

bool WaylandSocketExists() {
  const QString runtime_dir = Environment("XDG_RUNTIME_DIR");
  return !runtime_dir.isEmpty() &&
         QFileInfo::exists(
             QDir(runtime_dir).filePath(QStringLiteral("wayland-0")));
}

// The variable a display platform lacks, or an empty string when `platform`
// has its display or needs none.
QString Lacking(const QString& platform, const QStringList& arguments) {
  if (platform == u"xcb") {
    const bool named =
        !Environment("DISPLAY").isEmpty() ||
        !OptionValue(arguments, QStringLiteral("display")).isEmpty();
    return named ? QString() : QStringLiteral("DISPLAY");
  }
  if (platform.startsWith(u"wayland")) {
    const bool named = !Environment("WAYLAND_DISPLAY").isEmpty() ||
                       !Environment("WAYLAND_SOCKET").isEmpty() ||
                       WaylandSocketExists();
    return named ? QString() : QStringLiteral("WAYLAND_DISPLAY");
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
// logging categories, before Qt gives up with its general message.
bool FromDisplayPlugin(const char* category) {
  const QByteArray name(category == nullptr ? "" : category);
  return name.startsWith("qt.qpa.xcb") || name.startsWith("qt.qpa.wayland");
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
  if (FromDisplayPlugin(context.category)) state.display_refused = true;
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
  QStringList lacking;
  for (const QString& platform : Platforms(arguments)) {
    const QString variable = Lacking(platform, arguments);
    if (variable.isEmpty()) return std::nullopt;
    if (!lacking.contains(variable)) lacking << variable;
  }
  if (lacking.isEmpty()) return std::nullopt;
  const QString why = lacking.size() == 1
                          ? QStringLiteral("%1 is not set").arg(lacking.first())
                          : QStringLiteral("neither %1 nor %2 is set")
                                .arg(lacking[0], lacking[1]);
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
