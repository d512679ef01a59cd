#!/usr/bin/env bash
# Builds and runs the whole test suite: once normally, once under AddressSanitizer
# and UndefinedBehaviorSanitizer, then the fuzz targets on their seed corpora.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/deps.sh
qv_install_missing "${QV_PACKAGES[@]}"
XVFB=(xvfb-run -a -s "-screen 0 1280x1024x24")

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DQV_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$QV_JOBS"
  mkdir -p "$dir/home"
  "${XVFB[@]}" ctest --test-dir "$dir" -j "$QV_JOBS" --output-on-failure --no-tests=error
}

echo "== tests"
run_suite build
echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
# Leaks are detected; scripts/lsan.supp lists only what the toolkit and the
# X and font libraries keep for the life of the process.
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build-asan -DQV_SANITIZE=ON -DQV_BENCH=OFF

echo "== fuzzing"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DQV_FUZZ=ON -DQV_WERROR=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build build-fuzz -j "$QV_JOBS"
root=$PWD
for target in fuzz/fuzz_*.cpp; do
  name=$(basename "$target" .cpp)
  seconds=$(sed -n 's|^// fuzz-seconds: *\([0-9]*\).*|\1|p' "$target")
  work=$(mktemp -d)
  mkdir -p "$work/corpus"
  cp -r "fuzz/corpus/$name/." "$work/corpus/" 2>/dev/null || true
  # Every target detects leaks, the toolkit's own allocations suppressed; the
  # widget targets show their windows under a virtual X server.
  fuites=(ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0")
  run=(env "${fuites[@]}")
  if grep -q '#include "widget_fuzz.h"' "$target"; then
    run=("${XVFB[@]}" env HOME="$work" "${fuites[@]}")
  fi
  echo "-- $name for ${seconds:-30} s"
  if (cd "$work" && "${run[@]}" "$root/build-fuzz/fuzz/$name" \
        -max_total_time="${seconds:-30}" -timeout=10 -rss_limit_mb=4096 \
        -print_final_stats=1 corpus >"$work/log" 2>&1); then
    grep -ah "DONE" "$work/log" || true
    tail -n 4 "$work/log"
    rm -rf "$work"
  else
    cat "$work/log"
    echo "fuzz target $name failed; inputs kept in $work"
    exit 1
  fi
done
echo "== all green"
