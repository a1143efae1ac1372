#!/usr/bin/env bash
# Builds the fuzz targets of fuzz/ (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) in their own tree and runs each one for SECONDS
# (default 5) over its corpus:
#
#   bash scripts/fuzz.sh [SECONDS] [TARGET...]
#
# TARGET names a target without its "fuzz_" prefix (datapacket, ini, ...);
# none runs them all. FUZZ_DIR (default build-fuzz) is the tree. Each target's
# corpus grows in FUZZ_DIR/corpus/<target>, next to the seeds ziro-fuzz-seeds
# writes into FUZZ_DIR/seeds/<target>; the input of a finding is kept in
# FUZZ_DIR/findings/<target>/ and the run's log in FUZZ_DIR/logs/<target>.log.
# FUZZ_PARALLEL (default 1) targets run at a time, for long runs on a machine
# with cores to spare. Prints executions, coverage (libFuzzer's cov: and ft:)
# and the outcome per target; exits non-zero when any target found a fault.
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_PER_TARGET=${1:-5}
shift || true
FUZZ_DIR=${FUZZ_DIR:-build-fuzz}

die() {
  echo "fuzz: $*" >&2
  exit 1
}

[[ "$SECONDS_PER_TARGET" =~ ^[0-9]+$ ]] || die "SECONDS must be a whole number, not \"$SECONDS_PER_TARGET\""
command -v clang++ >/dev/null || die "clang++ not found (scripts/setup.sh installs the Debian packages clang and libclang-rt-dev)"

export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
# Optimised lightly and with line tables only: the instrumented logic then
# builds in a few minutes on two cores and still names every line of a report.
CC=clang CXX=clang++ cmake -S . -B "$FUZZ_DIR" -G Ninja -DCMAKE_BUILD_TYPE=None \
  "-DCMAKE_CXX_FLAGS=-O1 -gline-tables-only" -DZIRO_FUZZ=ON >/dev/null ||
  die "configuring $FUZZ_DIR failed (the CMake error is above)"
cmake --build "$FUZZ_DIR" -j"${FUZZ_JOBS:-2}" --target fuzz-targets >/dev/null ||
  die "building the fuzz targets in $FUZZ_DIR failed (run cmake --build $FUZZ_DIR --target fuzz-targets to see why)"

rm -rf "$FUZZ_DIR/seeds"
"$FUZZ_DIR/ziro-fuzz-seeds" "$FUZZ_DIR/seeds" || die "writing the seed corpora failed"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$FUZZ_DIR"/fuzz_*; do
    [ -x "$exe" ] && targets+=("${exe##*/fuzz_}")
  done
fi

PARALLEL=${FUZZ_PARALLEL:-1}
[[ "$PARALLEL" =~ ^[1-9][0-9]*$ ]] || die "FUZZ_PARALLEL must be a whole number above zero, not \"$PARALLEL\""

for t in "${targets[@]}"; do
  [ -x "$FUZZ_DIR/fuzz_$t" ] || die "no fuzz target \"$t\" (known: $(cd "$FUZZ_DIR" && ls fuzz_* | sed 's/^fuzz_//' | tr '\n' ' '))"
  [ -d "$FUZZ_DIR/seeds/$t" ] || die "no seeds for \"$t\" (fuzz/seeds/make_seeds.cpp writes them)"
done

# Runs one target and leaves its line of the table in logs/<target>.result,
# so that targets run side by side still report in the order given.
run_target() {
  local t=$1
  local exe="$FUZZ_DIR/fuzz_$t" corpus="$FUZZ_DIR/corpus/$t" findings="$FUZZ_DIR/findings/$t"
  local log="$FUZZ_DIR/logs/$t.log" status=0
  mkdir -p "$corpus" "$findings"
  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1} \
    "$exe" -max_total_time="$SECONDS_PER_TARGET" -timeout=20 -rss_limit_mb=2560 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$FUZZ_DIR/seeds/$t" >"$log" 2>&1 || status=$?
  local execs last cov ft outcome artifact
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  last=$(grep -E '^#[0-9]+' "$log" | tail -1 || true)
  cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$last")
  ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$last")
  if [ "$status" -eq 0 ]; then
    outcome=ok
  else
    artifact=$(sed -n 's/.*Test unit written to \(.*\)$/\1/p' "$log" | tail -1)
    outcome="FAULT (exit $status${artifact:+, input $artifact}; log $log)"
  fi
  printf '%-16s %12s %8s %8s  %s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$outcome" >"$FUZZ_DIR/logs/$t.result"
}

mkdir -p "$FUZZ_DIR/logs"
running=0
for t in "${targets[@]}"; do
  rm -f "$FUZZ_DIR/logs/$t.result"
  run_target "$t" &
  running=$((running + 1))
  if [ "$running" -ge "$PARALLEL" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

failed=()
printf '%-16s %12s %8s %8s  %s\n' target executions cov ft outcome
for t in "${targets[@]}"; do
  result="$FUZZ_DIR/logs/$t.result"
  if [ -s "$result" ]; then
    cat "$result"
    grep -q '  ok$' "$result" || failed+=("$t")
  else
    printf '%-16s %12s %8s %8s  %s\n' "$t" ? ? ? "FAULT (no result; log $FUZZ_DIR/logs/$t.log)"
    failed+=("$t")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: faults found by: ${failed[*]}" >&2
  echo "fuzz: replay one with $FUZZ_DIR/fuzz_<target> <input>" >&2
  exit 1
fi
