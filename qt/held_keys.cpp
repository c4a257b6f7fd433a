#include "qt/held_keys.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <algorithm>
#include <cstdint>
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
    app->installNativeEventFilter(this);
  }
}

HeldKeys& HeldKeys::Instance() {
  // Owned by the application, which deletes it on exit.
  static auto* keys = new HeldKeys;
  return *keys;
}

bool HeldKeys::NotePress(const QKeyEvent& event) {
  const quint32 code = event.nativeScanCode();
  bool fresh = !event.isAutoRepeat() && !down_.contains(event.key());
  // However late the press comes, and however its release was judged.
  if (code < server_.size() && server_[code].seen) {
    ServerKey& key = server_[code];
    const auto time = static_cast<quint32>(event.timestamp());
    const quint32 latest_new = key.new_press_times.back();
    if (time != 0) {
      fresh = std::find(key.new_press_times.begin(), key.new_press_times.end(),
                        time) != key.new_press_times.end();
    } else {
      fresh = (fresh && key.latest_press_new) ||
              (latest_new != 0 && key.answered_time != latest_new);
    }
    if (fresh) key.answered_time = time != 0 ? time : latest_new;
  }
  down_.insert(event.key());
  return fresh;
}

bool HeldKeys::NoteRelease(const QKeyEvent& event) {
  if (event.isAutoRepeat() || DownOnXServer(event.nativeScanCode())) {
    return false;
  }
  down_.remove(event.key());
  return true;
}

bool HeldKeys::nativeEventFilter(const QByteArray& type, void* message,
                                 qintptr* /*result*/) {
  if (type != "xcb_generic_event_t") return false;
  const auto* event = static_cast<const xcb_generic_event_t*>(message);
  const auto kind = static_cast<std::uint8_t>(event->response_type & 0x7f);
  if (kind != XCB_KEY_PRESS && kind != XCB_KEY_RELEASE) return false;
  // A press and a release share their layout.
  const auto* key_event = static_cast<const xcb_key_press_event_t*>(message);
  ServerKey& key = server_[key_event->detail];
  if (kind == XCB_KEY_PRESS) {
    const bool repeat =
        key.down || (key.seen && key_event->time == key.release_time);
    key.latest_press_new = !repeat;
    if (!repeat) {
      std::shift_left(key.new_press_times.begin(), key.new_press_times.end(),
                      1);
      key.new_press_times.back() = key_event->time;
    }
    key.down = true;
  } else {
    key.down = false;
    key.release_time = key_event->time;
  }
  key.seen = true;
  return false;
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
