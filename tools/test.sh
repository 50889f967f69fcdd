#!/usr/bin/env bash
# Installs what is missing, builds everything (incrementally) and runs every test:
#   1. the unit and component tests (GUI tests on a private Xvfb display)
#   2. the end-to-end tests: the real binary under Xvfb, and the real MIDI path in a
#      throw-away qemu guest with a real kernel (label "vm")
#   3. the unit and component tests again under AddressSanitizer+UBSan and ThreadSanitizer
#   4. short libFuzzer runs over the firmware file check and the command-line reader, and the transfer and start-up
#      benchmarks
#   5. the packages (tools/package.sh): the Debian package is checked, installed, started
#      and removed; the Windows build runs under Wine (its windows, closing, unattended use
#      from a command prompt, and its MIDI output on a simulated pedal port's bad days), and
#      so do the unit and component tests, cross-built
# Set FIRMHOLD_SKIP_VM=1 to leave out the guest runs (they need about fifteen minutes),
# FIRMHOLD_SKIP_PACKAGES=1 to leave out the packages, FIRMHOLD_SKIP_WINE=1 the Windows build and its tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Compiler cache entries that hold for any clone of the project, wherever it lies.
export CCACHE_BASEDIR="$root" CCACHE_NOHASHDIR=1
jobs=$(nproc)
midivm="$root/../shared/midi-vm/run-in-midi-vm"

# The GUI tests need an X display: after installing what is missing, the script runs
# itself again on a private Xvfb display, which is gone when it ends.
if [ -z "${FIRMHOLD_ON_XVFB:-}" ]; then
    "$root/tools/install-deps.sh" --tests
    FIRMHOLD_ON_XVFB=1 exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

if [ -z "${FIRMHOLD_SKIP_VM:-}" ]; then
    "$midivm" --prepare --xvfb
fi

configure_and_build() {   # dir, extra cmake args...
    local dir=$1; shift
    cmake -S "$root" -B "$root/build/$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFIRMHOLD_BUILD_TESTS=ON "$@" >/dev/null
    cmake --build "$root/build/$dir" -j "$jobs"
}

run_ctest() {   # dir, ctest args...
    local dir=$1; shift
    (cd "$root/build/$dir" && ctest --output-on-failure --no-tests=error "$@")
}

# The unit and component tests cross-built with MinGW-w64, one Windows process per case
# under Wine (the prefix of the Windows build's test).
windows_unit_tests() {
    local wine64
    wine64=$(command -v wine64 || echo /usr/lib/wine/wine64)
    "$root/tools/windows-deps.sh" "$root/build/windows-deps/prefix"
    configure_and_build windows-tests -DCMAKE_BUILD_TYPE=Release -DFIRMHOLD_BUILD_BENCH=OFF \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/x86_64-w64-mingw32.cmake" \
        -DFIRMHOLD_WINDOWS_DEPS="$root/build/windows-deps/prefix" -DCMAKE_CROSSCOMPILING_EMULATOR="$wine64"
    (
        fail() { echo "FAIL: $*" >&2; exit 1; }
        source "$root/tests/support/wine.sh"
        wine_prepare "$root/build/wine-prefix"
        trap wine_stop EXIT
        # One Wine server for every case, with Wine's own background programs started here:
        # started by a case, they would hold its output open until the last case ends.
        wineserver -p >/dev/null 2>&1
        "$wine64" cmd /c exit >/dev/null 2>&1
        run_ctest windows-tests -j "$jobs"
    )
}

echo "== unit and component tests"
configure_and_build release
run_ctest release -j "$jobs" -LE vm

if [ -z "${FIRMHOLD_SKIP_VM:-}" ]; then
    echo "== end-to-end tests in the MIDI guest"
    # One run each: a timing miss is a miss. The bounds leave room for a loaded host.
    # The byte-exact UART runs (label "long") need a quiet host: FIRMHOLD_LONG_UART=1 adds them.
    long=(-LE long)
    [ -z "${FIRMHOLD_LONG_UART:-}" ] || long=()
    run_ctest release -L vm "${long[@]}" -V | grep -v "^UpdateCTestConfiguration\|^[0-9]*: Test \(command\|timeout\)\|^[0-9]*: Working Directory"
fi

if [ -z "${FIRMHOLD_SKIP_PACKAGES:-}" ]; then
    echo "== the Debian package: build, check, install, start, remove"
    "$root/tools/package.sh" deb
    "$root/tests/packaging/deb_package_test.sh" "$root"/build/packages/firmhold_*_amd64.deb
    if [ -z "${FIRMHOLD_SKIP_WINE:-}" ]; then
        echo "== the Windows build under Wine, in a brand-new Wine prefix as a new machine has"
        "$root/tools/package.sh" windows
        rm -rf "$root/build/wine-prefix"
        "$root/tests/packaging/windows_wine_test.sh" "$root"/build/packages/Firmhold-*-windows-x64.zip \
            "$root/build/wine-prefix"
        echo "== the Windows build's MIDI output under Wine, on a simulated pedal port"
        "$root/tests/packaging/windows_port_test.sh" "$root"/build/packages/Firmhold-*-windows-x64.zip \
            "$root/build/wine-prefix" "$root/build/release/tests/e2e/drive_panel" "$root/build/wine-mid-transfer.png"
        echo "== the unit and component tests as a Windows program under Wine"
        windows_unit_tests
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

echo "== fuzzing the firmware file check and the command-line reader"
CC=clang CXX=clang++ configure_and_build fuzz -DFIRMHOLD_FUZZ_ONLY=ON
run_ctest fuzz -L fuzz

echo "== transfer benchmark"
"$root/build/release/bench/TransferBenchmark" --benchmark_min_time=0.2

echo "== start-up benchmark (against a minimal window built in the same tree; host load: $(cut -d' ' -f1-3 /proc/loadavg))"
"$root/build/release/bench/startup_benchmark" 7

echo "== all tests passed"
