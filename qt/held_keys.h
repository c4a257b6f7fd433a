#ifndef ZORVIK_QT_HELD_KEYS_H_
#define ZORVIK_QT_HELD_KEYS_H_

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QSet>
#include <QtGlobal>
#include <array>

class QKeyEvent;

namespace zorvik::qt {

// Which keys are held down, from the keys' own state rather than from the
// timing of their events: a key is down from a press until a release that
// leaves it up. Held, a key repeats as the keyboard makes it: an X server
// sends every repeat as a release and a press, which Qt marks as repeats only
// when both have arrived by the time it reads the release, and a screen
// reader's AT-SPI listener holds key events back and hands them on later,
// apart and without their time stamps. So a release leaves a key up only when
// it is no marked repeat and, on X, the server itself has the key up.
//
// A press cannot be judged by the key's state alone: when a listener hands
// on a repeat's release after the key has really been let go, the key is up
// by then, and the press that follows it, unmarked too, would look new. So
// on X presses are judged by the server's own key events, read as they
// arrive, before any listener holds them back: a press the server sent as
// no repeat is new (a repeat is a release and a press at the same server
// time, or with detectable repeat a press of a key still down). A press
// straight from the server is found by its time. One handed on late has
// lost its time; it is new when the key's state says so and the server's
// latest press of the key was new, or when a new press of the server's has
// not been answered yet (the first press of a hold handed on after its
// repeats). Two quick taps handed on late stay two; a repeat handed on
// after the release stays a repeat. Where there is no X server (Wayland,
// offscreen), a press is new unless marked as a repeat or its key is down.
//
// Releases are watched throughout the application, and the server's events
// from the first use on (made before the window takes keys), wherever the
// focus has gone meanwhile; presses are noted by the widgets that act on
// them.
class HeldKeys : public QObject, public QAbstractNativeEventFilter {
  Q_OBJECT

 public:
  static HeldKeys& Instance();

  // Notes a press of `event`'s key; true when the key was up, false for a
  // repeat of a key held down since an earlier press.
  bool NotePress(const QKeyEvent& event);
  // Notes a release; true when it leaves the key up, false for one that the
  // keyboard's repeat made while the key stays down.
  bool NoteRelease(const QKeyEvent& event);
  bool IsDown(int key) const { return down_.contains(key); }
  const QSet<int>& Down() const { return down_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool nativeEventFilter(const QByteArray& type, void* message,
                         qintptr* result) override;

 private:
  // What the X server has said of one key (by its X key code).
  struct ServerKey {
    bool seen = false;
    bool down = false;
    bool latest_press_new = false;
    quint32 release_time = 0;
    // The times of the latest new presses, the latest last, and of the one
    // a press judged new answered last.
    std::array<quint32, 8> new_press_times{};
    quint32 answered_time = 0;
  };

  HeldKeys();

  QSet<int> down_;
  std::array<ServerKey, 256> server_{};
};

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_HELD_KEYS_H_
