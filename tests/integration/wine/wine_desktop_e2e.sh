#!/usr/bin/env bash
# tarvik.exe with windows under Wine, end to end as a user meets it: a
# virtual X display with a window manager and a tray host, the router
# simulator on loopback.
#
# First at 150 % (LogPixels 144), on an empty settings folder: the
# first-run dialog comes up before anything is written, the address typed
# there is all Tarvik.ini then holds, the main window, its tray icon and
# menu come up at 150 %, the channel icons as the program draws them are
# shown in the tray host at 150 % (by the tray probe, as the line is not
# up), the tray host is restarted and the icons come back into the new one,
# and the program ends from its main menu.
#
# Then at 100 %: the shell made to forget the icons and to announce
# "TaskbarCreated", as a restarted Explorer does: the program's icon comes
# back, the hidden channel icons do not. Tarvik dialled from its tray
# icon's menu, the connection seen in the tray and the window, the details
# window, the settings dialog tab by tab and the about box opened, the line
# dropped with the main window's 切断 button and the call seen in the usage
# window; dialled again and ended from the tray menu with a channel in use:
# the disconnect question, OK, and the program ends by itself once the
# router has dropped the line. Every window, the tray and its menus and the
# question are photographed into the artefact directory.
#
# usage: wine_desktop_e2e.sh TARVIK_EXE TRAY_PROBE_EXE ROUTER_SIM ARTEFACT_DIR [X11_PROBE]
# TRAY_PROBE_EXE is tests/win32/tray-probe.exe. X11_PROBE (the Linux
# desktop test's, tarvik-e2e-probe) reads the X clipboard: with it, a click
# on the B1 icon must copy the address.
# Makes a Wine prefix of its own for the run (about 15 s).
set -euo pipefail
# shellcheck source=../../support/e2e/e2elib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../support/e2e/e2elib.sh"

exe=$1 trayprobe=$2 sim=$3 out=$4 probe=${5:-}
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
  if [ -n "${channel_icons:-}" ]; then kill "$channel_icons" 2>/dev/null || true; fi
  if [ -n "${trayer_pid:-}" ]; then kill "$trayer_pid" 2>/dev/null || true; fi
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
# of the shell too, further down, and so is its own tray window, which
# holds the icons while there is no tray host.
tray_icons() {
  local w WINDOW X Y WIDTH HEIGHT SCREEN
  for w in $(xdotool search --onlyvisible --classname '^explorer\.exe$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$w")" 2>/dev/null || continue
    if [ "$WIDTH" -le 48 ] && [ "$HEIGHT" -le 48 ] && [ "$Y" -lt 24 ]; then echo "$w"; fi
  done
}
icons() { [ "$(tray_icons | wc -l)" -eq "$1" ]; }
icons_painted() {
  local w
  for w in $(tray_icons); do painted "$w" || return 1; done
}
named_window() {
  windows_all | awk -v t="$1" '$6 == "tarvik.exe" { n = $7; for (i = 8; i <= NF; i++) n = n " " $i; if (n == t) print $1 }' |
    head -n1
}
main_window() { named_window Tarvik; }
has_main() { [ -n "$(main_window)" ]; }
shown() { [ -n "$(named_window "$1")" ]; }
gone() { [ -z "$(named_window "$1")" ]; }
photo() { import -frame -window "$1" "$2"; }
# Keys reach a Win32 menu through the focus of the program's thread: the
# main window has the focus when a tray menu opens.
focus_main() { xdotool windowfocus --sync "$main" 2>/dev/null || true; }
winpath() { echo "Z:$1" | tr / '\\'; }

# A tray host of fixed width: icons that are already docked keep their
# place when another one comes (Wine's docked icons do not follow a move).
# As high as a taskbar at the scale (percent): 24 pixels at 100 %.
trayer_pid="" tray_width=0 tray_height=0
start_tray_host() {
  tray_width=$((96 * $1 / 100)) tray_height=$((24 * $1 / 100))
  trayer --edge top --align right --widthtype pixel --width "$tray_width" --height "$tray_height" \
         --transparent false --tint 0x808080 --SetDockType true >/dev/null 2>&1 &
  trayer_pid=$!
  wait_for 30 "the tray host" tray_host
}
no_tray_host() { ! tray_host; }
stop_tray_host() {
  kill "$trayer_pid"
  wait "$trayer_pid" 2>/dev/null || true
  trayer_pid=""
  wait_for 30 "the tray host to go" no_tray_host
}
# The tray host with its icons (at the top right corner), photographed.
photo_tray() {
  local screen_width
  read -r screen_width _ <<<"$(xdotool getdisplaygeometry)"
  import -window root -crop "${tray_width}x${tray_height}+$((screen_width - tray_width))+0" +repage "$1"
}

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

# wine_scale DPI: Wine's system DPI (96 is 100 %, 144 is 150 %). Its shell
# reads it when it starts: the server, and the shell with it, start again.
wine_scale() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  wineserver -k
  wineserver -w
  wineserver -p
}
# Wine's shell leaves the first icon of a new display blank and deaf in
# the tray host: that one is the tray probe's, taken away once docked.
warm_up_tray() {
  wine "$trayprobe" warm-up >>"$work/probe.log" 2>&1 &
  local warm=$!
  wait_for 30 "the warm-up icon in the tray host" icons 1
  kill "$warm"
  wait "$warm" 2>/dev/null || true
  wait_for 30 "the warm-up icon to go" icons 0
}

