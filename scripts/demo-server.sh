#!/usr/bin/env bash
# Installs what is missing, builds, seeds the demo database once and serves it
# with nembra-sim on loopback until interrupted. Extra arguments go to nembra-sim.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
build_dir=${BUILD_DIR:-$root/build}
db=${NEMBRA_DB:-$build_dir/demo/nembra-demo.db}
mkdir -p "$(dirname "$db")"
if [ ! -s "$db" ]; then
  "$build_dir/sim/nembra-sim" --db "$db" --seed-demo
fi
exec "$build_dir/sim/nembra-sim" --db "$db" --listen "${NEMBRA_LISTEN:-127.0.0.1:50515}" "$@"
