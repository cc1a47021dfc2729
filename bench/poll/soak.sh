#!/usr/bin/env bash
# Soak run of `tarvik --headless` against the router simulator: at least
# POLLS polls at POLL_MS, while every fault mode of the simulator is switched
# on and off in turn through its control port. Checks that the process never
# dies, never stops polling for longer than the 30 s exchange time-out (plus
# SLACK_S for the one-second watchdog and the sampling), and that its
# resident memory and open descriptors stay flat.
#
#   bench/poll/soak.sh [BUILD_DIR]            (default build/release)
#   POLLS=20000 POLL_MS=50 FAULT_ON_S=20 FAULT_OFF_S=10 bench/poll/soak.sh
#
# Runs in a private network namespace, where the kernel's count of TCP
# connects, less our own control connections, is the number of polls
# (lib.sh). A sample per second goes to soak.csv in the working directory,
# kept at the end: time, polls, RSS kB, descriptors, fault.
set -euo pipefail
source "$(dirname "$0")/lib.sh"
enter_private_network "$@"
cd "$(dirname "$0")/../.."
polls="${POLLS:-20000}"
poll_ms="${POLL_MS:-50}"
fault_on="${FAULT_ON_S:-20}"
fault_off="${FAULT_OFF_S:-10}"
timeout_s=30
slack_s="${SLACK_S:-3}"
faults=(refuse hang silent split drip iac nul garbage cut slow)
use_build "${1:-build/release}"

work="$(mktemp -d "${TMPDIR:-/tmp}/tarvik-soak.XXXXXX")"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

# Faster drip and slow answers than the defaults, so that a faulty exchange
# still mostly ends before the time-out and the run keeps moving.
start_simulator "$work" --seed 3 --drip-ms 2 --slow-ms 1000
private_session "$work"
pids+=("$sim_pid")

controls=0  # our own connects to the control port, not polls
control() {
  local reply
  controls=$((controls + 1))
  exec 3<>"/dev/tcp/127.0.0.1/$control_port"
  printf '%s\n' "$1" >&3
  read -r reply <&3 || true
  exec 3>&-
  [ "${reply%% *}" = OK ] || echo "control '$1' answered '$reply'" >&2
}

(cd "$work" && exec "$tarvik" --headless --config-dir "$work" --poll-ms "$poll_ms") \
  >"$work/events" 2>"$work/tarvik.err" &
pid=$!
pids+=("$pid")

echo "soak: $polls polls at $poll_ms ms, faults ${faults[*]} each on ${fault_on}s / off ${fault_off}s; files in $work"
csv="$work/soak.csv"
echo "seconds,polls,rss_kb,fds,fault" >"$csv"
start="$(date +%s)"
last_count=0
last_change="$start"
max_gap=0
max_gap_at=""
died=""
fault_index=0
phase=off
phase_end=$((start + fault_off))
current=-
while :; do
  now="$(date +%s)"
  if ! kill -0 "$pid" 2>/dev/null; then died="at $((now - start)) s"; break; fi
  c=$(($(tcp_connects) - controls))
  if [ "$c" -ne "$last_count" ]; then
    last_count="$c"
    last_change="$now"
  fi
  gap=$((now - last_change))
  if [ "$gap" -gt "$max_gap" ]; then max_gap="$gap"; max_gap_at="$((now - start)) s ($current)"; fi
  rss="$(awk '$1 == "VmRSS:" { print $2 }' "/proc/$pid/status")"
  fds="$(ls "/proc/$pid/fd" | wc -l)"
  echo "$((now - start)),$c,$rss,$fds,$current" >>"$csv"
  [ "$c" -ge "$polls" ] && [ "$phase" = off ] && break
  if [ "$now" -ge "$phase_end" ]; then
    if [ "$phase" = off ]; then
      current="${faults[$fault_index]}"
      control "fault $current"
      phase=on
      phase_end=$((now + fault_on))
    else
      control "nofault $current"
      current=-
      fault_index=$(((fault_index + 1) % ${#faults[@]}))
      phase=off
      phase_end=$((now + fault_off))
    fi
  fi
  sleep 1
done

code=""
if [ -z "$died" ]; then
  kill -TERM "$pid"
  wait "$pid" && code=0 || code=$?
fi
elapsed=$(($(date +%s) - start))
last_line="$(tail -n 1 "$work/events" 2>/dev/null || true)"

# Memory and descriptors: from the first sample after a minute (start-up
# done, every fault met once or more) to the end.
awk -F, -v warm=60 'NR > 1 && $1 >= warm {
  if (!n++) { r0 = $3; f0 = $4; rmin = $3; rmax = $3; fmax = $4 }
  if ($3 < rmin) rmin = $3; if ($3 > rmax) rmax = $3; if ($4 > fmax) fmax = $4
  r1 = $3; f1 = $4
} END {
  printf "resident memory %.1f MB after warm-up, %.1f MB at the end (min %.1f, max %.1f)\n", r0 / 1024, r1 / 1024, rmin / 1024, rmax / 1024
  printf "open descriptors %d after warm-up, %d at the end (max %d)\n", f0, f1, fmax
}' "$csv"
echo "polls $last_count in $elapsed s; longest stretch without a poll ${max_gap} s at ${max_gap_at:-start}"
if [ -n "$died" ]; then
  echo "FAILED: tarvik died $died"; tail -n 20 "$work/tarvik.err"; exit 1
fi
echo "tarvik ended with code $code on SIGTERM; last line: $last_line"
if [ "$max_gap" -gt $((timeout_s + slack_s)) ]; then
  echo "FAILED: polling stopped for ${max_gap} s (time-out ${timeout_s} s + ${slack_s} s)"; exit 1
fi
[ "$code" = 0 ] && [ "$last_line" = quit ] || { echo "FAILED: unclean end"; exit 1; }
echo "soak passed"
