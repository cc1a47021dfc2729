#!/usr/bin/env bash
# tarvik.exe with windows under Wine, end to end as a user meets it: a
# virtual X display with a window manager and a tray host, the router
# simulator on loopback, Tarvik dialled from its tray icon's menu, the
# connection seen in the tray and the window, the details window, the
# settings dialog tab by tab and the about box opened, the line dropped with
# the main window's 切断 button and the call seen in the usage window;
# dialled again and ended from the tray menu with a channel in use: the
# disconnect question, OK, and the program ends
# by itself once the router has dropped the line. Every window, both tray
# menus and the question are photographed into the artefact directory.
#
# usage: wine_desktop_e2e.sh TARVIK_EXE TRAY_WARMUP_EXE ROUTER_SIM ARTEFACT_DIR [CLIPBOARD_PROBE]
# CLIPBOARD_PROBE (the Linux desktop test's, tarvik-e2e-clipboard) prints
# the X clipboard: with it, a click on the B1 icon must copy the address.
# Makes a Wine prefix of its own for the run (about 15 s).
set -euo pipefail

exe=$1 warmup=$2 sim=$3 out=$4 probe=${5:-}
here=$(cd "$(dirname "$0")" && pwd)

for tool in wine wineserver Xvfb openbox trayer xdotool import xwininfo xprop; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/setup-debian.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
mkdir -p "$out"
rm -f "$out"/*.png
pids=()
own_prefix=""
cleanup() {
  local code=$?
  if [ $code -ne 0 ] && [ $code -ne 77 ]; then
    echo "--- visible windows (id width height x y class title)"; windows_all 2>/dev/null || true
    import -window root "$out/failure.png" 2>/dev/null || true
  fi
  if [ -n "${tarvik_pid:-}" ]; then kill "$tarvik_pid" 2>/dev/null || true; fi
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  if [ -n "$own_prefix" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$own_prefix"
  fi
  if [ $code -ne 0 ]; then
    echo "--- tarvik.exe output"; cat "$work/tarvik.log" 2>/dev/null || true
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
      fail "tarvik.exe ended while waiting for $what"
    fi
    sleep 0.2
  done
}

# --- a display of our own with a window manager and a tray host
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 30 "the X server" test -s "$work/display"
export DISPLAY=":$(head -n1 "$work/display")"
# Title bars with the title, minimise and close: narrow windows keep room
# for their whole title.
cat >"$work/openbox.xml" <<'XML'
<?xml version="1.0" encoding="UTF-8"?>
<openbox_config xmlns="http://openbox.org/3.4/rc">
  <theme><name>Clearlooks</name><titleLayout>LIC</titleLayout></theme>
</openbox_config>
XML
openbox --sm-disable --config-file "$work/openbox.xml" >"$work/wm.log" 2>&1 &
pids+=($!)
wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
wait_for 30 "the window manager" wm_running
# A tray host of fixed width: icons that are already docked keep their
# place when another one comes (Wine's docked icons do not follow a move).
trayer --edge top --align right --widthtype pixel --width 96 --height 24 --transparent false \
       --tint 0x808080 --SetDockType true >/dev/null 2>&1 &
pids+=($!)
tray_host() { xdotool search --class trayer; }
wait_for 30 "the tray host" tray_host

# --- Wine: a prefix (and so a Wine server) of our own. Wine's shell, with
# the notification area, belongs to the first display a server's programs
# used: with a server shared with tests on another display, the icons
# would go there.
export WINEDEBUG=-all WINEARCH=win64
own_prefix=$(mktemp -d /tmp/tarvik-wine.XXXXXX)
export WINEPREFIX=$own_prefix
wineserver -p
wineboot -i >/dev/null 2>&1
"$here/wine-japanese-fonts.sh"
# Wine's shell leaves the first icon of a new display blank and deaf in
# the tray host: that one is the warm-up program's.
wine "$warmup" >"$work/warmup.log" 2>&1

# --- the router
"$sim" --address 127.0.0.1 --port 0 --control-port 0 --connect-delay-ms 700 --seed 5 >"$work/sim.log" 2>&1 &
pids+=($!)
wait_for 30 "the simulator" grep -q '^ready' "$work/sim.log"
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

# --- Tarvik, with the channel icons on
cfg="$work/cfg"
mkdir -p "$cfg"
# The channel icons on, and the line dropped on quitting (with the question).
printf '[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=%s\r\n[OPTION]\r\nCHECK10=1\r\nCHECK15=1\r\nleft=60\r\ntop=80\r\n' \
  "$console_port" >"$cfg/Tarvik.ini"
winpath() { echo "Z:$1" | tr / '\\'; }
step "start tarvik.exe against the simulator on port $console_port"
wine "$exe" --config-dir "$(winpath "$cfg")" --poll-ms 400 >"$work/tarvik.log" 2>&1 &
tarvik_pid=$!

# A window's title as the window manager shows it (UTF-8).
window_title() { xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
# Visible windows: "id width height x y class title" per line.
windows_all() {
  local w
  for w in $( { xdotool search --onlyvisible --name '.*'; xdotool search --onlyvisible --class '.*'; } 2>/dev/null | sort -u); do
    eval "$(xdotool getwindowgeometry --shell "$w")" 2>/dev/null || continue
    local class
    class=$(xprop -id "$w" WM_CLASS 2>/dev/null | sed -n 's/.*= "\([^"]*\)".*/\1/p')
    echo "$w $WIDTH $HEIGHT $X $Y ${class:--} $(window_title "$w")"
  done
}
# Wine's notification area puts each icon into the tray host (on the top
# edge) as a small window of its shell (explorer.exe); its tips are windows
# of the shell too, further down.
tray_icons() { windows_all | awk '$6 == "explorer.exe" && $2 <= 32 && $3 <= 32 && $5 < 24 {print $1}'; }
icons() { [ "$(tray_icons | wc -l)" -eq "$1" ]; }
named_window() {
  windows_all | awk -v t="$1" '$6 == "tarvik.exe" { n = $7; for (i = 8; i <= NF; i++) n = n " " $i; if (n == t) print $1 }' |
    head -n1
}
main_window() { named_window Tarvik; }
has_main() { [ -n "$(main_window)" ]; }
shown() { [ -n "$(named_window "$1")" ]; }
gone() { [ -z "$(named_window "$1")" ]; }
# A pop-up menu: a window of Tarvik that bypasses the window manager.
popup_open() {
  local w
  for w in $(xdotool search --onlyvisible --class tarvik.exe 2>/dev/null); do
    xwininfo -id "$w" | grep -q 'Override Redirect State: yes' && return 0
  done
  return 1
}
no_popup() { ! popup_open; }
click() { xdotool mousemove --window "$1" "$2" "$3" click "$4"; }
photo() { import -frame -window "$1" "$2"; }
title_is() {
  local title
  title=$(window_title "$1")
  [ "$title" = "$2" ] || fail "the window's title is '$title', not '$2'"
}
# The client area's origin of a window, on the screen.
client_origin() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'; }
frame_origin() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {ax=$NF} /Absolute upper-left Y/ {ay=$NF}
    /Relative upper-left X/ {rx=$NF} /Relative upper-left Y/ {ry=$NF} END { print ax - rx, ay - ry }'
}

