#!/usr/bin/env bash
# Starts the router simulator on a loopback port and Tarvik against it,
# with a throwaway config directory that points at the simulator.
set -euo pipefail
cd "$(dirname "$0")/.."
bin=build/debug
port="${TARVIK_DEMO_PORT:-2323}"
"$bin/tools/router-sim/tarvik-router-sim" --port "$port" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
echo "Router simulator on 127.0.0.1:$port. Watch it with: telnet 127.0.0.1 $port"
wait $sim
