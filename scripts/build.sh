#!/usr/bin/env bash
# Installs what is missing, then configures and builds into ${BUILD_DIR:-build}.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
build_dir=${BUILD_DIR:-$root/build}
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Debug}" ${CMAKE_ARGS:-}
fi
cmake --build "$build_dir" --parallel "$(nproc)"
