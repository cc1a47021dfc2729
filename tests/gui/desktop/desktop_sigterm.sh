#!/usr/bin/env bash
# SIGTERM ends the real desktop program as the end of the desktop session
# does: the window state and the display indexes reach Tarvik.ini, nothing
# is asked, the program exits with 0 and its single-instance lock is free.
# Usage: desktop_sigterm.sh TARVIK_DESKTOP
set -euo pipefail
desktop=$1
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/config" "$work/runtime" "$work/home"
chmod 700 "$work/runtime"
# Nothing listens on the discard port of loopback: the router stays out of
# reach and no channel is in use. The disconnect question is switched on;
# without a channel in use it would not be asked anyway.
printf '[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=9\r\n\r\n[OPTION]\r\nCHECK15=1\r\n' >"$work/config/Tarvik.ini"

HOME=$work/home XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen \
  "$desktop" --config-dir "$work/config" >"$work/out.txt" 2>&1 &
pid=$!

# Ready once the program has taken SIGTERM into its own hands (its bit in
# the caught-signal mask of /proc); until then the default action would kill it.
caught() {
  local mask
  mask=$(awk '/^SigCgt:/ {print $2}' "/proc/$pid/status" 2>/dev/null) || return 1
  [ -n "$mask" ] && (( (16#$mask >> 14) & 1 ))
}
for _ in $(seq 1 600); do
  caught && break
  kill -0 "$pid" 2>/dev/null || { echo "the desktop program ended early:"; cat "$work/out.txt"; exit 1; }
  sleep 0.05
done
caught || { echo "the desktop program never caught SIGTERM"; exit 1; }

# The lock, as every file the program makes, is for its owner only.
lock=$(find "$work/config" "$work/runtime" -name '*.lock' -print -quit)
if [ -z "$lock" ] || [ "$(stat -c %a "$lock")" != 600 ]; then
  echo "lock file not owner-only: ${lock:-none} $( [ -n "$lock" ] && stat -c %a "$lock")"
  exit 1
fi

kill -TERM "$pid"
rc=0
wait "$pid" || rc=$?
pid=
if [ "$rc" -ne 0 ]; then
  echo "exit status $rc after SIGTERM (want 0):"
  cat "$work/out.txt"
  exit 1
fi

fail=0
ini=$(tr -d '\r' <"$work/config/Tarvik.ini")
for key in left top left2 top2 Width2 Height2 B1 B2; do
  if ! grep -q "^$key=-\?[0-9]\+$" <<<"$ini"; then
    echo "Tarvik.ini lacks $key after SIGTERM"
    fail=1
  fi
done
# The lock file may stay; what matters is that nobody holds it any more.
for held in $(find "$work/config" "$work/runtime" -name '*.lock' -print); do
  if ! flock -n "$held" true; then
    echo "lock still held: $held"
    fail=1
  fi
done
if [ "$fail" -ne 0 ]; then
  echo "--- Tarvik.ini"
  echo "$ini"
  exit 1
fi
echo "SIGTERM: window state saved, exit 0, lock released"
