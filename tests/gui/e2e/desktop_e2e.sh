#!/usr/bin/env bash
# The desktop program end to end, as a user meets it: Tarvik starts under a
# virtual X display with a tray host, talks to the router simulator on
# loopback, is dialled from the tray icon's menu, shows the connection,
# copies the address, opens its windows, disconnects and quits.
# Every window is photographed into the artefact directory.
#
# With a window manager the title bars are checked and photographed too,
# and a click on 接続先 must minimise every open window of the program.
# With a scale factor (1.5 for 150 %) the program runs as on a high-density
# screen; the tray icons are photographed and checked for their shape.
#
# usage: desktop_e2e.sh TARVIK ROUTER_SIM X11_PROBE ARTEFACT_DIR [WINDOW_MANAGER [SCALE]]
#        X11_PROBE: tarvik-e2e-probe (the clipboard, the tray host)
#        WINDOW_MANAGER: none (default) or openbox; SCALE: 1 (default), 1.5, 2
set -euo pipefail
# shellcheck source=../../support/e2e/e2elib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../support/e2e/e2elib.sh"

tarvik=$1 sim=$2 probe=$3 out=$4 wm=${5:-none} scale=${6:-1}

tools=(Xvfb trayer xdotool import xwininfo xprop)
[ "$wm" = none ] || tools+=("$wm")
for tool in "${tools[@]}"; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/setup-debian.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
e2e_work=$work e2e_class=tarvik
mkdir -p "$out"
rm -f "$out"/*.png
pids=()
cleanup() {
  local code=$?
  if [ $code -ne 0 ] && [ $code -ne 77 ]; then
    echo "--- windows of tarvik (id width height x y)"; windows 2>/dev/null || true
    # The screen as the failing step left it, for whoever reads the failure.
    { [ -n "${DISPLAY:-}" ] && import -window root "$out/failed.png" 2>/dev/null && echo "--- the screen: $out/failed.png"; } || true
  fi
  kill_started
  if [ $code -ne 0 ]; then
    echo "--- tarvik output"; cat "$work/tarvik.log" 2>/dev/null || true
    echo "--- simulator output"; cat "$work/sim.log" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# px N: N pixels of the program's layout in screen pixels at the scale.
scale100=$(awk -v s="$scale" 'BEGIN { printf "%d", s * 100 + 0.5 }')
px() { echo $((($1 * scale100 + 50) / 100)); }

# --- a display of our own, and a tray host on it
# A screen as much larger as the scale, so every window has the room it
# has at 100 %.
start_xvfb "$(px 1024)x$(px 768)x24" "$work" 10
export QT_QPA_PLATFORM=xcb
if [ "$scale" != 1 ]; then export QT_SCALE_FACTOR="$scale"; fi
export XDG_CONFIG_HOME="$work/xdg" XDG_RUNTIME_DIR="$work/run" HOME="$work/home"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
if [ "$wm" = openbox ]; then
  openbox --sm-disable >"$work/wm.log" 2>&1 &
  pids+=($!)
  wait_for 10 "the window manager" wm_running
fi
# The tray host asks for icons of its height: larger on a denser screen.
trayer --edge top --align right --widthtype request --height "$(px 24)" --transparent false \
       --tint 0x808080 --SetDockType true >/dev/null 2>&1 &
pids+=($!)
wait_for 10 "the tray host" tray_host
wait_for 10 "the tray host to take icons" "$probe" tray

# --- the router
start_router_sim "$sim" "$work/sim.log" 10 --connect-delay-ms 700 --seed 5

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
# Small, nearly square windows are tray icons (the tray host may give a
# slot a few pixels taller than wide).
tray_icons() {
  windows | awk -v max="$(px 64)" -v skew="$(px 4)" \
    '$2 <= max && $3 <= max && ($2 - $3 <= skew) && ($3 - $2 <= skew) {print $1}'
}
main_window() { xdotool search --onlyvisible --name '^Tarvik$' 2>/dev/null | while read -r w; do
  eval "$(xdotool getwindowgeometry --shell "$w")"; [ "$WIDTH" -eq "$(px 136)" ] && echo "$w"; done | head -n1; }
named_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }

# A window's frame (the window itself without a window manager): "x y width height".
frame_geometry() {
  xwininfo -frame -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}
# The screen less what docks keep for themselves, as the window manager
# announces it (the whole screen without one): "x y width height".
work_area() {
  local area
  area=$(xprop -root _NET_WORKAREA 2>/dev/null | sed -n 's/.*= *//p' | tr -d ',' | cut -d' ' -f1-4)
  if [ -n "$area" ]; then echo "$area"; else echo "0 0 $(xdotool getdisplaygeometry)"; fi
}
has_main() { [ -n "$(main_window)" ]; }
icons() { [ "$(tray_icons | wc -l)" -eq "$1" ]; }
shown() { [ -n "$(named_window "$1")" ]; }
gone() { [ -z "$(named_window "$1")" ]; }
# A pop-up menu is wider than a tray icon.
e2e_popup_min_width=$(px 64)

