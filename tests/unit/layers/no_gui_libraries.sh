#!/usr/bin/env bash
# `tarvik` (everything without windows) loads no Qt, X11, xcb, GL, EGL or
# font library: none is among its NEEDED entries. Nor libsecret and GLib:
# they come with the keyring module, loaded only when the password is kept
# in the keyring.
#
#   no_gui_libraries.sh PROGRAM
set -euo pipefail
program=$1
needed=$(readelf -d "$program" | awk '/\(NEEDED\)/ { gsub(/[][]/, "", $NF); print $NF }')
[ -n "$needed" ] || { echo "no NEEDED entries read from $program"; exit 1; }
if bad=$(grep -E '^lib(Qt|X|xcb|GL|EGL|OpenGL|fontconfig|freetype|secret|glib|gio|gobject)' <<<"$needed"); then
  echo "$program needs:"
  echo "$bad"
  exit 1
fi
echo "$program needs only: $(tr '\n' ' ' <<<"$needed")"
