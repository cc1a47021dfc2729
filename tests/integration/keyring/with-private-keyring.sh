#!/usr/bin/env bash
# Runs a command against a Secret Service of its own: a private D-Bus
# session bus (dbus-run-session) with gnome-keyring-daemon's secrets
# component, its keyring files in a fresh folder, never the user's.
# Exits 77 (skipped) with the reason when no such service can be started.
# Usage: with-private-keyring.sh COMMAND [ARG...]
set -euo pipefail
for tool in dbus-run-session gnome-keyring-daemon; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (Debian: dbus-daemon, gnome-keyring)"
    exit 77
  fi
done
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -m 700 "$home/runtime"
export HOME=$home XDG_DATA_HOME=$home/data XDG_CONFIG_HOME=$home/config XDG_CACHE_HOME=$home/cache \
  XDG_RUNTIME_DIR=$home/runtime
unset DISPLAY WAYLAND_DISPLAY
# Inside the private bus: start the keyring, unlocked with a throw-away
# password, then the command; the bus and the daemon end with it.
exec dbus-run-session -- bash -c '
  if ! printf "test" | gnome-keyring-daemon --unlock --components=secrets >"$HOME/daemon.env" 2>"$HOME/daemon.err"; then
    echo "SKIP: gnome-keyring-daemon did not start:"; cat "$HOME/daemon.err"; exit 77
  fi
  exec "$@"' with-private-keyring "$@"
