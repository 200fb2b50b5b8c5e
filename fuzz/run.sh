#!/usr/bin/env bash
# Runs each libFuzzer target for SECONDS on its checked-in seed corpus and
# fails on the first crash, leak, sanitizer report or hang (an input slower
# than 60 s). New inputs go to a work corpus under the build folder, never to
# fuzz/corpus; a crashing input is left as BUILD/artifacts/TARGET-crash-*.
# Usage: fuzz/run.sh SECONDS [BUILD]   (BUILD defaults to build-fuzz; built by
# fuzz/build.sh). Paths are made absolute: fuzz_dialogue works in a temporary
# folder of its own.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:?seconds per target}
build=$(cd "${2:-$root/build-fuzz}" && pwd)
status=0
for target in fuzz_datafile fuzz_dialogue; do
  work="$build/corpus/$target"
  mkdir -p "$work" "$build/artifacts"
  dict=()
  [ -f "$root/fuzz/$target.dict" ] && dict=(-dict="$root/fuzz/$target.dict")
  echo "== $target: ${seconds}s"
  if ! "$build/$target" -max_total_time="$seconds" -timeout=60 -max_len=5200 -seed=1 \
        -print_final_stats=1 "${dict[@]}" -artifact_prefix="$build/artifacts/$target-" \
        "$work" "$root/fuzz/corpus/$target" >"$build/$target.log" 2>&1; then
    status=1
    echo "== $target FAILED; the end of its log ($build/$target.log):"
    tail -n 60 "$build/$target.log"
  fi
  grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::average_exec_per_sec)' "$build/$target.log" || true
done
exit $status
