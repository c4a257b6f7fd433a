#ifndef ZORVIK_QT_DISPLAY_H_
#define ZORVIK_QT_DISPLAY_H_

#include <QString>
#include <QStringList>
#include <optional>

namespace zorvik::qt {

// Whether the window has a display to open on, judged before QApplication
// is made: Qt would otherwise print its plugin diagnostics and abort.
//
// The platforms Qt would try are those of `-platform NAME` in `arguments`,
// else of QT_QPA_PLATFORM (a ';'-separated list, each name perhaps followed
// by ':options'), else Qt's own choice on Linux: Wayland in a Wayland session,
// then X11. X11 (xcb) needs DISPLAY or `-display NAME`; Wayland needs
// WAYLAND_SOCKET, or a compositor listening at the socket WAYLAND_DISPLAY
// names (by default $XDG_RUNTIME_DIR/wayland-0): a stale WAYLAND_DISPLAY
// would make Qt abort whether its Wayland plugin is installed or not. Any
// other platform (offscreen, minimal, eglfs, vnc, ...) is taken to have what
// it needs.
//
// Returns the line to print when none of the platforms can have a display,
// e.g. "zorvik: no display to open the window on (DISPLAY is not set)" or
// "... (cannot connect to wayland-1)", and nothing when the window may open.
std::optional<QString> MissingDisplay(const QStringList& arguments);

// A display that is named but cannot be reached (a forwarded X11 display
// whose ssh session ended, a stopped compositor) is found only when Qt tries
// it. While a StartupMessages lives, Qt's messages are held back: should Qt
// give up because it could not connect to the display, it prints the one
// line "zorvik: no display to open the window on (cannot connect to NAME)"
// and the program ends with status 1. Any other fatal start-up failure (a
// platform plugin that is not installed) is reported as Qt reports it. Once
// destroyed, the held messages are passed on and Qt's handler is back.
class StartupMessages {
 public:
  // `arguments` name the display where -display is given.
  explicit StartupMessages(const QStringList& arguments);
  ~StartupMessages();
  StartupMessages(const StartupMessages&) = delete;
  StartupMessages& operator=(const StartupMessages&) = delete;
};

}  // namespace zorvik::qt

#endif  // ZORVIK_QT_DISPLAY_H_
