#!/usr/bin/env bash
# Resident memory of several Quillon instances, each showing one report, as
# an engineer watching several ports runs them: one Xvfb, one nembra-sim.
#
#   bench/instances.sh BUILD_DIR [INSTANCES [TYPE]]     (needs xvfb-run, xdotool)
#
# Prints each instance's resident and proportional set size (shared library
# pages split between the instances) once every report is on screen.
set -uo pipefail
build=$(cd "${1:?build directory}" && pwd)
export COUNT=${2:-4} TYPE=${3:-2}
source "$(dirname "$0")/../tests/e2e/demo_server.sh"
export XDG_CONFIG_DIRS="$work/xdg" XDG_CONFIG_HOME="$work/home" XDG_DATA_HOME="$work/data"
export QUILLON="$build/quillon" ADDRESS="$address" WORK="$work" QT_QPA_PLATFORM=xcb
xvfb-run -a --server-args="-screen 0 1280x1024x24" bash -c '
  kb() { awk -v k="$2:" "\$1 == k { print \$2 }" "/proc/$1/${3:-status}"; }
  pids=()
  for i in $(seq 1 "$COUNT"); do
    "$QUILLON" "/IP:$ADDRESS" /TOKEN:1001 /NODE:3 "/LABEL:Port $i" /QUERY:$TYPE /INC:0 /STAT:3 \
      > "$WORK/q$i.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 1 300); do
      d=$(xdotool search --name "^New Graph\$" 2>/dev/null | head -n 1) && [ -n "$d" ] && break; sleep 0.1
    done
    xdotool windowfocus --sync "$d" key Return
    for _ in $(seq 1 300); do xdotool search --name "^Quillon - Port $i" >/dev/null 2>&1 && break; sleep 0.1; done
  done
  sleep 5
  printf "%9s %8s %8s\n" instance "RSS MB" "PSS MB"
  rss=0 pss=0
  for i in "${!pids[@]}"; do
    r=$(kb "${pids[$i]}" VmRSS) p=$(kb "${pids[$i]}" Pss smaps_rollup)
    rss=$((rss + r)) pss=$((pss + p))
    printf "%9d %8.1f %8.1f\n" $((i + 1)) "$(echo "$r / 1024" | bc -l)" "$(echo "$p / 1024" | bc -l)"
  done
  printf "%9s %8.1f %8.1f\n" total "$(echo "$rss / 1024" | bc -l)" "$(echo "$pss / 1024" | bc -l)"
  kill "${pids[@]}"
'
