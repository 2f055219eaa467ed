#!/usr/bin/env bash
# Draws packaging/kestrova.svg anew at every size the program carries as a PNG
# (packaging/icons/kestrova-<N>.png). Run after changing the SVG, and commit the PNGs with it; a
# test checks that they match.
#   scripts/render-icon-sizes.sh   (BUILD=build/dev, the configured build folder to build the tool in)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build/dev}
cmake --build "$BUILD" --target kestrova_render_icon_sizes
QT_QPA_PLATFORM=offscreen "$BUILD/packaging/kestrova_render_icon_sizes" packaging/kestrova.svg packaging/icons