wait_for 20 "the main window" has_main
main=$(main_window)
wait_for 10 "the program's tray icon" icons 1
soho=$(tray_icons | head -n1)
eval "$(xdotool getwindowgeometry --shell "$main")"
main_height=$HEIGHT
menu_bar=$((main_height - $(px 109)))  # the client area under the menu bar is 109 high
# left/top place the window's frame.
export wm
[ "$(frame_origin "$main")" = "$(px 60) $(px 80)" ] ||
  fail "the main window is at $(frame_origin "$main"), not at left=60 top=80"
wait_for 10 "the start-up exchange (version, destination list, status)" router_ended_beyond 0
wait_for 10 "the clock's first tick (the strip by day or night)" strip_shown "$main"
# photo WINDOW FILE: the window, with its title bar when a window manager
# draws one.
photo() {
  if [ "$wm" = none ]; then import -window "$1" "$2"; else import -frame -window "$1" "$2"; fi
}
photo "$main" "$out/01-main-idle.png"
snap "$main" main
title_is "$main" "Tarvik"

step "dial from the tray icon's left-button menu (接続)"
click "$soho" 10 10 1
wait_for 5 "the tray menu" popup_painted
import -window root "$out/02-tray-left-menu.png"
xdotool key Down Return
wait_for 15 "the router to connect B1" router_says 'b1=connected:0:'
# The B1 icon shows from the dialling on, before the address is known: the
# click below copies the address only once Tarvik has seen the connection.
wait_for_fresh_look 15
address=$(router_state | sed -n 's/.*b1=connected:0:\([0-9.]*\).*/\1/p')
[ -n "$address" ] || fail "no address in: $(router_state)"
wait_for 10 "the B1 icon in the tray" icons 2
b1_icon=$(tray_icons | grep -v "^$soho\$" | head -n1)
wait_for 10 "the main window to show the connection" changed "$main" main
photo "$main" "$out/03-main-connected.png"
import -window root "$out/04-desktop-connected.png"
import -window "$soho" "$out/04-tray-icon.png"
import -window "$b1_icon" "$out/04-tray-b1.png"

step "a click on the B1 icon copies $address"
click "$b1_icon" 10 10 3
clipboard_holds() { [ "$("$probe" clipboard)" = "$1" ]; }
wait_for 10 "the address on the clipboard ($address)" clipboard_holds "$address"

step "the tray icon's right-button menu"
click "$soho" 10 10 3
wait_for 5 "the pop-up menu" popup_painted
import -window root "$out/05-tray-right-menu.png"
xdotool key Escape
wait_for 5 "the pop-up menu to close" no_popup

step "the details window with the charges report"
click "$main" "$(px 110)" $((menu_bar + $(px 78))) 1
wait_for 5 "the details window" shown 'Tarvik - 詳細'
details=$(named_window 'Tarvik - 詳細')
title_is "$details" 'Tarvik - 詳細'
eval "$(xdotool getwindowgeometry --shell "$details")"
wait_for 5 "the details window painted" painted "$details"
snap "$details" details
ended=$(router_ended)
click "$details" "$(px 45)" $((HEIGHT - $(px 37) + $(px 20))) 1  # 課金情報, first on the button bar
wait_for 10 "the router to answer for the charges report" router_ended_beyond "$ended"
wait_for 10 "the charges report in the details window" changed "$details" details
photo "$details" "$out/06-details.png"

