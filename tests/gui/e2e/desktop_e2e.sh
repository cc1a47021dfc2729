#!/usr/bin/env bash
# The desktop program end to end, as a user meets it: Tarvik starts under a
# virtual X display with a tray host, talks to the router simulator on
# loopback, is dialled from the tray icon's menu, shows the connection,
# copies the address, opens its windows, disconnects and quits.
# Every window is photographed into the artefact directory.
#
# usage: desktop_e2e.sh TARVIK ROUTER_SIM CLIPBOARD_PROBE ARTEFACT_DIR
set -euo pipefail

tarvik=$1 sim=$2 probe=$3 out=$4

for tool in Xvfb trayer xdotool import xwininfo; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/setup-debian.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
mkdir -p "$out"
rm -f "$out"/*.png
pids=()
cleanup() {
  local code=$?
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  if [ $code -ne 0 ]; then
    echo "--- tarvik output"; cat "$work/tarvik.log" 2>/dev/null || true
    echo "--- simulator output"; cat "$work/sim.log" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; exit 1; }
step() { echo "== $*"; }

# wait_for TIMEOUT_SECONDS DESCRIPTION COMMAND...: polls until COMMAND succeeds.
wait_for() {
  local limit=$1 what=$2; shift 2
  local deadline=$((SECONDS + limit))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || fail "timed out waiting for $what"
    if [ -n "${tarvik_pid:-}" ] && ! kill -0 "$tarvik_pid" 2>/dev/null; then
      fail "tarvik ended while waiting for $what"
    fi
    sleep 0.1
  done
}

# --- a display of our own, and a tray host on it
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 10 "the X server" test -s "$work/display"
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb
export XDG_CONFIG_HOME="$work/xdg" XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
trayer --edge top --align right --widthtype request --height 24 --transparent false \
       --tint 0x808080 --SetDockType true >/dev/null 2>&1 &
pids+=($!)
tray_host() { xdotool search --class trayer; }
wait_for 10 "the tray host" tray_host
sleep 0.5

# --- the router
"$sim" --address 127.0.0.1 --port 0 --control-port 0 --connect-delay-ms 700 --seed 5 \
       >"$work/sim.log" 2>&1 &
pids+=($!)
wait_for 10 "the simulator" grep -q '^ready' "$work/sim.log"
console_port=$(awk '$1 == "listening" && $2 == "console" {print $4}' "$work/sim.log")
control_port=$(awk '$1 == "listening" && $2 == "control" {print $4}' "$work/sim.log")
router_state() {
  exec 5<>"/dev/tcp/127.0.0.1/$control_port"
  printf 'state\n' >&5
  local line
  read -r -t 5 line <&5
  exec 5<&- 5>&-
  printf '%s\n' "$line"
}
router_says() { router_state | grep -q -- "$1"; }
router_do() {
  exec 5<>"/dev/tcp/127.0.0.1/$control_port"
  printf '%s\n' "$1" >&5
  local line
  read -r -t 5 line <&5
  exec 5<&- 5>&-
  [ "${line%% *}" = OK ] || fail "the simulator refused '$1': $line"
}

# --- Tarvik, with the channel icons on
cfg="$work/cfg"
mkdir -p "$cfg"
printf '[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=%s\r\n[OPTION]\r\nCHECK10=1\r\nleft=60\r\ntop=80\r\n' \
  "$console_port" >"$cfg/Tarvik.ini"
printf '0312341234:事務所\r\n' | iconv -f UTF-8 -t CP932 >"$cfg/Tarvik.lst"
step "start tarvik against the simulator on port $console_port"
"$tarvik" --config-dir "$cfg" --poll-ms 400 >"$work/tarvik.log" 2>&1 &
tarvik_pid=$!
pids+=($tarvik_pid)

# Visible windows of Tarvik: "id width height x y" per line.
windows() {
  local w
  for w in $(xdotool search --onlyvisible --class tarvik 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")"
    echo "$w $WIDTH $HEIGHT $X $Y"
  done
}
# Small square windows are tray icons.
tray_icons() { windows | awk '$2 <= 64 && $2 == $3 {print $1}'; }
main_window() { xdotool search --onlyvisible --name '^Tarvik$' 2>/dev/null | while read -r w; do
  eval "$(xdotool getwindowgeometry --shell "$w")"; [ "$WIDTH" -eq 136 ] && echo "$w"; done | head -n1; }
named_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }

has_main() { [ -n "$(main_window)" ]; }
icons() { [ "$(tray_icons | wc -l)" -eq "$1" ]; }
shown() { [ -n "$(named_window "$1")" ]; }
gone() { [ -z "$(named_window "$1")" ]; }
# A pop-up menu: a window of Tarvik that bypasses the window manager and is
# wider than a tray icon.
popup_open() {
  local w
  for w in $(windows | awk '$2 > 64 {print $1}'); do
    xwininfo -id "$w" | grep -q 'Override Redirect State: yes' && return 0
  done
  return 1
}
no_popup() { ! popup_open; }

wait_for 20 "the main window" has_main
main=$(main_window)
wait_for 10 "the program's tray icon" icons 1
soho=$(tray_icons | head -n1)
eval "$(xdotool getwindowgeometry --shell "$main")"
main_height=$HEIGHT
menu_bar=$((main_height - 109))  # the client area under the menu bar is 109 high
[ "$(echo "$X $Y")" = "60 80" ] || fail "the main window is at $X,$Y, not at left=60 top=80"
sleep 1.5  # the start-up exchange: version, destination list, status
import -window "$main" "$out/01-main-idle.png"

# click WINDOW X Y BUTTON
click() { xdotool mousemove --window "$1" "$2" "$3" click "$4"; }

step "dial from the tray icon's left-button menu (接続)"
click "$soho" 10 10 1
wait_for 5 "the tray menu" popup_open
sleep 0.3
import -window root "$out/02-tray-left-menu.png"
xdotool key Down Return
wait_for 15 "the router to connect B1" router_says 'b1=connected:0:'
address=$(router_state | sed -n 's/.*b1=connected:0:\([0-9.]*\).*/\1/p')
[ -n "$address" ] || fail "no address in: $(router_state)"
wait_for 10 "the B1 icon in the tray" icons 2
b1_icon=$(tray_icons | grep -v "^$soho\$" | head -n1)
sleep 1
import -window "$main" "$out/03-main-connected.png"
import -window root "$out/04-desktop-connected.png"

