#!/usr/bin/env bash
# Whole poll cycles of `tarvik --headless` against the router simulator on
# loopback (tick, connect, batch, answer, parse, display), side by side with
# a minimal C poller that does only the exchange: the floor that loopback TCP
# sets.
#
#   bench/poll/poll-bench.sh [BUILD_DIR]      (default build/release)
#   POLLS=2000 POLL_MS=10 ROUNDS=3 bench/poll/poll-bench.sh
#
# The run happens in a private network namespace, where the kernel's count
# of TCP connects is the number of polls (lib.sh). Each round runs the floor
# and then the program for POLLS polls each at the same interval; the
# medians of the rounds are reported (CPU time is noisy on a shared machine). CPU time comes
# from the per-thread run time in /proc/PID/task/*/schedstat (nanoseconds)
# and, coarser, from utime + stime in /proc/PID/stat (clock ticks).
# Goals: CPU per poll within 1.3 times the floor's, resident memory under
# 6 MB and flat over the run.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
enter_private_network "$@"
cd "$(dirname "$0")/../.."
polls="${POLLS:-2000}"
poll_ms="${POLL_MS:-10}"
rounds="${ROUNDS:-3}"
warmup="${WARMUP:-50}"
use_build "${1:-build/release}" bench/poll/tarvik-minipoller
minipoller="$build_dir/bench/poll/tarvik-minipoller"

work="$(mktemp -d "${TMPDIR:-/tmp}/tarvik-bench.XXXXXX")"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

start_simulator "$work" --seed 1
private_session "$work"
pids+=("$sim_pid")
count() { tcp_connects; }  # only the pollers connect during a measurement
wait_count() {  # target pid
  while [ "$(count)" -lt "$1" ]; do
    kill -0 "$2" 2>/dev/null || { echo "tarvik ended early:" >&2; cat "$work/tarvik.err" >&2; exit 1; }
    sleep 0.05
  done
}
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
runtime_ns() { cat /proc/"$1"/task/*/schedstat | awk '{ s += $1 } END { print s }'; }
status_kb() { awk -v k="$2:" '$1 == k { print $2 }' "/proc/$1/status"; }
fds() { ls "/proc/$1/fd" | wc -l; }
hz="$(getconf CLK_TCK)"

results="$work/results"
: >"$results"
for round in $(seq "$rounds"); do
  floor_line="$("$minipoller" "$port" "$polls" "$poll_ms")"
  floor_us="$(awk '{ for (i = 1; i < NF; ++i) if ($i == "cpu_us_per_poll") print $(i + 1) }' <<<"$floor_line")"

  base="$(count)"
  (cd "$work" && exec "$tarvik" --headless --config-dir "$work" --poll-ms "$poll_ms") \
    >"$work/events" 2>"$work/tarvik.err" &
  pid=$!
  pids+=("$pid")
  wait_count $((base + warmup)) "$pid"
  c0="$(count)"; t0="$(ticks "$pid")"; n0="$(runtime_ns "$pid")"
  r0="$(status_kb "$pid" VmRSS)"; f0="$(fds "$pid")"; s0="$(date +%s%N)"
  wait_count $((c0 + polls)) "$pid"
  c1="$(count)"; t1="$(ticks "$pid")"; n1="$(runtime_ns "$pid")"
  r1="$(status_kb "$pid" VmRSS)"; f1="$(fds "$pid")"; s1="$(date +%s%N)"
  hwm="$(status_kb "$pid" VmHWM)"
  kill -TERM "$pid"
  wait "$pid" || true

  awk -v round="$round" -v polls="$((c1 - c0))" -v dt="$((t1 - t0))" -v hz="$hz" -v dn="$((n1 - n0))" \
      -v floor="$floor_us" -v r0="$r0" -v r1="$r1" -v hwm="$hwm" -v f0="$f0" -v f1="$f1" \
      -v wall_ns="$((s1 - s0))" 'BEGIN {
    sched = dn / 1e3 / polls
    printf "%d %.1f %.1f %.1f %.2f %d %d %d %d %d %.2f\n", round, floor, sched, dt * 1e6 / hz / polls,
           sched / floor, r0, r1, hwm, f0, f1, wall_ns / 1e6 / polls
  }' >>"$results"
done

echo "poll interval $poll_ms ms, $polls polls per run, $rounds rounds"
echo "round  floor us/poll  tarvik us/poll (schedstat, stat)  ratio  RSS start/end/peak MB  fds start/end  ms/poll"
awk '{ printf "%5d  %13.1f  %14.1f %8.1f            %5.2f  %5.1f %5.1f %5.1f       %3d %3d        %5.2f\n",
       $1, $2, $3, $4, $5, $6 / 1024, $7 / 1024, $8 / 1024, $9, $10, $11 }' "$results"
sort -n -k5 "$results" | awk -v n="$rounds" 'NR == int((n + 1) / 2) {
  printf "median ratio %.2f (floor %.1f us, tarvik %.1f us per poll): goal <= 1.30 %s\n", $5, $2, $3, $5 <= 1.3 ? "met" : "NOT met"
}'
awk '{ if ($8 > peak) peak = $8; grow = $7 - $6; if (grow > maxgrow) maxgrow = grow }
     END { printf "peak resident memory %.1f MB: goal < 6 MB %s; largest growth within a run %d kB\n",
           peak / 1024, peak < 6144 ? "met" : "NOT met", maxgrow }' "$results"
