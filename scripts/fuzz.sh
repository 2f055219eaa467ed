#!/usr/bin/env bash
# Runs every libFuzzer target for a while, one after the other, on a copy of its seed corpus, and
# prints each run's executions, coverage and findings. New inputs that reach new code stay in
# build/fuzz-corpus/<target>/; a crash, leak or hang is written there as crash-*/leak-*/timeout-*
# (copy it into fuzz/corpus/<target>/ once fixed, so ctest replays it).
# Usage: scripts/fuzz.sh [SECONDS per target, default 600] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_EACH=${1:-600}
shift || true
BUILD=build/fuzz/fuzz
[ -d "$BUILD" ] || { echo "fuzz.sh: build the targets first: cmake --preset fuzz && cmake --build --preset fuzz" >&2; exit 2; }
targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  for f in "$BUILD"/*_fuzz; do targets+=("$(basename "$f" _fuzz)"); done
fi
status=0
for t in "${targets[@]}"; do
  work=build/fuzz-corpus/$t
  mkdir -p "$work"
  cp -n fuzz/corpus/"$t"/* "$work"/ 2>/dev/null || true
  log=build/fuzz-corpus/$t.log
  echo "== $t ($SECONDS_EACH s)"
  if ! (cd "$work" && "../../../$BUILD/${t}_fuzz" -max_total_time="$SECONDS_EACH" -timeout=10 \
      -rss_limit_mb=2048 -print_final_stats=1 . >"../$t.log" 2>&1); then
    status=1
    echo "   FINDING: see $log"
  fi
  grep -E '^#[0-9]+.*(DONE|pulse)' "$log" | tail -1 || true
  grep -E 'stat::number_of_executed_units|stat::peak_rss_mb' "$log" || true
done
exit $status
