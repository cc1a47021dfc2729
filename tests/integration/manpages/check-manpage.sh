#!/usr/bin/env bash
# Checks that a manual page names everything a program's --help lists:
#   check-manpage.sh PROGRAM PAGE [LIST-HEADING...]
# The names taken from the help text are
#   - every option (--word),
#   - the first word of each entry of an indented block (the lines that
#     start with exactly two blanks: options, action words, commands,
#     faults), and of each alternative in it ("busy N | unbusy N"),
#   - each item of the comma-separated lists that follow a LIST-HEADING
#     ("Headless output kinds: status, b1, ...").
# The page is formatted as a reader sees it (groff, no hyphenation, long
# lines) and each name must stand in it as a whole word. Every missing name
# is reported; the exit status is 1 when one is missing or groff warns.
set -euo pipefail
program=$1
page=$2
shift 2

help=$("$program" --help)
warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$page" 2>&1)
if [ -n "$warnings" ]; then
  echo "$page: groff warns: $warnings"
  exit 1
fi
text=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -rLL=2000n -rHY=0 -P-cbou "$page" | tr -s ' \t' ' ')

names() {
  grep -oE -- '--[a-z][a-z0-9-]*' <<<"$help" || true
  # Entries of indented blocks: "  name ARG   text" and "  a N | b N   text".
  sed -nE 's/^  ([^ ].*)$/\1/p' <<<"$help" | sed -E 's/ {2,}.*//' |
    sed 's/ | /\n/g' | awk '{ print $1 }' | grep -E '^(--|-{0,2}[a-z][a-z0-9-]*)$' || true
  for heading in "$@"; do
    # From the heading to the first full stop of its paragraph.
    awk -v h="$heading:" '!on && index($0, h) { on = 1; $0 = substr($0, index($0, h) + length(h)) }
                           on && /^$/ { exit }
                           on { printf "%s ", $0 }' <<<"$help" |
      sed -E 's/\. .*//; s/\.? *$//' | tr ',' '\n' | sed -E 's/\([^)]*\)//; s/^ +//; s/ +$//'
  done
}

found=0
missing=0
while IFS= read -r name; do
  [ -n "$name" ] || continue
  found=$((found + 1))
  if ! [[ $text =~ (^|[^A-Za-z0-9_-])"$name"($|[^A-Za-z0-9_-]) ]]; then
    echo "$page: does not name \"$name\" (from $program --help)"
    missing=$((missing + 1))
  fi
done < <(names "$@" | sort -u)

if [ "$found" -eq 0 ]; then
  echo "no names found in $program --help"
  exit 1
fi
echo "$found names from $program --help, $missing missing from $page"
[ "$missing" -eq 0 ]
