#!/usr/bin/env bash
# Cross-builds tarvik.exe and its tests for 64-bit (cmake --preset windows)
# and 32-bit Windows (--preset windows-x86) and runs them under Wine: the
# engine's unit tests, the Windows ports' tests (the transport and the
# launcher through the same contract suites as on Linux), tarvik.exe
# --headless end to end against the Linux router simulator, and the desktop program end to end with its windows
# photographed into build/windows/artifacts, and the installer
# (scripts/package-windows.sh) installed, started and removed. Needs the Linux
# debug build (the
# simulator, `tarvik` and the end-to-end test come from there).
#
# Both builds are checked for what their programs need from a PC (processor,
# subsystem, system DLLs only), and run the unit and port tests and the
# headless end-to-end test:
# they are where the two architectures differ (pointer-sized window and
# socket handles, message parameters, time and file-size types). The desktop
# end-to-end run, the slowest part, drives the same window code through the
# same calls; it runs for the 64-bit build only.
# TARVIK_WINDOWS_ARCHS="windows" (or "windows-x86") runs one build alone.
#
# One Wine prefix per run, made here and removed at the end: the first
# start of Wine in a new prefix is the slow part. A 64-bit prefix runs the
# 32-bit programs too where Wine's 32-bit side is installed (Debian's
# wine32:i386); without it the 32-bit build is built and not run. Windows programs
# with windows (the launcher's test program) get an Xvfb display of their own.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux_build="$root/build/debug"
sim="$linux_build/tools/router-sim/tarvik-router-sim"
e2e="$linux_build/tests/integration/wine/wine_headless_e2e_test"
read -r -a presets <<<"${TARVIK_WINDOWS_ARCHS:-windows windows-x86}"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"

# 32-bit Windows programs run under Wine's 32-bit loader (Debian's
# wine32:i386), which needs a kernel that runs 32-bit programs.
runs_32bit() { [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; }

start=$(date +%s)
werror=OFF
if [ "${CI:-}" = true ] || [ "${TARVIK_WERROR:-0}" = 1 ]; then werror=ON; fi
for preset in "${presets[@]}"; do
  # The whole tree, tests included, also where they cannot run: what
  # compiles for one processor and not the other shows here.
  cmake --preset "$preset" -DTARVIK_WERROR="$werror" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done
# The zips and the installer; its twin behind a 64-bit stub is the one
# Wine without its 32-bit side can run.
scripts/package-windows.sh --amd64-stub >/dev/null
cmake --build --preset debug -j "$(nproc)" --target wine_headless_e2e_test
built=$(date +%s)

export WINEDEBUG=-all WINEARCH=win64
WINEPREFIX=$(mktemp -d /tmp/tarvik-wine.XXXXXX)
export WINEPREFIX
display_lock=""
for n in $(seq 90 130); do
  if [ ! -e "/tmp/.X$n-lock" ]; then display_lock=$n; break; fi
done
# Room for the window 利用状況 at 150 % (1230 by 1020 pixels and its frame),
# which its test photographs.
Xvfb ":$display_lock" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=":$display_lock"
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT
# One server for the whole run, started before the prefix is made (it
# would end a few seconds after each program, and its next start costs
# again; once one runs, asking for a persistent one fails).
wineserver -p
wineboot -i >/dev/null 2>&1
prefixed=$(date +%s)

status=0
for preset in "${presets[@]}"; do
  tested=$(date +%s)
  echo "=== $preset"
  # What the programs need from a PC, read from their files: runs for every build.
  machine=i386:x86-64
  [ "$preset" = windows-x86 ] && machine=i386
  bash tests/win32/self_contained_test.sh "$root/build/$preset" "$machine" || status=1
  if [ "$preset" = windows-x86 ] && ! runs_32bit; then
    echo "$preset: programs and tests built; its tests need Wine's 32-bit side (wine32:i386 on a kernel that runs 32-bit programs): not run here"
    continue
  fi
  ctest --preset "$preset" -LE fuzz || status=1
  # The headless program through its console entry, which Wine's Ctrl-C reaches.
  export TARVIK_EXE="$root/build/$preset/src/win32/tarvik.com"
  export TARVIK_LAUNCHEE="$root/build/$preset/tests/win32/launchee.exe"
  "$e2e" || status=1
  if [ "$preset" = windows ]; then
    # The desktop program with its windows and tray icons, photographed.
    bash tests/integration/wine/wine_desktop_e2e.sh "$root/build/windows/src/win32/tarvik.exe" "$root/build/windows/tests/win32/tray-probe.exe" \
      "$sim" "$root/build/windows/artifacts" "$linux_build/tests/gui/e2e/tarvik-e2e-probe" || status=1
    # The installer: installed silently, started from where it went, removed
    # with the user's settings kept. Its 32-bit stub needs Wine's 32-bit
    # side; where that is missing, its twin behind the 64-bit stub.
    version=$(sed -nE 's/^project\(Tarvik VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
    installer="$root/build/windows/packages/Tarvik-$version-setup.exe"
    runs_32bit || installer="${installer%.exe}-amd64.exe"
    bash tests/integration/wine/wine_installer_test.sh "$installer" "$version" ||
      status=1
  fi
  echo "$preset tests: $(($(date +%s) - tested)) s"
done
done_at=$(date +%s)
echo "windows tests: build $((built - start)) s, wine prefix $((prefixed - built)) s, tests $((done_at - prefixed)) s"
exit $status
