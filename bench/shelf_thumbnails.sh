#!/usr/bin/env bash
# The shelf with 50 discs: time from its window shown to every thumbnail drawn, with an empty
# probe cache (each disc probed by a child front end) and with the cache the first run left,
# interleaved; the baseline, measured in the same run, is one whole run of the front end to its
# first frame on the same disc and out again (a probe is one such run, offscreen). Medians of RUNS.
# Usage: bench/shelf_thumbnails.sh   (after `make release`)
#   BUILD=build/release  DISC=sample-disc  COUNT=50  RUNS=3  THREADS=3
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build/release}
DISC=${DISC:-sample-disc}
COUNT=${COUNT:-50}
RUNS=${RUNS:-3}
THREADS=${THREADS:-3}
BIN=$BUILD/src/app/kestrova
SHELF=$BUILD/bench/shelf_thumbnails
for prog in "$BIN" "$SHELF"; do
  [ -x "$prog" ] || { echo "shelf_thumbnails.sh: $prog is not built (make release, or set BUILD)" >&2; exit 1; }
done
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The discs are hard-linked copies of one disc (a copy where links cannot be made): each is a
# disc of its own to the shelf, probed and cached on its own.
mkdir -p "$work/discs"
for i in $(seq -w 1 "$COUNT"); do
  cp -al "$DISC" "$work/discs/issue$i" 2>/dev/null || cp -a "$DISC" "$work/discs/issue$i"
done

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
drawn() { "$SHELF" --discs "$work/discs" --cache "$1" --program "$BIN" --threads "$THREADS" 2>/dev/null |
  sed -n 's/.* drawn after \([0-9]*\) ms/\1/p'; }

uncached=(); cached=(); start=()
for run in $(seq "$RUNS"); do
  cache="$work/cache$run"
  uncached+=("$(drawn "$cache")")
  cached+=("$(drawn "$cache")")
  t0=$(date +%s%N)
  "$BIN" --disc "$DISC" --first-frame-exit >/dev/null 2>&1
  start+=("$((($(date +%s%N) - t0) / 1000000))")
done
u=$(median "${uncached[@]}"); c=$(median "${cached[@]}"); s=$(median "${start[@]}")
echo "$COUNT discs, $THREADS probes at a time, median of $RUNS:"
echo "  uncached: ${u} ms to every thumbnail drawn (runs: ${uncached[*]})"
echo "  cached:   ${c} ms (runs: ${cached[*]})"
echo "  baseline: one run of the front end to its first frame and out, ${s} ms (runs: ${start[*]})"
awk -v u="$u" -v s="$s" -v n="$COUNT" -v t="$THREADS" 'BEGIN {
  printf "  uncached per disc: %.0f ms = %.2f x one run; ideal with %d at a time: %.0f ms\n", u / n, u / n / s, t, n * s / t }'
