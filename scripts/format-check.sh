#!/usr/bin/env bash
# Fails when a C++ file changed since the formatting baseline is not as
# clang-format (the project's .clang-format) would write it. Files untouched
# since the baseline are left as they are, so history stays readable.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
base=$(cat scripts/format-baseline)
if ! git cat-file -e "$base^{commit}" 2>/dev/null; then
  echo "format check: baseline $base is not in this clone's history; skipped"
  exit 0
fi
mapfile -t files < <(git diff --name-only --diff-filter=AM "$base" -- '*.h' '*.cpp' | grep -v '^fuzz/corpus/' || true)
[ ${#files[@]} -eq 0 ] && { echo "format check: no C++ file changed since the baseline"; exit 0; }
clang-format --dry-run -Werror "${files[@]}"
echo "format check: ${#files[@]} changed files are formatted"
