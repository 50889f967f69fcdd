#!/usr/bin/env bash
# Installs what is missing, builds everything (incrementally) and runs every test:
#   1. the unit and component tests (GUI tests on a private Xvfb display)
#   2. the end-to-end tests: the real binary under Xvfb, and the real MIDI path in a
#      throw-away qemu guest with a real kernel (label "vm")
#   3. the unit and component tests again under AddressSanitizer+UBSan and ThreadSanitizer
#   4. a short libFuzzer run over the firmware file check, and the transfer benchmark
#   5. the packages (tools/package.sh): the Debian package is checked, installed, started
#      and removed; the Windows build runs under Wine
# Set FIRMHOLD_SKIP_VM=1 to leave out the guest runs (they need about ten minutes),
# FIRMHOLD_SKIP_PACKAGES=1 to leave out the packages, FIRMHOLD_SKIP_WINE=1 the Windows build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
midivm="$root/../shared/midi-vm/run-in-midi-vm"

"$root/tools/install-deps.sh" --tests
if [ -z "${FIRMHOLD_SKIP_VM:-}" ]; then
    "$midivm" --prepare --xvfb
fi

# A private X display for the GUI tests, gone when this script ends.
display=""
for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

configure_and_build() {   # dir, extra cmake args...
    local dir=$1; shift
    cmake -S "$root" -B "$root/build/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$root/build/$dir" -j "$jobs"
}

run_ctest() {   # dir, ctest args...
    local dir=$1; shift
    (cd "$root/build/$dir" && ctest --output-on-failure --no-tests=error "$@")
}

echo "== unit and component tests"
configure_and_build release
run_ctest release -j "$jobs" -LE vm

if [ -z "${FIRMHOLD_SKIP_VM:-}" ]; then
    echo "== end-to-end tests in the MIDI guest"
    # Alone on the machine: the emulated UART keeps its rate only on a quiet host, so a
    # timing miss caused by the host (not by the sender) gets one more run.
    run_ctest release -L vm -V --repeat until-pass:2 | grep -v "^UpdateCTestConfiguration\|^[0-9]*: Test \(command\|timeout\)\|^[0-9]*: Working Directory"
fi

if [ -z "${FIRMHOLD_SKIP_PACKAGES:-}" ]; then
    echo "== the Debian package: build, check, install, start, remove"
    "$root/tools/package.sh" deb
    "$root/tests/packaging/deb_package_test.sh" "$root"/build/packages/firmhold_*_amd64.deb
    if [ -z "${FIRMHOLD_SKIP_WINE:-}" ]; then
        echo "== the Windows build under Wine"
        "$root/tools/package.sh" windows
        "$root/tests/packaging/windows_wine_test.sh" "$root"/build/packages/Firmhold-*-windows-x64.zip \
            "$root/build/wine-prefix"
    fi
fi

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
configure_and_build asan -DFIRMHOLD_SANITIZER=address
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS="suppressions=$root/tests/lsan.supp" \
    run_ctest asan -j "$jobs" -LE "vm|e2e"

echo "== ThreadSanitizer"
configure_and_build tsan -DFIRMHOLD_SANITIZER=thread
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/tsan.supp" \
    run_ctest tsan -j "$jobs" -LE "vm|e2e"

echo "== fuzzing the firmware file check"
CC=clang CXX=clang++ configure_and_build fuzz -DFIRMHOLD_FUZZ_ONLY=ON
run_ctest fuzz -L fuzz

echo "== transfer benchmark"
"$root/build/release/bench/TransferBenchmark" --benchmark_min_time=0.2

echo "== all tests passed"
