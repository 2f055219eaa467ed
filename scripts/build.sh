#!/usr/bin/env bash
# Installs what is missing, then configures and builds the dev preset (warnings are errors).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset dev
cmake --build --preset dev -j"$(nproc)"
