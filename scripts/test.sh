#!/usr/bin/env bash
# Sets up, builds and runs every test: unit tests, replay tests and the fuzz corpora.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/build.sh
ctest --preset dev -j"$(nproc)"
