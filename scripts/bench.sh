#!/usr/bin/env bash
# Measures the figures of the README's performance section on a release build. Every figure is
# given with its baseline measured in the same run; the programs measured against each other take
# turns (interleaved), so both see the same machine, and each figure is a median.
#  - one whole frame against one plain copy of the back buffer (Google Benchmark), drawn straight
#    on the back buffer and through the repeat-skipping canvas the front end draws through;
#  - loading each image-list file of the disc, in bytes per second (Google Benchmark);
#  - process start to the first drawn frame, the front end on the disc against a separate minimal
#    Qt Widgets program (bench/minimal_widgets), on the offscreen platform and under Xvfb;
#  - idle CPU of the whole process tree under Xvfb as a share of one core, the front end on a
#    still start screen and while the thumbnail strip moves (the pointer driven with xdotool),
#    against an empty window repainted 60 times a second (bench/idle_window);
#  - memory: the whole process tree's proportional set size (PSS, from /proc/PID/smaps_rollup,
#    summed over the program and every helper process) on the still start screen 8 s after start
#    with no page asked for, and peak resident memory of the main process at its first frame and
#    on the still start screen (VmHWM), each against the minimal program's;
#  - the first page: from a click on a menu line to its page drawn in the web pane under Xvfb
#    (bench/first_page.py), with the browser engine cold, and warmed by the pointer resting on
#    the line first. No baseline: the goal is under a second.
#  - the shelf with 50 discs: its window shown to every thumbnail drawn, cached and uncached
#    (bench/shelf_thumbnails.sh), against the front end's own start.
# Usage: scripts/bench.sh   (after `make release`)
#   BUILD=build/release  the build folder          DISC=sample-disc      the disc measured
#   RUNS=9               start-up runs per program  IDLE_RUNS=3           idle runs per program
#   SETTLE=4             seconds before measuring   IDLE=8                seconds measured
#   BENCH_DISPLAY=:93    the Xvfb display started for the run (must be free)
#   ONLY=idle,startup    only these sections: frame, lists, startup, pss, page, idle, memory,
#                        shelf (all unless set)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build/release}
DISC=${DISC:-sample-disc}
RUNS=${RUNS:-9}
IDLE_RUNS=${IDLE_RUNS:-3}
SETTLE=${SETTLE:-4}
IDLE=${IDLE:-8}
DPY=${BENCH_DISPLAY:-:93}
BIN=$BUILD/src/app/kestrova
MINIMAL=$BUILD/bench/minimal_widgets
IDLE_WINDOW=$BUILD/bench/idle_window
export QTWEBENGINE_DISABLE_SANDBOX=1
unset QT_QPA_PLATFORM