step "the settings dialog, tab by tab"
click "$soho" 10 10 3
wait_for 5 "the pop-up menu" popup_painted
# B1 切断, B2 切断, #0..#7, 次の8件, 設定
xdotool key Down Down Down Down Down Down Down Down Down Down Down Down Return
wait_for 5 "the settings dialog" shown 'Tarvik - 設定'
settings=$(named_window 'Tarvik - 設定')
title_is "$settings" 'Tarvik - 設定'
xdotool windowfocus --sync "$settings" 2>/dev/null || true
wait_for 5 "the settings dialog painted" painted "$settings"
# The first opening shows the sound page (tab 2); Ctrl+Tab goes round.
snap "$settings" settings
for tab in 2 3 4 5 6 7 8 1; do
  photo "$settings" "$out/07-settings-tab$tab.png"
  xdotool key ctrl+Tab
  wait_for 5 "the tab after tab $tab" changed "$settings" settings
  resnap settings
done
if [ "$wm" != none ]; then
  step "接続先 minimises the whole program; 情報窓表示 brings it back"
  # WM_STATE as the window manager keeps it: Normal or Iconic.
  wm_state() { xprop -id "$1" WM_STATE | sed -n 's/^[[:space:]]*window state: //p'; }
  all_in() {
    local state=$1 w; shift
    for w in "$@"; do [ "$(wm_state "$w")" = "$state" ] || return 1; done
  }
  click "$main" "$(px 20)" $((menu_bar + $(px 9))) 1
  wait_for 5 "the main, details and settings windows to be minimised" all_in Iconic "$main" "$details" "$settings"
  import -window root "$out/07-desktop-minimised.png"
  click "$soho" 10 10 3
  wait_for 5 "the pop-up menu" popup_painted
  xdotool key Up Up Up Up Return  # 情報窓表示, above 利用状況, 時限切断 and 終了
  wait_for 5 "the windows to come back" all_in Normal "$main" "$details" "$settings"
  for w in "$main" "$details" "$settings"; do wait_for 5 "the windows painted again" painted "$w"; done
  import -window root "$out/07-desktop-restored.png"
  xdotool windowactivate --sync "$settings" 2>/dev/null || true
fi
click "$settings" "$(px $((352 + 37)))" "$(px $((302 + 12)))" 1  # OK: saves and hides
wait_for 5 "the settings dialog to close" gone 'Tarvik - 設定'
grep -q "PORT=$console_port" "$cfg/Tarvik.ini" || fail "the settings were not saved"

step "the about box from the main menu (その他 > ﾊﾞｰｼﾞｮﾝ情報)"
xdotool windowfocus --sync "$main" 2>/dev/null || true
click "$main" "$(px 120)" $((menu_bar / 2)) 1
wait_for 5 "the その他 menu" popup_open
xdotool key Down Down Return
wait_for 5 "the about box" shown 'Tarvik - About'
about=$(named_window 'Tarvik - About')
title_is "$about" 'Tarvik - About'
wait_for 5 "the about box painted" painted "$about"
photo "$about" "$out/08-about.png"
click "$about" "$(px $((121 + 37)))" "$(px $((152 + 12)))" 1
wait_for 5 "the about box to close" gone 'Tarvik - About'

step "disconnect with the main window's 切断 button"
snap "$main" main
click "$main" "$(px $((45 + 20)))" $((menu_bar + $(px 78))) 1
wait_for 15 "the router to drop B1" router_says 'b1=idle'
wait_for 10 "the B1 icon to go" icons 1
wait_for 10 "the main window to show the line free" changed "$main" main
photo "$main" "$out/09-main-disconnected.png"

step "a second start (co) dials through the running program and brings its window back"
if [ "$wm" != none ]; then
  xdotool windowminimize "$main"
  wait_for 5 "the main window to be minimised" all_in Iconic "$main"
fi
"$tarvik" --config-dir "$cfg" co >"$work/second.log" 2>&1 || fail "the second start ended with $?: $(cat "$work/second.log")"
wait_for 15 "the router to connect B1 again" router_says 'b1=connected:0:'
if [ "$wm" != none ]; then wait_for 5 "the main window to come back" all_in Normal "$main"; fi

