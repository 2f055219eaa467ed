#!/usr/bin/env bash
# Sets up, builds and starts the front end on the bundled sample disc. Without a display it runs
# under Xvfb. Extra arguments go to the front end.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
bin=build/dev/src/app/kestrova
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run.sh: no display here, so the front end runs under a virtual display (Xvfb) where nobody sees it; Ctrl+C stops it." >&2
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$bin" --disc sample-disc "$@"
fi
exec "$bin" --disc sample-disc "$@"
