# The shell end-to-end tests' common part, sourced by them (bash, set -eu):
# failing and steps, waiting for an event with a deadline, the programs
# started for a run and their end, a display of the run's own, the router
# simulator and its control port, and questions to the X display about
# windows: where, what title, painted, changed.
#
# A script sets, where it applies:
#   pids            the processes it started (an array), ended by kill_started
#   tarvik_pid      the program under test: a wait fails at once when it ends
#   e2e_class       the program's window class (tarvik, tarvik.exe)
#   e2e_work        a scratch folder for the snapshots compared by changed
# shellcheck shell=bash

fail() { echo "FAIL: $*"; exit 1; }
step() { echo "== $*"; }

# wait_for TIMEOUT_SECONDS DESCRIPTION COMMAND...: polls until COMMAND
# succeeds; fails at the deadline, or as soon as the program under test
# has ended.
wait_for() {
  local limit=$1 what=$2
  shift 2
  local deadline=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || fail "timed out waiting for $what"
    if [ -n "${tarvik_pid:-}" ] && ! kill -0 "$tarvik_pid" 2>/dev/null; then
      fail "the program under test ended while waiting for $what"
    fi
    sleep 0.1
  done
}

# wait_for_exit TIMEOUT_SECONDS PID DESCRIPTION: waits until the process
# has ended.
wait_for_exit() {
  local limit=$1 pid=$2 what=$3
  local deadline=$((SECONDS + limit))
  while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || fail "$what did not end"
    sleep 0.1
  done
}

# Ends every process in pids and waits for each.
kill_started() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
}

# start_xvfb GEOMETRY LOG_DIR TIMEOUT: an X display of the run's own
# (WIDTHxHEIGHTxDEPTH), as DISPLAY.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$2/display" 2>"$2/xvfb.log" &
  pids+=($!)
  wait_for "$3" "the X server" test -s "$2/display"
  DISPLAY=":$(head -n1 "$2/display")"
  export DISPLAY
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
tray_host() { xdotool search --class trayer; }

# start_router_sim SIM LOG TIMEOUT [OPTIONS...]: the router simulator on
# free loopback ports; sets console_port and control_port.
start_router_sim() {
  local sim=$1 log=$2 limit=$3
  shift 3
  "$sim" --address 127.0.0.1 --port 0 --control-port 0 "$@" >"$log" 2>&1 &
  pids+=($!)
  wait_for "$limit" "the simulator" grep -q '^ready' "$log"
  console_port=$(awk '$1 == "listening" && $2 == "console" {print $4}' "$log")
  control_port=$(awk '$1 == "listening" && $2 == "control" {print $4}' "$log")
}

# router_control REQUEST: the simulator's one-line answer.
router_control() {
  exec 5<>"/dev/tcp/127.0.0.1/$control_port"
  printf '%s\n' "$1" >&5
  local line
  read -r -t 5 line <&5
  exec 5<&- 5>&-
  printf '%s\n' "$line"
}
router_state() { router_control state; }
router_says() { router_state | grep -q -- "$1"; }
router_do() {
  local line
  line=$(router_control "$1")
  [ "${line%% *}" = OK ] || fail "the simulator refused '$1': $line"
}
# Console sessions the router has seen to their end (whole exchanges).
router_ended() { router_state | sed -n 's/.* ended=\([0-9]*\).*/\1/p'; }
router_ended_beyond() { [ "$(router_ended)" -gt "$1" ]; }
# wait_for_fresh_look TIMEOUT: waits until the program has read a status the
# router gave after this moment. The exchange under way now may have asked
# before a change the test just saw at the router; the one after it asks
# later, and the program opens an exchange only once it has read the last
# one, so a third session begun means the second has been read and shown.
wait_for_fresh_look() {
  local now
  now=$(router_ended)
  wait_for "$1" "the program to read a status taken after session $now" router_ended_beyond $((now + 2))
}

# A window's title as the window manager shows it (UTF-8).
window_title() { xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
# title_is WINDOW TEXT: the window's title is exactly the caption.
title_is() {
  local title
  title=$(window_title "$1")
  [ "$title" = "$2" ] || fail "the window's title is '$title', not '$2'"
}
# frame_origin WINDOW: where its frame is ("X Y"): with a window manager
# the title bar lies above the client area.
frame_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {ax=$NF} /Absolute upper-left Y/ {ay=$NF}
    /Relative upper-left X/ {rx=$NF} /Relative upper-left Y/ {ry=$NF}
    END { if (ENVIRON["wm"] == "none") print ax, ay; else print ax - rx, ay - ry }'
}
# click WINDOW X Y BUTTON
click() { xdotool mousemove --window "$1" "$2" "$3" click "$4"; }

# The program's open pop-up (menu or tip): a window of e2e_class that
# bypasses the window manager, wider than e2e_popup_min_width (tray icons
# are such windows too on some hosts).
popup_window() {
  local w
  for w in $(xdotool search --onlyvisible --class "$e2e_class" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    [ "$WIDTH" -gt "${e2e_popup_min_width:-0}" ] || continue
    xwininfo -id "$w" | grep -q 'Override Redirect State: yes' && echo "$w" && return 0
  done
  return 1
}
popup_open() { popup_window >/dev/null; }
no_popup() { ! popup_open; }

# colours WINDOW: how many colours its picture holds. A window drawn by its
# program holds text and edges: far more than the one or two of a window
# not painted yet.
colours() { import -window "$1" png:- 2>/dev/null | identify -format '%k' - 2>/dev/null; }
painted() { [ "$(colours "$1")" -gt 8 ]; }
# The open pop-up, painted: ready for keys and a photograph.
popup_painted() {
  local w
  w=$(popup_window) && painted "$w"
}

# snap WINDOW NAME: keeps the window's picture; changed WINDOW NAME: the
# picture differs from it now (something new was drawn); resnap NAME: the
# picture changed found becomes the one kept.
snap() { import -window "$1" "$e2e_work/snap-$2.png"; }
changed() {
  import -window "$1" "$e2e_work/now-$2.png" 2>/dev/null || return 1
  ! compare -metric AE "$e2e_work/snap-$2.png" "$e2e_work/now-$2.png" null: 2>/dev/null
}
resnap() { mv "$e2e_work/now-$1.png" "$e2e_work/snap-$1.png"; }

# has_colour WINDOW RRGGBB...: the window's picture holds one of the
# colours somewhere (a strip, a mark the program paints in it).
has_colour() {
  local w=$1 found
  shift
  found=$(import -window "$w" png:- 2>/dev/null | convert - -unique-colors txt:- 2>/dev/null) || return 1
  local c
  for c in "$@"; do grep -qi "#$c\b" <<<"$found" && return 0; done
  return 1
}
# The main window's strip under the destination, blue by day and green
# by night: there once the program's clock has first ticked.
strip_shown() { has_colour "$1" 0000FF 008000; }