# --- at 150 %, on an empty settings folder
wine_scale 144
start_tray_host 150
warm_up_tray
first="$work/first"
mkdir -p "$first"
step "start tarvik.exe at 150 % on an empty settings folder: the first-run dialog"
wine "$exe" --config-dir "$(winpath "$first")" >"$work/tarvik.log" 2>&1 &
tarvik_pid=$!
wait_for 60 "the first-run dialog" shown 'Tarvik - セットアップ'
setup=$(named_window 'Tarvik - セットアップ')
title_is "$setup" 'Tarvik - セットアップ'
wait_for 30 "the first-run dialog painted" painted "$setup"
[ ! -e "$first/Tarvik.ini" ] || fail "Tarvik.ini was written before the first-run dialog was answered"
photo "$setup" "$out/00-first-run-150.png"
# The whole field chosen, so what is typed replaces the address shown.
xdotool windowfocus --sync "$setup" 2>/dev/null || true
xdotool key End shift+Home
xdotool type --delay 20 127.0.0.1
xdotool key Return
wait_for 30 "the first-run dialog to close" gone 'Tarvik - セットアップ'
wait_for 30 "the address in Tarvik.ini" grep -q '^SOHOIP=' "$first/Tarvik.ini"
[ "$(cat "$first/Tarvik.ini")" = $'[Tarvik]\r\nSOHOIP=127.0.0.1\r' ] ||
  fail "Tarvik.ini after the first-run dialog holds: $(od -c "$first/Tarvik.ini")"

step "the main window and the program's tray icon at 150 %"
wait_for 60 "the main window" has_main
main=$(main_window)
wait_for 30 "the main window painted" painted "$main"
eval "$(xdotool getwindowgeometry --shell "$main")"
main_width_150=$WIDTH main_height_150=$HEIGHT
photo "$main" "$out/00-first-run-main-150.png"
wait_for 40 "the program's tray icon" icons 1
soho=$(tray_icons)
# A blank icon shows the tray host's grey alone.
wait_for 30 "the program's tray icon drawn" painted "$soho"

focus_main
click "$soho" 10 10 3
wait_for 30 "the tray icon's pop-up menu" popup_painted
import -window root "$out/00-tray-menu-150.png"
xdotool key Escape
wait_for 30 "the pop-up menu to close" no_popup

step "the channel icons as the program draws them, in the tray host at 150 %"
wine "$trayprobe" channel-icons >"$work/channel-icons.log" 2>>"$work/probe.log" &
channel_icons=$!
wait_for 30 "the channel icons in the tray host" icons 3
[ "$(cat "$work/channel-icons.log")" = "side 24" ] ||
  fail "the channel icons at 150 % are drawn at $(cat "$work/channel-icons.log"), not side 24"
wait_for 30 "the tray icons drawn" icons_painted
for icon in $(tray_icons); do
  [ "$icon" = "$soho" ] && continue
  # Navy face, white label, yellow bar.
  found=$(import -window "$icon" png:- | convert - -unique-colors txt:-)
  for colour in 000080 FFFFFF FFFF00; do
    grep -qi "#$colour\b" <<<"$found" || fail "a channel icon in the tray host at 150 % has no #$colour"
  done
done
photo_tray "$out/00-tray-150.png"

