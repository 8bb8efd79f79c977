#!/usr/bin/env bash
# Installs what is missing, builds, and starts Quillon.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/build.sh"
exec "${BUILD_DIR:-$root/build}/quillon" "$@"