for tool in Xvfb xdotool dbus-daemon awk pgrep getconf /usr/bin/time python3; do
  command -v "$tool" >/dev/null || { echo "bench.sh: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
for prog in "$BIN" "$MINIMAL" "$IDLE_WINDOW" "$BUILD/bench/frame_bench" "$BUILD/bench/image_list_bench"; do
  [ -x "$prog" ] || { echo "bench.sh: $prog is not built (make release, or set BUILD)" >&2; exit 1; }
done

if [ -e "/tmp/.X${DPY#:}-lock" ]; then
  echo "bench.sh: display $DPY is in use; set BENCH_DISPLAY to a free one" >&2
  exit 1
fi

ONLY=${ONLY:-}
want() { [ -z "$ONLY" ] || [[ ",$ONLY," == *",$1,"* ]]; }

median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN{ if (b > 0) printf "%.1f", a / b; else print "n/a" }'; }

if want frame; then
echo "== frame =="
out=$("$BUILD/bench/frame_bench" --disc "$DISC" --benchmark_repetitions=9 \
  --benchmark_report_aggregates_only=true 2>/dev/null | grep -E 'median')
echo "$out"
echo "$out" | awk '/^BM_PlainCopyOfBackBuffer_/ {c=$4} /^BM_WholeFrame_/ {f=$4} /^BM_WholeFrameThroughRepeatSkipping_/ {r=$4}
  END {printf "frame / plain copy (CPU, median): %.1f\n", f/c
       printf "frame through the repeat-skipping canvas / plain copy (CPU, median): %.1f\n", r/c}'

fi

if want lists; then
echo "== image-list files, loaded as at start-up (median of 5) =="
"$BUILD/bench/image_list_bench" --disc "$DISC" --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true 2>/dev/null | grep -E 'median'
fi

# -noreset: the server would otherwise reset (and centre the pointer) whenever its last client leaves.
Xvfb "$DPY" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb=$!
# A desktop session has a session bus, and the toolkit connects to it at start: the programs
# measured share one of their own, as on a desktop. Without one the bus library forks the process
# to look for a bus launcher, and every page written after that fork is copied on its first
# write: a cost no desktop pays, and larger the more memory a program holds.
bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1)
export DBUS_SESSION_BUS_ADDRESS=$(echo "$bus" | sed -n 1p)
bus_pid=$(echo "$bus" | sed -n 2p)
# Waited for, so that the display is free again once the script has ended.
trap 'kill $xvfb $bus_pid 2>/dev/null || true; wait $xvfb 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  DISPLAY=$DPY xdotool getmouselocation >/dev/null 2>&1 && break
  sleep 0.1
done
# A display already taken makes this Xvfb exit; measuring on someone else's would move their pointer.
if ! kill -0 "$xvfb" 2>/dev/null || ! DISPLAY=$DPY xdotool getmouselocation >/dev/null 2>&1; then
  echo "bench.sh: Xvfb on $DPY did not start (display in use? set BENCH_DISPLAY)" >&2
  exit 1
fi

# Milliseconds to the first drawn frame, as the program prints it; the time stamp is taken just
# before the program is started, so loading it counts too.
first_frame() {
  local platform=$1
  shift
  KESTROVA_LAUNCH_NS=$(date +%s%N) DISPLAY=$DPY QT_QPA_PLATFORM=$platform "$@" \
    --first-frame-exit 2>/dev/null | sed -n 's/first frame after \([0-9.]*\) ms/\1/p'
}

if want startup; then
echo "== start-up to the first drawn frame (median of $RUNS each, interleaved) =="
for platform in offscreen xcb; do
  front=(); minimal=()
  for _ in $(seq "$RUNS"); do
    front+=("$(first_frame "$platform" "$BIN" --disc "$DISC")")
    minimal+=("$(first_frame "$platform" "$MINIMAL")")
  done
  f=$(median "${front[@]}"); m=$(median "${minimal[@]}")
  echo "$platform: front end ${f} ms (runs: ${front[*]})   minimal Qt Widgets program ${m} ms (runs: ${minimal[*]})   ratio $(ratio "$f" "$m")"
done
fi

# Time on the CPU, in nanoseconds, of every thread of a process and all its descendants, one
# "tid ns" line each (from /proc/TID/schedstat: clock ticks would give a few percent of one core
# in 10 ms steps, too coarse to compare such small shares).
tree_threads_ns() {
  local pid=$1 child
  for stat in /proc/"$pid"/task/*/schedstat; do
    [ -r "$stat" ] || continue
    local tid=${stat%/schedstat}
    echo "${tid##*/} $(awk '{print $1}' "$stat" 2>/dev/null || echo 0)"
  done
  for child in $(pgrep -P "$pid" || true); do
    tree_threads_ns "$child"
  done
}

# Nanoseconds on the CPU between two samples of tree_threads_ns: a thread seen only in the second
# counts whole; one that ended between them is left out (its last moments are lost, never
# counted as negative).
cpu_ns_between() {
  awk 'NR == FNR {a[$1] = $2; next} {d = $2 - ($1 in a ? a[$1] : 0); if (d > 0) t += d} END {printf "%d", t}' \
    <(echo "$1") <(echo "$2")
}