wait_for 60 "the main window" has_main
main=$(main_window)
title_is "$main" "Tarvik"
wait_for 40 "the program's tray icon" icons 1
soho=$(tray_icons | head -n1)
eval "$(xdotool getwindowgeometry --shell "$main")"
main_height=$HEIGHT
menu_bar=$((main_height - 109))  # the client area under the menu bar is 109 high
# The window manager's frame stands for the system's: a few pixels of
# border either way.
near() { local d=$(($1 - $2)); [ ${d#-} -le 4 ]; }
read -r fx fy <<<"$(frame_origin "$main")"
near "$fx" 60 && near "$fy" 80 || fail "the main window is at $fx $fy, not at left=60 top=80"
sleep 1.5  # the start-up exchange: version, destination list, status
photo "$main" "$out/01-main-idle.png"

# Keys reach a Win32 menu through the focus of the program's thread: the
# main window has the focus when a tray menu opens.
focus_main() { xdotool windowfocus --sync "$main" 2>/dev/null || true; }
step "dial from the tray icon's left-button menu (接続)"
focus_main
click "$soho" 10 10 1
wait_for 30 "the tray menu" popup_open
sleep 0.5
import -window root "$out/02-tray-left-menu.png"
xdotool key Down Return
wait_for 40 "the router to connect B1" router_says 'b1=connected:0:'
wait_for 40 "the B1 icon in the tray" icons 2
sleep 1.5
photo "$main" "$out/03-main-connected.png"
import -window root "$out/04-desktop-connected.png"

if [ -n "$probe" ] && [ -x "$probe" ]; then
  address=$(router_state | sed -n 's/.*b1=connected:0:\([0-9.]*\).*/\1/p')
  [ -n "$address" ] || fail "no address in: $(router_state)"
  b1_icon=$(tray_icons | grep -v "^$soho\$" | head -n1)
  step "a click on the B1 icon copies $address"
  click "$b1_icon" 10 10 3
  copied() { [ "$(QT_QPA_PLATFORM=xcb "$probe")" = "$address" ]; }
  wait_for 30 "the address on the clipboard" copied
fi

step "the tray icon's right-button menu"
focus_main
click "$soho" 10 10 3
wait_for 30 "the pop-up menu" popup_open
sleep 0.5
import -window root "$out/05-tray-right-menu.png"
xdotool key Escape
wait_for 30 "the pop-up menu to close" no_popup

step "the details window with the charges report"
focus_main
click "$main" 110 $((menu_bar + 78)) 1
wait_for 30 "the details window" shown 'Tarvik - 詳細'
details=$(named_window 'Tarvik - 詳細')
title_is "$details" 'Tarvik - 詳細'
eval "$(xdotool getwindowgeometry --shell "$details")"
click "$details" 45 $((HEIGHT - 37 + 20)) 1  # 課金情報, first on the button bar
sleep 2
photo "$details" "$out/06-details.png"

step "the settings dialog, tab by tab"
focus_main
click "$soho" 10 10 3
wait_for 30 "the pop-up menu" popup_open
sleep 0.5
# B1 切断, B2 切断, #0..#7, 次の8件, 設定
xdotool key Down Down Down Down Down Down Down Down Down Down Down Down Return
wait_for 30 "the settings dialog" shown 'Tarvik - 設定'
settings=$(named_window 'Tarvik - 設定')
title_is "$settings" 'Tarvik - 設定'
sleep 0.5
# A click on the first tab's header gives the tab control the focus; the
# arrow key then goes from tab to tab.
click "$settings" 25 14 1
sleep 0.5
for tab in 1 2 3 4 5 6 7 8; do
  photo "$settings" "$out/07-settings-tab$tab.png"
  xdotool key Right
  sleep 0.5
done
xdotool key Return  # OK: saves and hides
wait_for 30 "the settings dialog to close" gone 'Tarvik - 設定'
grep -q "PORT=$console_port" "$cfg/Tarvik.ini" || fail "the settings were not saved"

step "the about box from the main menu (その他 > ﾊﾞｰｼﾞｮﾝ情報)"
focus_main
click "$main" 90 $((menu_bar / 2)) 1
wait_for 30 "the その他 menu" popup_open
sleep 0.3
xdotool key Down Down Return
wait_for 30 "the about box" shown 'Tarvik - About'
about=$(named_window 'Tarvik - About')
title_is "$about" 'Tarvik - About'
sleep 0.5
photo "$about" "$out/08-about.png"
xdotool key Return
wait_for 30 "the about box to close" gone 'Tarvik - About'

step "disconnect with the main window's 切断 button"
focus_main
click "$main" 65 $((menu_bar + 78)) 1
wait_for 40 "the router to drop B1" router_says 'b1=idle'
wait_for 40 "the B1 icon to go" icons 1
sleep 1
photo "$main" "$out/09-main-disconnected.png"

step "the usage window from the main menu (その他 > 利用状況), with the call just made"
focus_main
click "$main" 90 $((menu_bar / 2)) 1
wait_for 30 "the その他 menu" popup_open
sleep 0.3
xdotool key Up Return  # the last item
wait_for 30 "the usage window" shown '利用状況'
usage=$(named_window '利用状況')
sleep 0.5
photo "$usage" "$out/09-usage.png"
xdotool windowfocus --sync "$usage" 2>/dev/null || true
xdotool key Escape
wait_for 30 "the usage window to go out of sight" gone '利用状況'

step "dial again, then quit from the tray menu (終了): the question, OK, the line dropped, the end"
focus_main
click "$soho" 10 10 1
wait_for 30 "the tray menu" popup_open
sleep 0.5
xdotool key Down Return
wait_for 40 "the router to connect B1 again" router_says 'b1=connected:0:'
wait_for 40 "the B1 icon in the tray" icons 2
focus_main
click "$soho" 10 10 3
wait_for 30 "the pop-up menu" popup_open
sleep 0.5
xdotool key Up Return
wait_for 30 "the question" shown '確認'
question=$(named_window '確認')
sleep 0.5
photo "$question" "$out/10-disconnect-question.png"
xdotool windowfocus --sync "$question" 2>/dev/null || true
xdotool key Return  # OK, the default button
wait_for 40 "the router to drop B1" router_says 'b1=idle'
deadline=$((SECONDS + 30))
while kill -0 "$tarvik_pid" 2>/dev/null; do
  [ $SECONDS -lt $deadline ] || fail "tarvik.exe did not end"
  sleep 0.2
done
status=0
wait "$tarvik_pid" || status=$?
tarvik_pid=""
[ "$status" -eq 0 ] || fail "tarvik.exe ended with status $status"
wait_for 30 "the windows and tray icons to go" test -z "$(windows_all | awk '$6 == "tarvik.exe" || ($6 == "explorer.exe" && $2 <= 64)')"
grep -q "^left=60" "$cfg/Tarvik.ini" || fail "the window position was not saved"

echo "PASS: screenshots in $out"
ls "$out"
