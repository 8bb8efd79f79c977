#!/usr/bin/env bash
# The demo: installs what is missing, builds, seeds a demo database ending at
# the current quarter hour, serves it with nembra-sim on loopback, and launches
# Quillon for port 3 the way a Nembra launcher does: over automation, with the
# port's frequency range and threshold names (scripts/demo-launch.sh), so all
# six report types work. The demo identity goes into a settings folder of this
# run only (XDG_CONFIG_DIRS); Quillon's own settings (the last request, the
# chart looks) are the user's, in ~/.config/Veltrix. Closing Quillon stops the
# server.
# Arguments make it a command-line launch instead, with a pre-filled New Graph
# (for example /QUERY:0 /STAT:9); a command line passes no frequency range, so
# One Frequency Time Window refuses every frequency there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
build_dir=${BUILD_DIR:-$root/build}
run_dir=$(mktemp -d)
sim_pid=
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  rm -rf "$run_dir"
}
trap cleanup EXIT

db="$run_dir/nembra-demo.db"
"$build_dir/sim/nembra-sim" --db "$db" --seed-demo --quiet
echo nembra-demo | "$build_dir/quillon-setup-identity" --config-dir "$run_dir/xdg" --user demo \
  --client-dir "$build_dir/"

"$build_dir/sim/nembra-sim" --db "$db" --listen 127.0.0.1:0 > "$run_dir/sim.out" 2> "$run_dir/sim.log" &
sim_pid=$!
for _ in $(seq 1 100); do
  grep -q 'listening on' "$run_dir/sim.out" 2>/dev/null && break
  sleep 0.1
done
address=$(sed -n 's/^nembra-sim listening on //p' "$run_dir/sim.out")
[ -n "$address" ] || { echo "nembra-sim did not start:" >&2; cat "$run_dir/sim.log" >&2; exit 1; }
echo "nembra-sim on $address (log: $run_dir/sim.log)"

export XDG_CONFIG_DIRS="$run_dir/xdg"
if [ $# -eq 0 ]; then
  "$root/scripts/demo-launch.sh" "$build_dir" "$db" "$address" 3 1001
else
  "$build_dir/quillon" "/IP:$address" /TOKEN:1001 /NODE:3 "/LABEL:Port 3" "$@"
fi
