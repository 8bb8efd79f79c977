#!/usr/bin/env bash
# Sanitizer builds, each in its own folder:
#   1. AddressSanitizer + UndefinedBehaviorSanitizer (undefined behaviour stops
#      the program), the whole test suite except the fuzz smokes, with the
#      whole program and the 3D render test in a virtual X display (xvfb-run);
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
      asan=detect_leaks=1:abort_on_error=1:strict_string_checks=1
      export LSAN_OPTIONS=suppressions=$supp/lsan.supp:print_suppressions=0
      export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
      # The tests that start the xcb platform (a virtual X display: the
      # whole program, the demo launch and the `gl` picture tests) run with ASan's strndup
      # check off. Debian's libxkbcommon-x11, built without ASan, copies X
      # atom names with strndup(name, length) from reply buffers that hold no
      # NUL after the name: valid C, but with strict_string_checks the check
      # reads on to the NUL the name does not have and reports an overflow at
      # start-up, before any code of ours runs. Every other check stays on for
      # them; nothing of ours calls strndup.
      xcb=$asan:intercept_strndup=0
      ASAN_OPTIONS=$asan ctest --test-dir "$dir" --output-on-failure --parallel "$jobs" --timeout 600 \
        -LE 'fuzz|gl' -E '^(whole_program|demo_launch)$' || status=1
      ASAN_OPTIONS=$xcb ctest --test-dir "$dir" --output-on-failure --timeout 600 -R '^(whole_program|demo_launch)$' || status=1
      # The picture tests are run here rather than by CTest so that Mesa's
      # software driver can be kept loaded: the display's close unloads it,
      # and the few hundred bytes it still held then read as leaked, with
      # frames in an unmapped library that no suppression can name. Kept
      # loaded, LeakSanitizer sees where they are held and reports nothing.
      if command -v xvfb-run >/dev/null; then
        driver=$(find /usr/lib /usr/lib64 -name swrast_dri.so -path '*/dri/*' 2>/dev/null | head -n 1)
        picture() {  # test binary, then environment assignments
          local name=$1
          shift
          local exe
          exe=$(find "$dir/tests" -type f -name "$name" -perm -u+x | head -n 1)
          echo "-- $name $*"
          ASAN_OPTIONS=$xcb:verify_asan_link_order=0 QT_QPA_PLATFORM=xcb \
            xvfb-run -a -s "-screen 0 1280x1024x24" env "$@" ${driver:+LD_PRELOAD=$driver} "$exe" --gtest_brief=1
        }
        picture test_ribbon_render || status=1
        picture test_ribbon_render QT_SCALE_FACTOR=1.5 || status=1
        picture test_report_print || status=1
        picture test_surface_ray_pick || status=1
      fi
      ;;
    tsan)
      dir=${TSAN_BUILD_DIR:-$root/build-tsan}
      configure "$dir" -DQUILLON_TSAN=ON
      tests=(test_fetch test_session test_shell test_sim test_e2e_grpc test_e2e_report test_e2e_faults test_e2e_tls)
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