step "the network drops a call: a long message is cut with an ellipsis and shown whole as the tooltip"
wait_for 10 "the B1 icon in the tray" icons 2
snap "$main" main
router_do hangup
wait_for 10 "the network to drop B1" router_says 'b1=idle'
wait_for 10 "the B1 icon to go" icons 1
wait_for 10 "the main window to show the network's message" changed "$main" main
xdotool mousemove --window "$main" "$(px 40)" $((menu_bar + $(px 101)))
wait_for 10 "the status line's tooltip" popup_painted
import -window root "$out/09-desktop-status-tooltip.png"
xdotool mousemove 0 "$(px 400)"

step "an incoming call from a listed number shows the caller's name"
snap "$main" main
router_do "ring 0312341234"
wait_for 10 "the router to ring" router_says 'ringing:0312341234'
wait_for 10 "the main window to show the caller" changed "$main" main
photo "$main" "$out/10-main-incoming-call.png"
router_do "stop-ring"
wait_for 10 "the ringing to stop" router_says 'b1=idle'
# A ringing line shows the B1 icon too; the tray host moves the program's
# icon when it goes, and a click meant for it must wait for that.
wait_for 10 "the B1 icon to go" icons 1

step "the usage window from the tray menu (利用状況): the call and the missed call"
wait_for 10 "the call in the journal" grep -q '^outgoing,.*,#0,' "$cfg/Tarvik-journal.csv"
wait_for 10 "the missed call in the journal" grep -q $'^incoming,.*,0312341234,,0,missed\r$' "$cfg/Tarvik-journal.csv"
click "$soho" 10 10 3
wait_for 5 "the pop-up menu" popup_painted
# From the bottom: 終了, 時限切断, 利用状況
xdotool key Up Up Up Return
wait_for 5 "the usage window" shown '利用状況'
usage=$(named_window '利用状況')
wait_for 5 "the usage window painted" painted "$usage"
photo "$usage" "$out/11-usage.png"
# Its frame lies inside the work area, its bottom edge in reach. Checked
# where the program's placing is what the user gets: a window manager
# places a new window by its own rules (openbox's may put it past the
# bottom edge whatever the program asked).
if [ "$wm" = none ]; then
  read -r fx fy fw fh <<<"$(frame_geometry "$usage")"
  read -r ax ay aw ah <<<"$(work_area)"
  [ "$fx" -ge "$ax" ] && [ "$fy" -ge "$ay" ] && [ $((fx + fw)) -le $((ax + aw)) ] && [ $((fy + fh)) -le $((ay + ah)) ] ||
    fail "the usage window's frame ${fw}x$fh at $fx,$fy is not inside the work area ${aw}x$ah at $ax,$ay"
fi
xdotool windowfocus --sync "$usage" 2>/dev/null || true
xdotool key Escape
wait_for 5 "the usage window to close" gone '利用状況'

step "quit from the tray menu (終了)"
# The closed usage window had the keyboard, and without a window manager
# nothing takes it back: the main window gets it first, as before the
# about box. In full-suite runs of a fresh build the first click after the
# usage window closed sometimes opened no menu (not yet understood; the
# screen then shows nothing in the way): a second click, as a user would
# give, after a menu that did not come.
xdotool windowfocus --sync "$main" 2>/dev/null || true
click "$soho" 10 10 3
deadline=$((SECONDS + 5))
until popup_painted >/dev/null 2>&1 || [ $SECONDS -ge $deadline ]; do sleep 0.1; done
if ! popup_painted >/dev/null 2>&1; then
  echo "note: no menu after the first click on the tray icon; clicking again"
  import -window root "$out/12-no-menu-after-usage.png" 2>/dev/null || true
  click "$soho" 10 10 3
fi
wait_for 5 "the pop-up menu" popup_painted
xdotool key Up Return
wait_for_exit 15 "$tarvik_pid" tarvik
wait "$tarvik_pid" || fail "tarvik ended with status $?"
[ -z "$(windows)" ] || fail "windows or tray icons are left behind"
grep -q "^left=60" "$cfg/Tarvik.ini" || fail "the window position was not saved"

echo "PASS: screenshots in $out"
ls "$out"
