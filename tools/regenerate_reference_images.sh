#!/bin/sh
# Rewrites the look-and-feel reference images from the current drawing code.
# Usage: tools/regenerate_reference_images.sh <build-dir>
# Needs an X display (for example: Xvfb :41 & DISPLAY=:41 tools/regenerate_reference_images.sh build).
# Only for an intended change of the look: a failing comparison otherwise means the drawing
# changed by accident. Look at every image under tests/lookandfeel/reference/ before
# committing it.
set -eu

build_dir=${1:?usage: $0 <build-dir>}

cmake --build "$build_dir" --target firmhold_tests
FIRMHOLD_WRITE_REFERENCE_IMAGES=1 "$build_dir/tests/firmhold_tests" --gtest_filter='ReferenceImages.*'
