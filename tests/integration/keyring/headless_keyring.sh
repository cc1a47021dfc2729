#!/usr/bin/env bash
# tarvik --headless with the router password in the desktop's keyring
# ([SECRET] KEYRING=1, PASS empty in Tarvik.ini):
#   reachable    (run inside with-private-keyring.sh): the password comes
#                from the keyring and the program logs in to a simulator
#                that asks for it;
#   unreachable  (no session bus): the program says that the password is in
#                a keyring it cannot read, and ends with status 2.
# Usage: headless_keyring.sh reachable|unreachable TARVIK SIMULATOR STORE_TOOL
set -euo pipefail
mode=$1 tarvik=$2 sim=$3 store=$4
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/config"

mkfifo "$work/sim.out"
"$sim" --port 0 --password himitsu >"$work/sim.out" 2>"$work/sim.err" &
pids+=($!)
exec 3<"$work/sim.out"
port=
while read -r -t 20 line <&3; do
  case $line in
    "listening console "*) port=${line##* } ;;
    ready) break ;;
  esac
done
[ -n "$port" ] || { echo "the simulator did not start"; cat "$work/sim.err"; exit 1; }

printf '[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPASS=\r\nPORT=%s\r\n[SECRET]\r\nKEYRING=1\r\n' "$port" \
  >"$work/config/Tarvik.ini"

if [ "$mode" = unreachable ]; then
  rc=0
  env -u DISPLAY -u WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus \
    "$tarvik" --headless --config-dir "$work/config" >"$work/out.txt" 2>"$work/err.txt" || rc=$?
  if [ "$rc" -ne 2 ] || ! grep -q "kept in the desktop keyring" "$work/err.txt"; then
    echo "want exit 2 and the keyring message, got $rc:"
    cat "$work/err.txt"
    exit 1
  fi
  echo "unreachable keyring reported: $(cat "$work/err.txt")"
  exit 0
fi

"$store" "$work/config" himitsu
mkfifo "$work/tarvik.out"
"$tarvik" --headless --config-dir "$work/config" --poll-ms 500 >"$work/tarvik.out" 2>"$work/err.txt" &
pids+=($!)
exec 4<"$work/tarvik.out"
# The router's banner is only shown after a login with the right password.
while IFS= read -r -t 20 line <&4; do
  case $line in
    version$'\t'*"MN128-SOHO"*)
      echo "logged in with the password from the keyring: $line"
      exit 0
      ;;
  esac
done
echo "no login with the keyring's password"
cat "$work/err.txt"
exit 1
