#!/usr/bin/env bash
# The whole program as a user starts it: nembra-sim serving the demo data on
# loopback, Quillon launched with a launcher's command line in a virtual X
# display, the pre-filled New Graph dialog accepted with Enter, and the
# report's title checked. Usage: whole_program.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source "$(dirname "$0")/demo_server.sh"

# Settings of this run only: nothing of the machine's or the user's is read or written.
export XDG_CONFIG_DIRS="$work/xdg" XDG_CONFIG_HOME="$work/home" XDG_DATA_HOME="$work/data"
export QUILLON="$build/quillon" ADDRESS="$address" WORK="$work"
# A real X window, whatever platform the other tests run on.
export QT_QPA_PLATFORM=xcb
xvfb-run -a --server-args="-screen 0 1280x800x24" bash -c '
  "$QUILLON" "/IP:$ADDRESS" /TOKEN:1001 /NODE:3 "/LABEL:Port 3" /QUERY:3 /INC:1 /STAT:1 \
    > "$WORK/quillon.log" 2>&1 &
  quillon=$!
  dialog=
  for _ in $(seq 1 600); do
    dialog=$(xdotool search --name "^New Graph\$" 2>/dev/null | head -n 1) && [ -n "$dialog" ] && break
    sleep 0.1
  done
  [ -n "$dialog" ] || { echo "FAIL: the New Graph dialog did not open"; cat "$WORK/quillon.log"; kill $quillon; exit 1; }
  xdotool windowfocus --sync "$dialog" key Return
  shown=
  for _ in $(seq 1 600); do
    shown=$(xdotool search --name "^Quillon - Port 3 24 Hour\$" 2>/dev/null | head -n 1) && [ -n "$shown" ] && break
    sleep 0.1
  done
  kill $quillon 2>/dev/null; wait $quillon 2>/dev/null
  [ -n "$shown" ] || { echo "FAIL: no 24 Hour report title"; cat "$WORK/quillon.log"; exit 1; }
  echo "whole program: dialog accepted, report shown"
'
