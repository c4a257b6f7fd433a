#!/usr/bin/env bash
# Starts the program in a real X server (under xvfb-run) with a window manager,
# waits for its window, closes it the way a user does and expects a clean exit.
set -euo pipefail
program=$1

openbox >/dev/null 2>&1 &
wm=$!
trap 'kill "$wm" 2>/dev/null || true' EXIT
# A window mapped while the window manager is still starting may be missed by
# it; wait until it answers.
for _ in $(seq 100); do
  wmctrl -m >/dev/null 2>&1 && break
  sleep 0.1
done

"$program" &
app=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zorvik$' | head -1)
if [[ -z $window ]]; then
  echo "smoke: no window titled Zorvik appeared" >&2
  exit 1
fi
echo "smoke: window $window is up: $(xdotool getwindowgeometry "$window" | tr '\n' ' ')"

# The title and task bars show Zorvik's own icon, not a generic one: the
# window carries icon images, and they have the icon's blue (0xff1f6f8b).
icon=$(xprop -notype -id "$window" -f _NET_WM_ICON 32c _NET_WM_ICON)
if [[ $icon != *"= 16, 16,"* && $icon != *", 16, 16,"* ]] || [[ $icon != *4280250251* ]]; then
  echo "smoke: the window does not carry Zorvik's icon: ${icon:0:200}" >&2
  exit 1
fi
echo "smoke: the window carries Zorvik's icon"

# A close request through the window manager, as from the title bar's close box.
wmctrl -i -c "$window"
status=0
timeout 10 tail --pid="$app" -f /dev/null || { echo "smoke: still running" >&2; exit 1; }
wait "$app" || status=$?
echo "smoke: exited with status $status"
exit "$status"
