#!/usr/bin/env bash
# How the browser engine behind the web pane treats a user's machine, as a new user meets it:
# the front end on the sample disc under Xvfb, with the engine's software rendering, against the
# same build without the engine (--light-web), measured in the same run.
#  - idle cost: CPU time of the whole process tree over a quiet stretch of the start screen, as a
#    share of one core (median of RUNS runs, interleaved);
#  - windows: how many different top-level windows the program shows in its first seconds (one
#    means the window was never destroyed and made again);
#  - chatter: lines the program writes to standard error on a normal start, and with --verbose.
# Usage: bench/web_engine_citizen.sh [BIN]   (default: the release build)
set -euo pipefail
cd "$(dirname "$0")/.."
BIN=${1:-build/release/src/app/kestrova}
RUNS=${RUNS:-3}
SETTLE=${SETTLE:-5}  # seconds for start-up and the engine to come up
IDLE=${IDLE:-10}     # seconds of quiet start screen measured
export QTWEBENGINE_DISABLE_SANDBOX=1
unset QT_QPA_PLATFORM

# CPU ticks (user + system) of a process and all its descendants.
tree_ticks() {
  local pid=$1 total=0 child
  if [ -r "/proc/$pid/stat" ]; then
    total=$(awk '{sub(/.*\) /, ""); print $12 + $13}' "/proc/$pid/stat")
  fi
  for child in $(pgrep -P "$pid" || true); do
    total=$((total + $(tree_ticks "$child")))
  done
  echo "$total"
}

# Share of one core used while idle, in per cent.
idle_share() {
  local display=$1
  shift
  DISPLAY=$display "$BIN" --disc sample-disc "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "$SETTLE"
  local a b
  a=$(tree_ticks "$pid")
  sleep "$IDLE"
  b=$(tree_ticks "$pid")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  awk -v a="$a" -v b="$b" -v hz="$(getconf CLK_TCK)" -v s="$IDLE" \
    'BEGIN{printf "%.1f", 100 * (b - a) / hz / s}'
}

# Distinct visible top-level windows titled like the front end during its first seconds (the
# toolkit's hidden leader window carries the same title and is left out).
window_count() {
  local display=$1
  DISPLAY=$display "$BIN" --disc sample-disc >/dev/null 2>&1 &
  local pid=$!
  local ids="" id
  for _ in $(seq 40); do
    for id in $(DISPLAY=$display xwininfo -root -children 2>/dev/null |
                awk '/"(Kestrova CD-ROM|i)"/ {print $1}'); do
      if DISPLAY=$display xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable'; then
        ids+=" $id"
      fi
    done
    sleep 0.15
  done
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$ids" | tr ' ' '\n' | sed '/^$/d' | sort -u | wc -l
}

stderr_lines() {
  local display=$1
  shift
  DISPLAY=$display timeout -s INT "$SETTLE" "$BIN" --disc sample-disc "$@" 2>&1 >/dev/null |
    wc -l
}

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

Xvfb :77 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1

with=(); without=()
for _ in $(seq "$RUNS"); do
  with+=("$(idle_share :77)")
  without+=("$(idle_share :77 --light-web)")
done
w=$(median "${with[@]}"); wo=$(median "${without[@]}")
echo "idle start screen, share of one core (median of $RUNS): with the engine ${w} %," \
  "without ${wo} %, ratio $(awk -v a="$w" -v b="$wo" 'BEGIN{printf "%.2f", (b > 0 ? a / b : 0)}')"
echo "top-level windows in the first 6 s: $(window_count :77)"
echo "standard error lines on start: $(stderr_lines :77), with --verbose: $(stderr_lines :77 --verbose)"
