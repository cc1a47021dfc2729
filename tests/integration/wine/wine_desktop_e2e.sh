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
# usage: wine_desktop_e2e.sh TARVIK_EXE TRAY_WARMUP_EXE ROUTER_SIM ARTEFACT_DIR [X11_PROBE]
# X11_PROBE (the Linux desktop test's, tarvik-e2e-probe) reads the X
# clipboard: with it, a click on the B1 icon must copy the address.
# Makes a Wine prefix of its own for the run (about 15 s).
set -euo pipefail
# shellcheck source=../../support/e2e/e2elib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../support/e2e/e2elib.sh"

exe=$1 warmup=$2 sim=$3 out=$4 probe=${5:-}
here=$(cd "$(dirname "$0")" && pwd)

for tool in wine wineserver Xvfb openbox trayer xdotool import xwininfo xprop; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/setup-debian.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
e2e_work=$work e2e_class=tarvik.exe wm=openbox
export wm
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
  kill_started
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

# --- a display of our own with a window manager and a tray host
start_xvfb 1024x768x24 "$work" 30
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
wait_for 30 "the window manager" wm_running
# A tray host of fixed width: icons that are already docked keep their
# place when another one comes (Wine's docked icons do not follow a move).
trayer --edge top --align right --widthtype pixel --width 96 --height 24 --transparent false \
       --tint 0x808080 --SetDockType true >/dev/null 2>&1 &
pids+=($!)
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
start_router_sim "$sim" "$work/sim.log" 30 --connect-delay-ms 700 --seed 5

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
photo() { import -frame -window "$1" "$2"; }

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
wait_for 30 "the start-up exchange (version, destination list, status)" router_ended_beyond 0
wait_for 30 "the clock's first tick (the strip by day or night)" strip_shown "$main"
photo "$main" "$out/01-main-idle.png"
snap "$main" main

# Keys reach a Win32 menu through the focus of the program's thread: the
# main window has the focus when a tray menu opens.
focus_main() { xdotool windowfocus --sync "$main" 2>/dev/null || true; }
step "dial from the tray icon's left-button menu (接続)"
focus_main
click "$soho" 10 10 1
wait_for 30 "the tray menu" popup_painted
import -window root "$out/02-tray-left-menu.png"
xdotool key Down Return
wait_for 40 "the router to connect B1" router_says 'b1=connected:0:'
wait_for 40 "the B1 icon in the tray" icons 2
wait_for 30 "the main window to show the connection" changed "$main" main
photo "$main" "$out/03-main-connected.png"
import -window root "$out/04-desktop-connected.png"

if [ -n "$probe" ] && [ -x "$probe" ]; then
  address=$(router_state | sed -n 's/.*b1=connected:0:\([0-9.]*\).*/\1/p')
  [ -n "$address" ] || fail "no address in: $(router_state)"
  b1_icon=$(tray_icons | grep -v "^$soho\$" | head -n1)
  step "a click on the B1 icon copies $address"
  click "$b1_icon" 10 10 3
  copied() { [ "$(QT_QPA_PLATFORM=xcb "$probe" clipboard)" = "$address" ]; }
  wait_for 30 "the address on the clipboard" copied
fi

step "the tray icon's right-button menu"
focus_main
click "$soho" 10 10 3
wait_for 30 "the pop-up menu" popup_painted
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
wait_for 30 "the details window painted" painted "$details"
snap "$details" details
ended=$(router_ended)
click "$details" 45 $((HEIGHT - 37 + 20)) 1  # 課金情報, first on the button bar
wait_for 30 "the router to answer for the charges report" router_ended_beyond "$ended"
wait_for 30 "the charges report in the details window" changed "$details" details
photo "$details" "$out/06-details.png"

