#!/usr/bin/env bash
# Makes the default sound set (resources/wav/*.wav): short, soft cues, one
# for each sound the settings name by default. Synthesised with sox, so the
# set is our own; run it again after changing a cue and commit the files.
#   usage: scripts/make-sounds.sh [output folder]
set -euo pipefail
out=${1:-"$(dirname "$0")/../resources/wav"}
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rate=22050
# note SECONDS FREQUENCY...: a soft bell-like tone (sine with its octave,
# quick attack, gentle decay); several frequencies sound together.
note() {
  local seconds=$1; shift
  local parts=() f
  for f in "$@"; do parts+=(sine "$f"); done
  local file
  file=$(mktemp -p "$work" XXXXXX.wav)
  sox -D -n -r $rate -c 1 -b 16 "$file" synth "$seconds" "${parts[@]}" remix - gain -8 \
    fade q 0.008 "$seconds" "$(awk "BEGIN{print $seconds*0.7}")"
  echo "$file"
}
rest() {
  local file
  file=$(mktemp -p "$work" XXXXXX.wav)
  sox -D -n -r $rate -c 1 -b 16 "$file" trim 0 "$1"
  echo "$file"
}
# cue NAME PARTS...: joins the parts, levels them and writes NAME.wav.
cue() {
  local name=$1; shift
  sox -D "$@" "$out/$name.wav" gain -n -4
}

# Dialling: two notes stepping up, a call going out.
cue 接続 "$(note 0.13 659)" "$(note 0.2 880)"
# Connected: a bright rising arpeggio.
cue 完了 "$(note 0.09 523)" "$(note 0.09 659)" "$(note 0.09 784)" "$(note 0.32 1047)"
# Disconnected: the arpeggio falling back.
cue 切断 "$(note 0.1 784)" "$(note 0.1 659)" "$(note 0.34 523)"
# Busy: two low, short double tones.
cue 話中 "$(note 0.16 480 620)" "$(rest 0.1)" "$(note 0.16 480 620)"
# Warning: three quick high notes.
cue 警告 "$(note 0.08 1175)" "$(rest 0.05)" "$(note 0.08 1175)" "$(rest 0.05)" "$(note 0.2 1175)"
# Incoming call: a two-tone chime, twice.
cue 着信 "$(note 0.11 1319)" "$(note 0.11 1047)" "$(rest 0.08)" "$(note 0.11 1319)" "$(note 0.26 1047)"
