#!/usr/bin/env bash
# `tarvik --print-settings` on grown Tarvik.ini files: one of about 13 MB
# (a section the program does not know, with long values, and long command
# lines in every [AP] section) and one of a million keys. Prints the wall
# time and the peak resident memory of each run.
#
#   bench/settings/print-settings-size.sh [BUILD_DIR]   (default build/release)
#
# Goal: the file is read once, so time and memory grow with the file's size
# alone (a few seconds and a few times the file's size at most), not with
# the number of [AP] sections times the size.
set -euo pipefail
cd "$(dirname "$0")/../.."
build_dir="${1:-build/release}"
tarvik="$build_dir/bin/tarvik"
[ -x "$tarvik" ] || { echo "no $tarvik: build it first" >&2; exit 1; }

work="$(mktemp -d "${TMPDIR:-/tmp}/tarvik-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

grow() {  # grow DIR KEYS VALUE_BYTES
  mkdir -p "$1"
  awk -v keys="$2" -v bytes="$3" 'BEGIN {
    printf "[Tarvik]\r\nSOHOIP=127.0.0.1\r\n"
    value = sprintf("%" bytes "s", ""); gsub(/ /, "x", value)
    for (n = 0; n <= 16; n++) {
      printf "[AP%d]\r\n", n
      for (k = 1; k <= 7; k++) printf "%d=C:\\Tools\\%s.exe $IP\r\n", k, substr(value, 1, 900)
    }
    printf "[Mine]\r\n"
    for (i = 0; i < keys; i++) printf "key%d=%s\r\n", i, value
  }' >"$1/Tarvik.ini"
}

measure() {  # measure NAME DIR
  local size
  size=$(stat -c %s "$2/Tarvik.ini")
  /usr/bin/time -f "%e %U %M" -o "$work/time" "$tarvik" --print-settings --config-dir "$2" >/dev/null
  read -r seconds cpu kilobytes <"$work/time"
  printf '%-14s %6.1f MB  %6.2f s (%.2f s CPU)  %7.1f MB resident\n' "$1" \
    "$(echo "$size / 1048576" | bc -l)" "$seconds" "$cpu" "$(echo "$kilobytes / 1024" | bc -l)"
}

grow "$work/big" 130000 100
grow "$work/keys" 1000000 1
measure "13 MB file" "$work/big"
measure "million keys" "$work/keys"
