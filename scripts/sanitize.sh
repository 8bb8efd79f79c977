#!/usr/bin/env bash
# Sanitizer builds, each in its own folder:
#   1. AddressSanitizer + UndefinedBehaviorSanitizer (undefined behaviour stops
#      the program), the whole test suite except the fuzz smokes;
#   2. ThreadSanitizer, the tests of the fetch, the session and the server.
# Usage: scripts/sanitize.sh [asan|tsan]...   (both by default)
# The suppressions in scripts/sanitizers/ cover the uninstrumented system
# libraries only; each entry says why.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
supp=$root/scripts/sanitizers
jobs=${JOBS:-2}
kinds=("$@")
[ ${#kinds[@]} -eq 0 ] && kinds=(asan tsan)

configure() {  # folder, cmake options...
  local dir=$1
  shift
  local generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  [ -f "$dir/CMakeCache.txt" ] || cmake -S "$root" -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug "$@"
}

export QT_QPA_PLATFORM=offscreen
status=0
for kind in "${kinds[@]}"; do
  case $kind in
    asan)
      dir=${ASAN_BUILD_DIR:-$root/build-asan}
      configure "$dir" -DQUILLON_SANITIZE=ON
      cmake --build "$dir" --parallel "$jobs"
      echo "== AddressSanitizer + UndefinedBehaviorSanitizer: the test suite"
      ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
      LSAN_OPTIONS=suppressions=$supp/lsan.supp:print_suppressions=0 \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        ctest --test-dir "$dir" --output-on-failure --parallel "$jobs" --timeout 600 -LE "fuzz|gl" || status=1
      ;;
    tsan)
      dir=${TSAN_BUILD_DIR:-$root/build-tsan}
      configure "$dir" -DQUILLON_TSAN=ON
      tests=(test_fetch test_session test_shell test_sim test_e2e_grpc test_e2e_report test_e2e_faults)
      cmake --build "$dir" --parallel "$jobs" --target "${tests[@]}"
      echo "== ThreadSanitizer: fetch, session and server tests"
      for t in "${tests[@]}"; do
        exe=$(find "$dir/tests" -type f -name "$t" -perm -u+x | head -n 1)
        echo "-- $t"
        TSAN_OPTIONS="suppressions=$supp/tsan.supp:halt_on_error=1:second_deadlock_stack=1" \
          "$exe" --gtest_brief=1 || status=1
      done
      ;;
    *) echo "unknown build: $kind (asan or tsan)" >&2; exit 2 ;;
  esac
done
exit $status
