#include "qt/held_keys.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <cstdlib>

namespace zorvik::qt {
namespace {

// Whether the X server has the key of `scan_code` (an X key code) down now,
// false where there is no X server to ask.
bool DownOnXServer(quint32 scan_code) {
  const auto* app =
      qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  const auto* x11 =
      app != nullptr ? app->nativeInterface<QNativeInterface::QX11Application>()
                     : nullptr;
  if (x11 == nullptr || scan_code == 0 || scan_code > 255) return false;
  xcb_connection_t* connection = x11->connection();
  xcb_query_keymap_reply_t* reply =
      xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr);
  if (reply == nullptr) return false;
  const bool down = ((reply->keys[scan_code / 8] >> (scan_code % 8)) & 1) != 0;
  std::free(reply);
  return down;
}

}  // namespace

HeldKeys::HeldKeys() {
  if (QCoreApplication* app = QCoreApplication::instance()) {
    setParent(app);
    app->installEventFilter(this);
  }
}

HeldKeys& HeldKeys::Instance() {
  // Owned by the application, which deletes it on exit.
  static auto* keys = new HeldKeys;
  return *keys;
}

bool HeldKeys::NotePress(const QKeyEvent& event) {
  if (event.isAutoRepeat() || down_.contains(event.key())) return false;
  down_.insert(event.key());
  return true;
}

bool HeldKeys::NoteRelease(const QKeyEvent& event) {
  if (event.isAutoRepeat() || DownOnXServer(event.nativeScanCode())) {
    return false;
  }
  down_.remove(event.key());
  return true;
}

bool HeldKeys::eventFilter(QObject* watched, QEvent* event) {
  // A release is seen once for every widget it passes on its way up; the
  // second sight changes nothing.
  if (event->type() == QEvent::KeyRelease && !down_.isEmpty()) {
    NoteRelease(*static_cast<QKeyEvent*>(event));
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace zorvik::qt
