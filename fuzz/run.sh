#!/bin/sh
# Runs every fuzz target for a bounded time, two at a time.
#   fuzz/run.sh [BUILD_DIR] [SECONDS]
# BUILD_DIR is a build configured with -DTESSARO_FUZZ=ON (clang); it defaults
# to build-fuzz, the folder that test.sh builds. Each target
# starts from its seed corpus (fuzz/corpus/<target>, plus the files of data/
# and tests/ that it reads, copied into its work folder) and the inputs that
# once failed (fuzz/regress/<target>); what it finds new goes to
# BUILD_DIR/fuzz/work/<target>, a failing input to BUILD_DIR/fuzz/artifacts/.
# Fails when any target reports a crash, leak, timeout, memory excess or
# sanitizer finding. Prints the inputs run and the coverage of each target.
set -e
SRC="$(cd "$(dirname "$0")" && pwd)"
BLD="${1:-$SRC/../build-fuzz}"
SECS="${2:-60}"
OUT="$BLD/fuzz"
JOBS="${TESSARO_FUZZ_JOBS:-2}"
mkdir -p "$OUT/artifacts" "$OUT/logs"

# Seeds kept elsewhere in the tree, one copy each.
seeds() {
  case "$1" in
    fuzz_vio_file) echo "$SRC"/../data/examples/*.vio "$SRC"/../tests/editor/corpus/*.vio ;;
    fuzz_tkn_file) echo "$SRC/../data/ExtComTkn.sys" ;;
    fuzz_lesson) echo "$SRC"/../data/lessons/*.lesson ;;
  esac
}

run_one() {
  t="$1"
  mkdir -p "$OUT/work/$t"
  for s in $(seeds "$t"); do cp "$s" "$OUT/work/$t/"; done
  reg=""
  [ -d "$SRC/regress/$t" ] && reg="$SRC/regress/$t"
  # Inputs up to 16 KiB: longer than the longest line a program may hold.
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$OUT/$t" "$OUT/work/$t" "$SRC/corpus/$t" $reg \
    -max_total_time="$SECS" -timeout=5 -rss_limit_mb=1024 -max_len=16384 \
    -print_final_stats=1 -artifact_prefix="$OUT/artifacts/$t-" \
    >"$OUT/logs/$t.log" 2>&1
}

TARGETS=""
for f in "$OUT"/fuzz_*; do
  [ -x "$f" ] && [ -f "$f" ] && TARGETS="$TARGETS $(basename "$f")"
done
[ -n "$TARGETS" ] || { echo "no fuzz targets in $OUT" >&2; exit 2; }

pids=""
n=0
for t in $TARGETS; do
  ( rc=0; run_one "$t" || rc=$?; echo "$rc" >"$OUT/logs/$t.rc" ) &
  pids="$pids $!"
  n=$((n + 1))
  if [ "$n" -ge "$JOBS" ]; then
    wait
    n=0
  fi
done
wait

fail=0
printf '%-16s %12s %14s %8s %10s  %s\n' target inputs "cov (of all)" ft corpus result
for t in $TARGETS; do
  log="$OUT/logs/$t.log"
  rc="$(cat "$OUT/logs/$t.rc" 2>/dev/null || echo 99)"
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  last="$(grep -E '^#[0-9]+.*cov: ' "$log" | tail -1)"
  cov="$(echo "$last" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')"
  ft="$(echo "$last" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')"
  corp="$(echo "$last" | sed -n 's/.* corp: \([0-9]*\/[0-9a-zA-Z]*\).*/\1/p')"
  all="$(sed -n 's/^INFO: Loaded 1 modules *(\([0-9]*\) inline 8-bit counters.*/\1/p' "$log" | head -1)"
  res=ok
  if [ "$rc" != 0 ] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|SUMMARY: ' "$log"; then
    res="FAILED (exit $rc)"
    fail=1
  fi
  printf '%-16s %12s %14s %8s %10s  %s\n' "$t" "${runs:-?}" "${cov:-?} (${all:-?})" "${ft:-?}" "${corp:-?}" "$res"
done
if [ "$fail" -ne 0 ]; then
  for t in $TARGETS; do
    [ "$(cat "$OUT/logs/$t.rc")" = 0 ] && continue
    echo "== $t: end of its log ($OUT/logs/$t.log)"
    tail -40 "$OUT/logs/$t.log"
  done
  echo "A failing input is kept in $OUT/artifacts/: add it to fuzz/regress/<target>/ and a test for it." >&2
  exit 1
fi