step "a click on the B1 icon copies $address"
click "$b1_icon" 10 10 3
sleep 0.3
copied=$("$probe")
[ "$copied" = "$address" ] || fail "the clipboard holds '$copied', not '$address'"

step "the tray icon's right-button menu"
click "$soho" 10 10 3
wait_for 5 "the pop-up menu" popup_open
sleep 0.3
import -window root "$out/05-tray-right-menu.png"
xdotool key Escape
wait_for 5 "the pop-up menu to close" no_popup

step "the details window with the charges report"
click "$main" 110 $((menu_bar + 78)) 1
wait_for 5 "the details window" shown 'Tarvik - 詳細'
details=$(named_window 'Tarvik - 詳細')
eval "$(xdotool getwindowgeometry --shell "$details")"
click "$details" 45 $((HEIGHT - 37 + 20)) 1
sleep 1.5
import -window "$details" "$out/06-details.png"

step "the settings dialog, tab by tab"
click "$soho" 10 10 3
wait_for 5 "the pop-up menu" popup_open
sleep 0.3
# B1 切断, B2 切断, #0..#7, 次の8件, 設定
xdotool key Down Down Down Down Down Down Down Down Down Down Down Down Return
wait_for 5 "the settings dialog" shown 'Tarvik - 設定'
settings=$(named_window 'Tarvik - 設定')
xdotool windowfocus --sync "$settings" 2>/dev/null || true
sleep 0.3
# The first opening shows the sound page (tab 2); Ctrl+Tab goes round.
for tab in 2 3 4 5 6 1; do
  import -window "$settings" "$out/07-settings-tab$tab.png"
  xdotool key ctrl+Tab
  sleep 0.3
done
click "$settings" $((352 + 37)) $((302 + 12)) 1  # OK: saves and hides
wait_for 5 "the settings dialog to close" gone 'Tarvik - 設定'
grep -q "PORT=$console_port" "$cfg/Tarvik.ini" || fail "the settings were not saved"

step "the about box from the main menu (その他 > ﾊﾞｰｼﾞｮﾝ情報)"
xdotool windowfocus --sync "$main" 2>/dev/null || true
click "$main" 120 $((menu_bar / 2)) 1
wait_for 5 "the その他 menu" popup_open
xdotool key Down Down Return
wait_for 5 "the about box" shown 'Tarvik - About'
about=$(named_window 'Tarvik - About')
sleep 0.5
import -window "$about" "$out/08-about.png"
click "$about" $((121 + 37)) $((152 + 12)) 1
wait_for 5 "the about box to close" gone 'Tarvik - About'

step "disconnect with the main window's 切断 button"
click "$main" $((45 + 20)) $((menu_bar + 78)) 1
wait_for 15 "the router to drop B1" router_says 'b1=idle'
wait_for 10 "the B1 icon to go" icons 1
sleep 1
import -window "$main" "$out/09-main-disconnected.png"

step "an incoming call from a listed number shows the caller's name"
router_do "ring 0312341234"
wait_for 10 "the router to ring" router_says 'ringing:0312341234'
sleep 1.5
import -window "$main" "$out/10-main-incoming-call.png"
router_do "stop-ring"
wait_for 10 "the ringing to stop" router_says 'b1=idle'
sleep 1

step "quit from the tray menu (終了)"
click "$soho" 10 10 3
wait_for 5 "the pop-up menu" popup_open
sleep 0.3
xdotool key Up Return
deadline=$((SECONDS + 15))
while kill -0 "$tarvik_pid" 2>/dev/null; do
  [ $SECONDS -lt $deadline ] || fail "tarvik did not end"
  sleep 0.1
done
wait "$tarvik_pid" || fail "tarvik ended with status $?"
[ -z "$(windows)" ] || fail "windows or tray icons are left behind"
grep -q "^left=60" "$cfg/Tarvik.ini" || fail "the window position was not saved"

echo "PASS: screenshots in $out"
ls "$out"
