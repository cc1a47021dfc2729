#!/usr/bin/env bash
# Poll cycles of `tarvik.exe --headless` under Wine beside `tarvik
# --headless`, against the router simulator on loopback, for the record:
# CPU time per poll of each (for tarvik.exe, its Wine process and the
# wineserver it talks to) and resident memory.
#
#   bench/poll/wine-poll-bench.sh [LINUX_BUILD_DIR] [WINDOWS_BUILD_DIR]
#       (default build/release and build/windows)
#   POLLS=500 POLL_MS=20 bench/poll/wine-poll-bench.sh
#
# Runs in a private network namespace (lib.sh), where the count of TCP
# connects is the number of polls; with its own Wine prefix.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
enter_private_network "$@"
cd "$(dirname "$0")/../.."
polls="${POLLS:-500}"
poll_ms="${POLL_MS:-20}"
warmup="${WARMUP:-20}"
use_build "${1:-build/release}"
windows_build="${2:-build/windows}"
case "$windows_build" in /*) ;; *) windows_build="$PWD/$windows_build" ;; esac
# The console entry: the bench ends it with Ctrl-C.
exe="$windows_build/src/win32/tarvik.com"
[ -f "$exe" ] || { echo "missing $exe: cmake --preset windows && cmake --build --preset windows" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/tarvik-wine-bench.XXXXXX")"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEARCH=win64
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wineserver -k 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# One Wine server for the run, so its share of each poll can be measured.
mkdir -p "$WINEPREFIX"
wineserver -p
wineboot -i >/dev/null 2>&1

start_simulator "$work" --seed 1
pids+=("$sim_pid")
wait_count() {  # target pid
  while [ "$(tcp_connects)" -lt "$1" ]; do
    kill -0 "$2" 2>/dev/null || { echo "the program ended early:" >&2; cat "$work/err" >&2; exit 1; }
    sleep 0.05
  done
}
# 0 for a process that is not there (no wineserver while the Linux program runs).
runtime_ns() { { cat /proc/"$1"/task/*/schedstat 2>/dev/null || true; } | awk '{ s += $1 } END { printf "%.0f\n", s }'; }
status_kb() { awk -v k="$2:" '$1 == k { print $2 }' "/proc/$1/status"; }
server_pid() { pgrep -n -x "wineserver(64)?" || echo 0; }

measure() {  # name command...
  local name="$1"
  shift
  (cd "$work" && exec "$@" --headless --config-dir "$work" --poll-ms "$poll_ms") >"$work/events" 2>"$work/err" &
  local pid=$!
  pids+=("$pid")
  wait_count $(($(tcp_connects) + warmup)) "$pid"
  local server c0 n0 s0 r0 c1 n1 s1 r1 hwm
  server="$(server_pid)"
  c0="$(tcp_connects)"; n0="$(runtime_ns "$pid")"; s0="$(runtime_ns "$server")"; r0="$(status_kb "$pid" VmRSS)"
  wait_count $((c0 + polls)) "$pid"
  c1="$(tcp_connects)"; n1="$(runtime_ns "$pid")"; s1="$(runtime_ns "$server")"; r1="$(status_kb "$pid" VmRSS)"
  hwm="$(status_kb "$pid" VmHWM)"
  kill -INT "$pid"
  wait "$pid" || true
  awk -v name="$name" -v polls="$((c1 - c0))" -v dn="$((n1 - n0))" -v ds="$((s1 - s0))" -v r0="$r0" -v r1="$r1" \
      -v hwm="$hwm" 'BEGIN {
    printf "%-22s %8.1f %14.1f      %5.1f %5.1f %5.1f\n", name, dn / 1e3 / polls, ds / 1e3 / polls,
           r0 / 1024, r1 / 1024, hwm / 1024
  }'
}

echo "poll interval $poll_ms ms, $polls polls per program"
echo "program                us/poll  wineserver us/poll  RSS start/end/peak MB"
measure "tarvik (Linux)" "$tarvik"
measure "tarvik.exe (Wine)" wine "$exe"
