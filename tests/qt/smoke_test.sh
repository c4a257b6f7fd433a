#!/usr/bin/env bash
# Starts the program in a real X server with a window manager (run under
# with-x-server), waits for its window, closes it the way a user does and
# expects a clean exit; first, without a display, it must say so and end.
set -euo pipefail
program=$1

# Without a display to open the window on, or with one that cannot be
# reached, the program says so in one line on standard error and ends with
# status 1: no window, no Qt diagnostics, no abort.
expect_no_display() {
  local expected=$1 status=0 errors
  shift
  errors=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$program" 2>&1 >/dev/null) || status=$?
  if ((status != 1)) || [[ $errors != "$expected" ]]; then
    echo "smoke: with $* the program ended with status $status and wrote: $errors" >&2
    exit 1
  fi
}
expect_no_display "zorvik: no display to open the window on (DISPLAY is not set)" -u DISPLAY
# No server listens on the last display number.
expect_no_display "zorvik: no display to open the window on (cannot connect to :65535)" DISPLAY=:65535
# Wayland asked for by name, no compositor at its socket.
expect_no_display "zorvik: no display to open the window on (cannot connect to wayland-65535)" \
  QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=wayland-65535
echo "smoke: without a display, and with one that cannot be reached, one line and status 1"

started_at=$SECONDS
"$program" &
app=$!

window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Zorvik$' | head -1)
if [[ -z $window ]]; then
  echo "smoke: no window titled Zorvik appeared" >&2
  exit 1
fi
echo "smoke: window $window is up after $((SECONDS - started_at)) s: $(xdotool getwindowgeometry "$window" | tr '\n' ' ')"

# The title and task bars show Zorvik's own icon, not a generic one: the
# window carries icon images, and they have the icon's blue (0xff1f6f8b).
icon=$(xprop -notype -id "$window" -f _NET_WM_ICON 32c _NET_WM_ICON)
if [[ $icon != *"= 16, 16,"* && $icon != *", 16, 16,"* ]] || [[ $icon != *4280250251* ]]; then
  echo "smoke: the window does not carry Zorvik's icon: ${icon:0:200}" >&2
  exit 1
fi
echo "smoke: the window carries Zorvik's icon"

# The size is fixed, so the window asks for neither a maximize function nor a
# maximize box (Motif hints: flags, functions, decorations, ...).
IFS=', ' read -r _ functions decorations _ < <(xprop -notype -id "$window" _MOTIF_WM_HINTS | sed 's/.*= //')
if ((functions & 0x10 || decorations & 0x40)); then
  echo "smoke: the window offers to maximize: functions $functions, decorations $decorations" >&2
  exit 1
fi
echo "smoke: the window offers no maximize"

# A close request through the window manager, as from the title bar's close box.
# On a loaded machine a request that arrives while the window manager is still
# setting the window up can go unanswered, so it is repeated while the window
# stays; a second request to a closing window does nothing.
closed_at=$SECONDS
exited=false
for _ in $(seq 12); do
  if xprop -id "$window" WM_NAME >/dev/null 2>&1; then
    wmctrl -i -c "$window" || true
  fi
  if timeout 5 tail --pid="$app" -f /dev/null; then
    exited=true
    break
  fi
done
if ! $exited; then
  echo "smoke: still running $((SECONDS - closed_at)) s after the close request" >&2
  xprop -id "$window" WM_PROTOCOLS _NET_WM_ALLOWED_ACTIONS _NET_WM_STATE >&2 || true
  grep -E '^(State|Threads)' "/proc/$app/status" >&2 || true
  if command -v gdb >/dev/null; then
    gdb -p "$app" -batch -ex 'thread apply all bt 12' 2>/dev/null | grep -E '^(Thread|#)' >&2 || true
  fi
  # Killed outright, so that the server's end does not bury this report under
  # the exit path of a lost connection.
  kill -KILL "$app" 2>/dev/null || true
  exit 1
fi
status=0
wait "$app" || status=$?
echo "smoke: exited with status $status, $((SECONDS - closed_at)) s after the close request"
exit "$status"
