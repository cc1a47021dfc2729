#!/usr/bin/env bash
# Starts the router simulator on a loopback port and Tarvik against it, with
# a throwaway config directory that points at the simulator. With a display
# (DISPLAY or WAYLAND_DISPLAY) Tarvik opens its window and tray icons;
# without one it runs headless and prints its event lines (KIND<TAB>TEXT).
#
#   scripts/demo.sh                     simulator + Tarvik
#   scripts/demo.sh --headless          simulator + Tarvik without windows
#   scripts/demo.sh --config-dir DIR    Tarvik with your own settings, no simulator
#
# Other arguments go to Tarvik (for example the action word "co" to dial the
# default destination once the router answers). Ctrl-C ends the demo.
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${TARVIK_BUILD_DIR:-build/debug}"
case "$bin" in /*) ;; *) bin="$PWD/$bin" ;; esac
tarvik="$bin/bin/tarvik"
sim="$bin/tools/router-sim/tarvik-router-sim"

mode=()
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  mode=(--headless)
fi
for arg in "$@"; do
  if [ "$arg" = --headless ]; then mode=(); fi
done

# Your own settings: no simulator, nothing thrown away.
for arg in "$@"; do
  case "$arg" in
    --config-dir | --config-dir=*) exec "$tarvik" "${mode[@]}" "$@" ;;
  esac
done

work="$(mktemp -d "${TMPDIR:-/tmp}/tarvik-demo.XXXXXX")"
sim_pid=""
tarvik_pid=""
cleanup() {
  trap - EXIT INT TERM
  if [ -n "$tarvik_pid" ]; then kill "$tarvik_pid" 2>/dev/null || true; wait "$tarvik_pid" 2>/dev/null || true; fi
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# The simulator picks free loopback ports and names them on its output.
"$sim" --port 0 --control-port 0 >"$work/sim.out" 2>"$work/sim.err" &
sim_pid=$!
for _ in $(seq 100); do
  grep -qx ready "$work/sim.out" 2>/dev/null && break
  kill -0 "$sim_pid" 2>/dev/null || { cat "$work/sim.err" >&2; exit 1; }
  sleep 0.1
done
port="$(awk '$1 == "listening" && $2 == "console" { print $4 }' "$work/sim.out")"
control="$(awk '$1 == "listening" && $2 == "control" { print $4 }' "$work/sim.out")"
[ -n "$port" ] || { echo "demo: the simulator did not start" >&2; exit 1; }

# Tarvik.ini, Tarvik.lst are Shift-JIS on disk; these lines are ASCII.
printf '[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=%s\r\n[OPTION]\r\nTIME=2\r\n' "$port" >"$work/Tarvik.ini"
printf '0312345678:Tarvik ISP\r\n0452223333:Office\r\n' >"$work/Tarvik.lst"

cat >&2 <<EOF
Router simulator: console on 127.0.0.1:$port, control on 127.0.0.1:$control.
Try, from another terminal (bash):
  exec 3<>/dev/tcp/127.0.0.1/$control; echo 'ring 0452223333' >&3; head -1 <&3
  (other control lines: stop-ring, hangup, busy N, fault refuse, nofault all, state)
Starting Tarvik${mode[*]:+ (${mode[*]})}; Ctrl-C ends the demo.
EOF

# Sounds and the connection log are looked up from the current directory.
(cd "$work" && exec "$tarvik" "${mode[@]}" --config-dir "$work" "$@") &
tarvik_pid=$!
wait "$tarvik_pid" || true
tarvik_pid=""
