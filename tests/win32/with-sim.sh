#!/bin/sh
# with-sim.sh SIMULATOR COMMAND...: starts the router simulator on loopback
# (console and control on free ports), runs COMMAND with
# TARVIK_SIM_CONSOLE_PORT and TARVIK_SIM_CONTROL_PORT set, stops the
# simulator and exits with COMMAND's status.
set -eu
sim="$1"
shift
out=$(mktemp)
"$sim" --port 0 --control-port 0 >"$out" 2>/dev/null &
simpid=$!
trap 'kill $simpid 2>/dev/null || true; wait $simpid 2>/dev/null || true; rm -f "$out"' EXIT
i=0
until grep -qx ready "$out"; do
  i=$((i + 1))
  if [ $i -gt 200 ] || ! kill -0 $simpid 2>/dev/null; then
    echo "with-sim.sh: the simulator did not start" >&2
    exit 1
  fi
  sleep 0.05
done
TARVIK_SIM_CONSOLE_PORT=$(awk '$1 == "listening" && $2 == "console" { print $4 }' "$out")
TARVIK_SIM_CONTROL_PORT=$(awk '$1 == "listening" && $2 == "control" { print $4 }' "$out")
export TARVIK_SIM_CONSOLE_PORT TARVIK_SIM_CONTROL_PORT
"$@"
