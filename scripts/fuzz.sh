#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, address and undefined-behaviour sanitizers) and
# runs each for the given number of seconds (default 60), starting from its seed corpus in
# tests/fuzz/corpus/. New inputs go to build/fuzz/corpus/, crashes to build/fuzz/crashes/.
#   scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
./scripts/deps.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

build=build/fuzz
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=offscreen
failed=()
# CI walks the same mutations every run, so a submission's result does not hang on chance;
# a developer's run explores afresh each time.
seed=()
[ "${CI:-}" = true ] && seed=(-seed=1)
for target in $(find "$build/tests/fuzz" -maxdepth 1 -name '*_fuzz' -type f -perm -u+x | sort); do
  name=$(basename "$target" _fuzz)
  seeds=tests/fuzz/corpus/$name
  work=$build/corpus/$name
  crashes=$build/crashes/$name
  mkdir -p "$work" "$crashes"
  [ -d "$seeds" ] || { echo "no seed corpus for $name at $seeds"; failed+=("$name"); continue; }
  echo "== $name: ${seconds}s"
  if ! "$target" "${seed[@]}" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2560 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$crashes/" "$work" "$seeds" \
      >"$build/$name.log" 2>&1; then
    tail -40 "$build/$name.log"
    failed+=("$name")
  else
    grep -E '^stat::number_of_executed_units|^Done' "$build/$name.log" || true
  fi
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing found faults in: ${failed[*]} (inputs in $build/crashes/)"
  exit 1
fi
echo "fuzzing: no faults"