# Proportional set size of a process and all its descendants, in KiB.
tree_pss() {
  local pid=$1 total=0 child
  if [ -r "/proc/$pid/smaps_rollup" ]; then
    total=$(awk '/^Pss:/ {print $2}' "/proc/$pid/smaps_rollup")
  fi
  for child in $(pgrep -P "$pid" || true); do
    total=$((total + $(tree_pss "$child")))
  done
  echo "${total:-0}"
}

# Peak resident memory of one process, in MiB.
peak_mib() { awk '/^VmHWM:/ {printf "%.0f", $2 / 1024}' "/proc/$1/status"; }

# The pointer off the window, so nothing on the start screen is hovered.
park_pointer() { DISPLAY=$DPY xdotool mousemove 1020 760; }

# The program's visible window, given the input focus (there is no window manager to give it),
# so the application is active and its frames run.
focus_window() {
  local pid=$1 id
  for _ in $(seq 100); do
    id=$(DISPLAY=$DPY xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)
    if [ -n "$id" ] && DISPLAY=$DPY xdotool windowfocus "$id" 2>/dev/null; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  echo "bench.sh: no window from process $pid on $DPY" >&2
  return 1
}

# Runs a program on the display for SETTLE seconds, then measures it for IDLE seconds; prints
# "<share of one core in %> <peak resident MiB>". With mode "strip" the pointer rests on the
# thumbnail band right and left of its centre in turn, half a second each (the strip scrolls 10
# pixels a frame, about 300 each way, short of either end), so the strip never stops.
measure_idle() {
  local mode=$1
  shift
  DISPLAY=$DPY "$@" >/dev/null 2>&1 &
  local pid=$! id
  id=$(focus_window "$pid") || { kill "$pid"; return 1; }
  park_pointer
  sleep "$SETTLE"
  local a b t0 t1
  t0=$(date +%s%N)
  a=$(tree_threads_ns "$pid")
  if [ "$mode" = strip ]; then
    local x=570
    for _ in $(seq $((2 * IDLE))); do
      DISPLAY=$DPY xdotool mousemove --window "$id" "$x" 400
      x=$((x == 570 ? 230 : 570))
      sleep 0.5
    done
  else
    sleep "$IDLE"
  fi
  b=$(tree_threads_ns "$pid")
  t1=$(date +%s%N)
  local mem
  mem=$(peak_mib "$pid")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  awk -v ns="$(cpu_ns_between "$a" "$b")" -v s="$(((t1 - t0) / 1000000))" -v m="$mem" \
    'BEGIN{printf "%.2f %s\n", 100 * ns / 1e6 / s, m}'
}

# Peak resident memory of a program SETTLE seconds after it started, in MiB.
measure_memory() {
  DISPLAY=$DPY "$@" >/dev/null 2>&1 &
  local pid=$!
  sleep "$SETTLE"
  local mem
  mem=$(peak_mib "$pid")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  echo "$mem"
}

# Whole-tree PSS, in MiB, of a program on the display PSS_AFTER seconds after it started, its
# window focused and the pointer off it (so nothing is hovered and no page is asked for).
measure_pss() {
  DISPLAY=$DPY "$@" >/dev/null 2>&1 &
  local pid=$!
  focus_window "$pid" >/dev/null || { kill "$pid"; return 1; }
  park_pointer
  sleep "${PSS_AFTER:-8}"
  local kib
  kib=$(tree_pss "$pid")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  awk -v k="$kib" 'BEGIN{printf "%.1f", k / 1024}'
}

if want pss; then
echo "== whole process tree PSS on the still start screen after ${PSS_AFTER:-8} s (median of $IDLE_RUNS, interleaved) =="
front_pss=(); minimal_pss=()
for _ in $(seq "$IDLE_RUNS"); do
  front_pss+=("$(measure_pss "$BIN" --disc "$DISC")")
  minimal_pss+=("$(measure_pss "$MINIMAL")")
