#!/usr/bin/env bash
# The demo's launch path (scripts/demo-launch.sh: SetFreqRange and
# LaunchORBWithThreshNames over automation) in a virtual X display, with a
# One Frequency Time Window chosen in the New Graph dialog and its report's
# title checked: the range the launcher passed lets its frequency through.
# Usage: demo_launch.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$(dirname "$0")/demo_server.sh"

export XDG_CONFIG_DIRS="$work/xdg" XDG_CONFIG_HOME="$work/home" XDG_DATA_HOME="$work/data"
export BUILD="$build" ROOT="$root" ADDRESS="$address" WORK="$work"
export QT_QPA_PLATFORM=xcb
unset DBUS_SESSION_BUS_ADDRESS  # a bus of this run only
xvfb-run -a --server-args="-screen 0 1280x800x24" bash -c '
  "$ROOT/scripts/demo-launch.sh" "$BUILD" "$WORK/demo.db" "$ADDRESS" 3 1001 > "$WORK/quillon.log" 2>&1 &
  launch=$!
  find_window() {
    for _ in $(seq 1 600); do
      w=$(xdotool search --name "$1" 2>/dev/null | head -n 1) && [ -n "$w" ] && { echo "$w"; return; }
      sleep 0.1
    done
  }
  dialog=$(find_window "^New Graph\$")
  [ -n "$dialog" ] || { echo "FAIL: the New Graph dialog did not open"; cat "$WORK/quillon.log"; kill $launch; exit 1; }
  # The graph type list has the focus; "O" picks One Freq. Time Window.
  xdotool windowfocus --sync "$dialog" key O
  sleep 0.5
  xdotool key Return
  shown=$(find_window "^Quillon - Port 3 One Freq")
  window=${shown:-$dialog}
  pid=$(xdotool getwindowpid "$window" 2>/dev/null || true)
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  wait $launch 2>/dev/null || true
  [ -n "$shown" ] || { echo "FAIL: no One Frequency report"; cat "$WORK/quillon.log"; exit 1; }
  echo "demo launch: One Frequency report shown"
'
