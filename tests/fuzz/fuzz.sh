#!/usr/bin/env bash
# Runs both fuzz targets of a fuzz build for SECONDS each and fails on any
# finding (a sanitizer report, a crash, a hang, a leak). Corpora grow in
# BUILD/fuzz/ across calls; findings land in BUILD/fuzz/findings/.
#   tests/fuzz/fuzz.sh BUILD SECONDS
set -euo pipefail
build="$(cd "$1" && pwd)"
seconds="${2:-60}"
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
work="$build/fuzz"
mkdir -p "$work/findings" "$work/corpus-run" "$work/corpus-loaders"

# The dictionary: the language's tokens and every registered builtin name.
{
  cat "$here/tokens.dict"
  grep -o '{"[A-Za-z_][A-Za-z0-9_]*", [0-9]*}' "$root/src/builtins/Registry.cpp" |
    sed 's/{"\([^"]*\)".*/"\1"/' | sort -u
} > "$work/run.dict"

# Seeds: the example programs and script tests; the loader tests' data files
# (the first byte picks the loader, so each file is given with a few).
python3 "$here/seed_corpus.py" "$root" "$work/seeds-run" > /dev/null
mkdir -p "$work/seeds-loaders"
for data in "$root"/tests/scripts/loaders/*.txt "$root"/tests/scripts/loaders/*.csv; do
  [ -f "$data" ] || continue
  name="$(basename "$data")"
  for choice in 0 2 3 4 6 19 20; do
    { printf "\\$(printf '%03o' "$choice")"; head -c 4000 "$data"; } > "$work/seeds-loaders/$choice-$name"
  done
done

# Stack traces in UndefinedBehaviorSanitizer's reports too.
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

status=0
run_target() {
  local target="$1" corpus="$2" seeds="$3"; shift 3
  echo "== $target for ${seconds}s"
  # Leaks are looked for once, at the end (LeakSanitizer at exit): the one
  # interpreter keeps its own memory from input to input, which would make
  # libFuzzer re-run most inputs to look for leaks. Slow inputs (a 120000
  # cell super-matrix takes 0.3 s under the sanitizers) get less of the
  # fuzzer's time: that keeps it at thousands of programs per second.
  if ! "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
      -rss_limit_mb=2560 -detect_leaks=0 -entropic_scale_per_exec_time=1 \
      -print_final_stats=1 \
      -artifact_prefix="$work/findings/$target-" "$@" "$corpus" "$seeds" \
      2> "$work/$target.log"; then
    status=1
    echo "!! $target found a fault; see $work/$target.log and $work/findings/"
    grep -m5 -E 'ERROR|SUMMARY|runtime error' "$work/$target.log" || true
  fi
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$work/$target.log" || true
  grep -E '^#[0-9]+.*(DONE|pulse)' "$work/$target.log" | tail -1 || true
}
run_target tesmora_fuzz_run "$work/corpus-run" "$work/seeds-run" -dict="$work/run.dict" -max_len=4096
run_target tesmora_fuzz_loaders "$work/corpus-loaders" "$work/seeds-loaders" -max_len=8192
exit $status
