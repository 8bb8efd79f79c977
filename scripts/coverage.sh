#!/usr/bin/env bash
# Line coverage of the production folders by the test suite.
#   scripts/coverage.sh            builds build-coverage/ (gcov), runs the suite
#                                  (fuzz smokes and the package check left out),
#                                  prints one line a folder
#   COVERAGE_BUILD_DIR=DIR         another build folder
#   COVERAGE_HTML=FILE             also writes gcovr's HTML report there
# Generated files (protobuf, moc, the error-name table) are not counted: they
# would hide what the hand-written code leaves untested.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
dir=${COVERAGE_BUILD_DIR:-$root/build-coverage}
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
[ -f "$dir/CMakeCache.txt" ] ||
  cmake -S "$root" -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DQUILLON_COVERAGE=ON
cmake --build "$dir" --parallel "$(nproc)"
find "$dir" -name '*.gcda' -delete
QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --parallel "$(nproc)" --timeout 600 -LE "fuzz|package" ||
  echo "coverage: some tests failed; the figures count what ran" >&2

exclude=(--exclude '.*_autogen/.*' --exclude '.*\.pb\.(h|cc)$' --exclude '.*ErrorNames\.cpp$'
  --exclude "$root/tests/.*" --exclude "$root/bench/.*" --exclude "$root/fuzz/.*" --exclude "$dir/.*")
json=$dir/coverage.json
gcovr --root "$root" --object-directory "$dir" "${exclude[@]}" --gcov-ignore-parse-errors \
  --json "$json" ${COVERAGE_HTML:+--html-details "$COVERAGE_HTML"}
# One line a folder: lines with code, lines run at least once.
python3 - "$json" <<'PY'
import json, sys, collections
total, hit = collections.Counter(), collections.Counter()
for f in json.load(open(sys.argv[1]))["files"]:
    folder = f["file"].split("/")[0]
    for line in f["lines"]:
        if line.get("gcovr/noncode"):
            continue
        total[folder] += 1
        hit[folder] += line["count"] > 0
print(f"{'folder':<10} {'lines':>7} {'run':>7} {'percent':>8}")
for folder in ("core", "server", "query", "chart", "views", "app", "resources", "sim"):
    if total[folder]:
        print(f"{folder:<10} {total[folder]:>7} {hit[folder]:>7} {100 * hit[folder] / total[folder]:>7.1f}%")
PY
