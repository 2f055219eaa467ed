#!/usr/bin/env bash
# Measures the figures of the README's performance section on the release build:
#  - one whole frame against one plain copy of the back buffer (Google Benchmark, same run);
#  - process start to the first drawn frame against an empty Qt window, median of RUNS runs
#    each, interleaved so both see the same machine.
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=build/release/src/app/kestrova
DISC=${DISC:-sample-disc}
RUNS=${RUNS:-9}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
export QTWEBENGINE_DISABLE_SANDBOX=1

echo "== frame =="
out=$(build/release/bench/frame_bench --disc "$DISC" --benchmark_repetitions=9 \
  --benchmark_report_aggregates_only=true 2>/dev/null | grep -E 'median')
echo "$out"
echo "$out" | awk '/PlainCopy/ {c=$4} /WholeFrame/ {f=$4} END {printf "frame / plain copy (CPU, median): %.1f\n", f/c}'

echo "== start-up to first frame (median of $RUNS) =="
front=(); empty=()
for _ in $(seq "$RUNS"); do
  front+=("$(KESTROVA_LAUNCH_NS=$(date +%s%N) "$BIN" --disc "$DISC" --first-frame-exit 2>/dev/null | sed -n 's/first frame after \([0-9]*\) ms/\1/p')")
  empty+=("$(KESTROVA_LAUNCH_NS=$(date +%s%N) "$BIN" --empty-window --first-frame-exit 2>/dev/null | sed -n 's/first frame after \([0-9]*\) ms/\1/p')")
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
f=$(median "${front[@]}"); e=$(median "${empty[@]}")
echo "front end: ${f} ms   empty Qt window: ${e} ms   ratio: $(awk -v a="$f" -v b="$e" 'BEGIN{printf "%.1f", a/b}')"
