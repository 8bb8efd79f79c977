#!/usr/bin/env bash
# Builds the fuzz targets with clang (ASan + UBSan + libFuzzer) and runs each
# for SECONDS (default 60), one after the other on one core.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     build, then run the targets (all by default)
#   scripts/fuzz.sh --build-only              build only
#   scripts/fuzz.sh --no-build SECONDS TARGET run an already built target
#   RUNS=N scripts/fuzz.sh 0 TARGET           run N executions instead of a time
#   MAX_LEN=N scripts/fuzz.sh ...             cap the input length (bytes)
#   FORK=N scripts/fuzz.sh ...                one run over N worker processes
#
# Each target starts from its seed corpus (fuzz/corpus/<target>, never
# written) and keeps what it finds in the build folder. Exits 77 (a skip for
# CTest) when clang or its libFuzzer runtime is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${FUZZ_BUILD_DIR:-$root/build-fuzz}
cxx=${FUZZ_CXX:-clang++}
targets_all=(fuzz_command_line fuzz_launch_args fuzz_blocks fuzz_reg_updater fuzz_identity)

build=1 run=1
case "${1:-}" in
  --build-only) run=0; shift ;;
  --no-build) build=0; shift ;;
esac
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${targets_all[@]}")

if [ "$build" = 1 ]; then
  if ! command -v "$cxx" >/dev/null || ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, long) { return 0; }' |
      "$cxx" -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null; then
    echo "fuzz: $cxx with libFuzzer is not available; skipping (install clang and libclang-rt-14-dev)"
    exit 77
  fi
  generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER="$cxx" -DQUILLON_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
  fi
  cmake --build "$build_dir" --target quillon_fuzzers --parallel "${FUZZ_JOBS:-2}"
fi
[ "$run" = 1 ] || exit 0

# Stacks through the uninstrumented Qt libraries are not worth recording at
# every allocation: recording them was nine tenths of the run time. A long run
# with the default 256 MB quarantine slowed to a third of its first rate as
# the recycled chunks scattered over memory; 16 MB still holds every chunk one
# input frees, and keeps the allocator in the cache.
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1:malloc_context_size=0:quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
# The carry-over target writes and rereads a profile file for every input:
# on a RAM disk it gets through many more inputs a second than on the disk.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
failed=0
for t in "${targets[@]}"; do
  exe="$build_dir/fuzz/$t"
  if [ ! -x "$exe" ]; then
    echo "fuzz: $exe is not built; skipping"
    exit 77
  fi
  work="$build_dir/fuzz/corpus/$t"
  mkdir -p "$work" "$build_dir/fuzz/crashes"
  limit=(-max_total_time="$seconds")
  [ -n "${RUNS:-}" ] && limit=(-runs="$RUNS")
  # FORK=N: one run, N worker processes (libFuzzer's fork mode), each started
  # afresh from the shared corpus; the run counts the workers' inputs together.
  [ -n "${FORK:-}" ] && limit+=(-fork="$FORK")
  echo "== $t"
  # Blocks are 8 KB: their inputs may grow past that. A launcher's command
  # line is far shorter than 1 KB; a profile tree of 512 bytes already nests
  # sections, lists and names of every case. Longer inputs only repeat the
  # same switches and keys, and slow each run down as they pile up.
  max_len=4096
  case "$t" in
    fuzz_blocks) max_len=20000 ;;
    fuzz_command_line) max_len=1024 ;;
    fuzz_reg_updater) max_len=512 ;;
  esac
  max_len=${MAX_LEN:-$max_len}
  if ! "$exe" "${limit[@]}" -max_len=$max_len -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build_dir/fuzz/crashes/$t-" "$work" "$root/fuzz/corpus/$t" 2>"$work.log"; then
    failed=1
    tail -n 40 "$work.log"
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)|^(Done|#[0-9]+.*DONE)' "$work.log" || true
done
exit $failed
