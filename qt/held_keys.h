#ifndef ZORVIK_QT_HELD_KEYS_H_
#define ZORVIK_QT_HELD_KEYS_H_

#include <QObject>
#include <QSet>

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
// Releases are watched throughout the application from the first use on,
// wherever the focus has gone meanwhile; presses are noted by the widgets
// that act on them.
class HeldKeys : public QObject {
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

 private:
  HeldKeys();

  QSet<int> down_;
};

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_HELD_KEYS_H_
