#!/usr/bin/env bash
# Cross-builds tarvik.exe and its tests (cmake --preset windows) and runs
# them under Wine: the engine's unit tests, the Windows ports' tests (the
# transport against the Linux router simulator), tarvik.exe --headless
# end to end against the simulator, and the desktop program end to end with
# its windows photographed into build/windows/artifacts. Needs the Linux debug build (the
# simulator, `tarvik` and the end-to-end test come from there).
#
# One Wine prefix per run, made here and removed at the end: the first
# start of Wine in a new prefix is the slow part. Windows programs with
# windows (the launcher's test program) get an Xvfb display of their own.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
linux_build="$root/build/debug"
sim="$linux_build/tools/router-sim/tarvik-router-sim"
e2e="$linux_build/tests/integration/wine/wine_headless_e2e_test"

start=$(date +%s)
cmake --preset windows -DTARVIK_ROUTER_SIM="$sim" >/dev/null
cmake --build --preset windows -j "$(nproc)"
cmake --build --preset debug -j "$(nproc)" --target wine_headless_e2e_test
built=$(date +%s)

export WINEDEBUG=-all WINEARCH=win64
WINEPREFIX=$(mktemp -d /tmp/tarvik-wine.XXXXXX)
export WINEPREFIX
display_lock=""
for n in $(seq 90 130); do
  if [ ! -e "/tmp/.X$n-lock" ]; then display_lock=$n; break; fi
done
Xvfb ":$display_lock" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
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
ctest --preset windows -LE fuzz || status=1
# The headless program through its console entry, which Wine's Ctrl-C reaches.
export TARVIK_EXE="$root/build/windows/src/win32/tarvik.com"
export TARVIK_LAUNCHEE="$root/build/windows/tests/win32/launchee.exe"
"$e2e" || status=1
# The desktop program with its windows and tray icons, photographed.
bash tests/integration/wine/wine_desktop_e2e.sh "$root/build/windows/src/win32/tarvik.exe" "$root/build/windows/tests/win32/tray-warmup.exe" \
  "$sim" "$root/build/windows/artifacts" "$linux_build/tests/gui/e2e/tarvik-e2e-clipboard" || status=1
done_at=$(date +%s)
echo "windows tests: build $((built - start)) s, wine prefix $((prefixed - built)) s, tests $((done_at - prefixed)) s"
exit $status