step "the settings dialog, tab by tab"
focus_main
click "$soho" 10 10 3
wait_for 30 "the pop-up menu" popup_painted
# B1 切断, B2 切断, #0..#7, 次の8件, 設定
xdotool key Down Down Down Down Down Down Down Down Down Down Down Down Return
wait_for 30 "the settings dialog" shown 'Tarvik - 設定'
settings=$(named_window 'Tarvik - 設定')
title_is "$settings" 'Tarvik - 設定'
wait_for 30 "the settings dialog painted" painted "$settings"
# A click on the first tab's header gives the tab control the focus; the
# arrow key then goes from tab to tab.
snap "$settings" settings
click "$settings" 25 14 1
wait_for 30 "the first tab chosen" changed "$settings" settings
resnap settings
for tab in 1 2 3 4 5 6 7 8; do
  photo "$settings" "$out/07-settings-tab$tab.png"
  xdotool key Right
  # From the last tab the arrow goes nowhere.
  if [ $tab -lt 8 ]; then
    wait_for 30 "the tab after tab $tab" changed "$settings" settings
    resnap settings
  fi
done
xdotool key Return  # OK: saves and hides
wait_for 30 "the settings dialog to close" gone 'Tarvik - 設定'
grep -q "PORT=$console_port" "$cfg/Tarvik.ini" || fail "the settings were not saved"

step "the about box from the main menu (その他 > ﾊﾞｰｼﾞｮﾝ情報)"
focus_main
click "$main" 90 $((menu_bar / 2)) 1
wait_for 30 "the その他 menu" popup_painted
xdotool key Down Down Return
wait_for 30 "the about box" shown 'Tarvik - About'
about=$(named_window 'Tarvik - About')
title_is "$about" 'Tarvik - About'
wait_for 30 "the about box painted" painted "$about"
photo "$about" "$out/08-about.png"
xdotool key Return
wait_for 30 "the about box to close" gone 'Tarvik - About'

step "disconnect with the main window's 切断 button"
focus_main
snap "$main" main
click "$main" 65 $((menu_bar + 78)) 1
wait_for 40 "the router to drop B1" router_says 'b1=idle'
wait_for 40 "the B1 icon to go" icons 1
wait_for 30 "the main window to show the line free" changed "$main" main
photo "$main" "$out/09-main-disconnected.png"

step "the usage window from the main menu (その他 > 利用状況), with the call just made"
focus_main
click "$main" 90 $((menu_bar / 2)) 1
wait_for 30 "the その他 menu" popup_painted
xdotool key Up Return  # the last item
wait_for 30 "the usage window" shown '利用状況'
usage=$(named_window '利用状況')
title_is "$usage" '利用状況'
wait_for 30 "the usage window painted" painted "$usage"
photo "$usage" "$out/09-usage.png"
xdotool windowfocus --sync "$usage" 2>/dev/null || true
xdotool key Escape
wait_for 30 "the usage window to go out of sight" gone '利用状況'

step "dial again, then quit from the tray menu (終了): the question, OK, the line dropped, the end"
focus_main
click "$soho" 10 10 1
wait_for 30 "the tray menu" popup_painted
xdotool key Down Return
wait_for 40 "the router to connect B1 again" router_says 'b1=connected:0:'
wait_for 40 "the B1 icon in the tray" icons 2
focus_main
click "$soho" 10 10 3
wait_for 30 "the pop-up menu" popup_painted
xdotool key Up Return
wait_for 30 "the question" shown '確認'
question=$(named_window '確認')
wait_for 30 "the question painted" painted "$question"
photo "$question" "$out/10-disconnect-question.png"
xdotool windowfocus --sync "$question" 2>/dev/null || true
xdotool key Return  # OK, the default button
wait_for 40 "the router to drop B1" router_says 'b1=idle'
wait_for_exit 30 "$tarvik_pid" tarvik.exe
status=0
wait "$tarvik_pid" || status=$?
tarvik_pid=""
[ "$status" -eq 0 ] || fail "tarvik.exe ended with status $status"
wait_for 30 "the windows and tray icons to go" test -z "$(windows_all | awk '$6 == "tarvik.exe" || ($6 == "explorer.exe" && $2 <= 64)')"
grep -q "^left=60" "$cfg/Tarvik.ini" || fail "the window position was not saved"

echo "PASS: screenshots in $out"
ls "$out"
