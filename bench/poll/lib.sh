# Shared by poll-bench.sh and soak.sh (sourced, under set -euo pipefail).

# Runs the calling script again in a private network namespace (unshare -rn,
# no root needed) with its own loopback. There the kernel's count of TCP
# connects is the number of polls made: counted from outside, with nothing
# between the program and the simulator.
enter_private_network() {
  if [ -z "${TARVIK_BENCH_NETNS:-}" ]; then
    exec unshare -rn env TARVIK_BENCH_NETNS=1 bash "$0" "$@"
  fi
  ip link set lo up
}

# TCP connects made in this namespace so far.
tcp_connects() {
  awk '$1 == "Tcp:" { if (!col) { for (i = 2; i <= NF; ++i) if ($i == "ActiveOpens") col = i } else print $col }' \
    /proc/net/snmp
}

# Sets build_dir (absolute), tarvik and sim, or ends the script when a
# binary is missing. More binaries to check (relative to the build) may follow.
use_build() {  # build-dir [more binaries]
  build_dir="$1"
  shift
  case "$build_dir" in /*) ;; *) build_dir="$PWD/$build_dir" ;; esac
  tarvik="$build_dir/src/app/tarvik"
  sim="$build_dir/tools/router-sim/tarvik-router-sim"
  local b
  for b in "$tarvik" "$sim" "${@/#/$build_dir/}"; do
    [ -x "$b" ] || { echo "missing $b: build the release preset first (scripts/build.sh release)" >&2; exit 1; }
  done
}

# Waits until FILE has a line matching the awk pattern; prints field N.
field_of() {  # file pattern field
  local v
  for _ in $(seq 100); do
    v="$(awk "$2 { print \$$3; exit }" "$1" 2>/dev/null)"
    if [ -n "$v" ]; then echo "$v"; return 0; fi
    sleep 0.1
  done
  echo "timed out waiting for $2 in $1" >&2
  return 1
}

# Starts the simulator on free loopback ports with the given options, and
# writes a Tarvik.ini in work pointing at it. Sets sim_pid, port and
# control_port.
start_simulator() {  # work [simulator options]
  local work="$1"
  shift
  "$sim" --port 0 --control-port 0 "$@" >"$work/sim.out" 2>"$work/sim.err" &
  sim_pid=$!
  port="$(field_of "$work/sim.out" '$2 == "console"' 4)"
  control_port="$(field_of "$work/sim.out" '$2 == "control"' 4)"
  printf '[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=%s\r\n' "$port" >"$work/Tarvik.ini"
}

# A session of its own for the measured program: its single-instance lock
# lives in this runtime directory, so a Tarvik the user runs does not keep
# it from starting (and it does not disturb that one).
private_session() {  # work
  export XDG_RUNTIME_DIR="$1/run"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
}
