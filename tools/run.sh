#!/usr/bin/env bash
# Installs what is missing, builds Firmhold (incrementally) and starts it.
# Any arguments are passed on to Firmhold, e.g.  tools/run.sh --file pedal_v2.syx
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/install-deps.sh"
# Only the application: the tests' packages are not installed here (tools/test.sh turns them on again).
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFIRMHOLD_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build/release" --target Firmhold -j "$(nproc)"

exec "$root/build/release/src/Firmhold_artefacts/RelWithDebInfo/Firmhold" "$@"