done
fp=$(median "${front_pss[@]}"); mp=$(median "${minimal_pss[@]}")
echo "front end: ${fp} MiB (runs: ${front_pss[*]})   minimal Qt Widgets program: ${mp} MiB (runs: ${minimal_pss[*]})   ratio $(ratio "$fp" "$mp")"
fi

if want page; then
echo "== first page: a click on a menu line to its page drawn in the pane (3 runs each) =="
echo "engine cold:"
DISPLAY=$DPY bench/first_page.py "$BIN" --disc "$DISC" --runs 3 || true
echo "engine warmed (the pointer rests 0.5 s on the line first):"
DISPLAY=$DPY bench/first_page.py "$BIN" --disc "$DISC" --runs 3 --rest 0.5 || true
fi

still=(); strip=(); empty=(); front_mem=(); minimal_mem=()
if want idle; then
echo "== idle under Xvfb, share of one core, whole process tree (median of $IDLE_RUNS, ${IDLE} s each, interleaved) =="
for _ in $(seq "$IDLE_RUNS"); do
  read -r cpu mem < <(measure_idle still "$BIN" --disc "$DISC")
  still+=("$cpu"); front_mem+=("$mem")
  read -r cpu _ < <(measure_idle strip "$BIN" --disc "$DISC")
  strip+=("$cpu")
  read -r cpu _ < <(measure_idle still "$IDLE_WINDOW")
  empty+=("$cpu")
  minimal_mem+=("$(measure_memory "$MINIMAL")")
done
s=$(median "${still[@]}"); t=$(median "${strip[@]}"); e=$(median "${empty[@]}")
echo "empty 60 fps window: ${e} %"
echo "front end, still start screen: ${s} %   ratio $(awk -v a="$s" -v b="$e" 'BEGIN{ if (b > 0) printf "%.2f", a / b; else print "n/a" }')"
echo "front end, thumbnail strip moving: ${t} %   ratio $(awk -v a="$t" -v b="$e" 'BEGIN{ if (b > 0) printf "%.2f", a / b; else print "n/a" }')"
echo "(runs, still: ${still[*]}; strip: ${strip[*]}; empty: ${empty[*]})"
fi

# Peak resident memory, in MiB, of a program run to its first frame on the offscreen platform:
# the front end then holds the disc's pictures and has not yet started the browser engine.
first_frame_mib() {
  QT_QPA_PLATFORM=offscreen /usr/bin/time -f '%M' "$@" --first-frame-exit 2>&1 >/dev/null |
    tail -n 1 | awk '{printf "%.0f", $1 / 1024}'
}
if want memory; then
front_first=(); minimal_first=()
for _ in $(seq "$IDLE_RUNS"); do
  front_first+=("$(first_frame_mib "$BIN" --disc "$DISC")")
  minimal_first+=("$(first_frame_mib "$MINIMAL")")
done

echo "== peak resident memory, main process (median of $IDLE_RUNS) =="
ff=$(median "${front_first[@]}"); mf=$(median "${minimal_first[@]}")
echo "front end at its first frame, before the web pane is used: ${ff} MiB   minimal Qt Widgets program: ${mf} MiB   ratio $(ratio "$ff" "$mf")"
if [ ${#front_mem[@]} -gt 0 ]; then
  fm=$(median "${front_mem[@]}"); mm=$(median "${minimal_mem[@]}")
  echo "front end on the still start screen, no page asked for: ${fm} MiB   minimal Qt Widgets program: ${mm} MiB   ratio $(ratio "$fm" "$mm")"
fi
fi

if want shelf; then
echo "== the shelf with 50 discs, window shown to every thumbnail drawn =="
BUILD=$BUILD DISC=$DISC bench/shelf_thumbnails.sh
fi