# Wine's shell keeps its icons when the tray host goes, in a tray window of
# its own, and docks them into the next host by itself: the programs are
# not asked (no "TaskbarCreated"). Icons docked again that way may stay
# deaf to clicks, so the program is then ended from its main window.
step "the tray host restarted at 150 %: the icons come back into the new one"
stop_tray_host
wait_for 30 "the icons to leave the tray host" icons 0
start_tray_host 150
wait_for 30 "the icons in the new tray host" icons 3
wait_for 30 "the icons drawn in the new tray host" icons_painted
photo_tray "$out/00-tray-host-restarted-150.png"
kill "$channel_icons"
wait "$channel_icons" 2>/dev/null || true
channel_icons=""
wait_for 30 "the channel icons to go" icons 1

step "end the program from its main menu at 150 % (接続 > 終了)"
focus_main
# The menu bar is what lies above the 109 (at 150 %: 163) pixels of client area.
click "$main" 20 $(((main_height_150 - 163) / 2)) 1
wait_for 30 "the 接続 menu" popup_painted
import -window root "$out/00-main-menu-150.png"
xdotool key Up Return
wait_for_exit 30 "$tarvik_pid" tarvik.exe
status=0
wait "$tarvik_pid" || status=$?
tarvik_pid=""
[ "$status" -eq 0 ] || fail "tarvik.exe ended with status $status"
grep -q $'^SOHOIP=127.0.0.1\r$' "$first/Tarvik.ini" || fail "the address typed at the first start was not kept"

# --- at 100 %
stop_tray_host
wine_scale 96
start_tray_host 100
warm_up_tray

# --- the router
start_router_sim "$sim" "$work/sim.log" 30 --connect-delay-ms 700 --seed 5

# --- Tarvik, with the channel icons on
cfg="$work/cfg"
mkdir -p "$cfg"
# The channel icons on, and the line dropped on quitting (with the question).
printf '[Tarvik]\r\nSOHOIP=127.0.0.1\r\nPORT=%s\r\n[OPTION]\r\nCHECK10=1\r\nCHECK15=1\r\nleft=60\r\ntop=80\r\n' \
  "$console_port" >"$cfg/Tarvik.ini"
step "start tarvik.exe against the simulator on port $console_port"
wine "$exe" --config-dir "$(winpath "$cfg")" --poll-ms 400 >"$work/tarvik.log" 2>&1 &
tarvik_pid=$!

wait_for 60 "the main window" has_main
main=$(main_window)
title_is "$main" "Tarvik"
wait_for 40 "the program's tray icon" icons 1
soho=$(tray_icons | head -n1)
eval "$(xdotool getwindowgeometry --shell "$main")"
main_height=$HEIGHT
# The main window at 150 % was half as large again, to a pixel or two of
# rounding.
for pair in "$WIDTH $main_width_150" "$HEIGHT $main_height_150"; do
  read -r at100 at150 <<<"$pair"
  d=$((at150 - at100 * 3 / 2))
  [ ${d#-} -le 2 ] || fail "the main window is ${WIDTH}x$HEIGHT at 100 % and ${main_width_150}x$main_height_150 at 150 %"
done
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

# Wine's shell keeps its icons when the tray host goes (see below), and
# announces no new taskbar. A restarted Explorer knows no icons and says
# "TaskbarCreated": the probe makes the shell forget the icons of Tarvik's
# three tray windows, then says it. With the line free no tip changes, so
# nothing but that message brings the program's icon back.
step "the shell restarted: the icons forgotten, then TaskbarCreated"
forgot=$(wine "$trayprobe" forget 2>>"$work/probe.log")
[ "$forgot" = "forgot 1 of 3" ] || fail "the shell had '$forgot' (the program's icon alone of three tray windows)"
wait_for 30 "the icon to leave the tray host" icons 0
known=$(wine "$trayprobe" taskbar-created 2>>"$work/probe.log")
[ "$known" = "known 1 of 3" ] || fail "after TaskbarCreated the shell has '$known' (the program's icon again, not B1's or B2's)"
wait_for 30 "the program's icon back in the tray host" icons 1
soho=$(tray_icons)
wait_for 30 "the program's icon drawn again" painted "$soho"
photo_tray "$out/01-tray-after-taskbar-created.png"

step "dial from the tray icon's left-button menu (接続)"
focus_main
click "$soho" 10 10 1
wait_for 30 "the tray menu" popup_painted
import -window root "$out/02-tray-left-menu.png"
xdotool key Down Return
wait_for 40 "the router to connect B1" router_says 'b1=connected:0:'
# The B1 icon shows from the dialling on, before the address is known: the
# click below copies the address only once Tarvik has seen the connection.
wait_for_fresh_look 40
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
