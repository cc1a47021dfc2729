#!/usr/bin/env bash
# The Windows installer under Wine, as a user meets it: installed silently
# (/S) for the user alone, tarvik.exe started from where it was installed
# (its version, and the settings beside it read), then removed with the
# uninstaller: the program, its files, its Start-menu entry and its
# uninstall entry are gone, and the user's settings and logs in the
# program's folder are kept as they were. The installer carries both
# programs: on this 64-bit Windows it must install the 64-bit one. A second
# silent install with /AUTOSTART also starts Tarvik at logon (the Run key),
# which the first leaves off and the uninstaller takes away.
#
# usage: wine_installer_test.sh INSTALLER VERSION
# Runs in $WINEPREFIX when set (scripts/test-windows.sh makes one per run),
# else in a prefix of its own.
set -euo pipefail
# shellcheck source=../../support/e2e/e2elib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../support/e2e/e2elib.sh"

installer=$1 version=$2

for tool in wine wineserver winepath; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (scripts/setup-debian.sh installs it)"
    exit 77
  fi
done

export WINEDEBUG=-all WINEARCH=win64
own_prefix=""
cleanup() {
  if [ -n "$own_prefix" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$own_prefix"
  fi
}
trap cleanup EXIT
if [ -z "${WINEPREFIX:-}" ]; then
  own_prefix=$(mktemp -d /tmp/tarvik-wine.XXXXXX)
  export WINEPREFIX=$own_prefix
  wineboot -i >/dev/null 2>&1
fi

# The machine a PE file is built for: i386 or x86_64.
pe_machine() {
  local pe machine
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ')
  case $machine in 014c) echo i386 ;; 8664) echo x86_64 ;; *) echo "unknown ($machine)" ;; esac
}

windows_dir() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"; }
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tarvik'
registered() { wine reg query "$uninstall_key" /v InstallLocation; }
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
starts_at_logon() { wine reg query "$run_key" /v Tarvik 2>/dev/null | tr -d '\r' | grep -i 'Programs\\Tarvik\\tarvik.exe'; }

dir="$(windows_dir LOCALAPPDATA)/Programs/Tarvik"
menu="$(windows_dir APPDATA)/Microsoft/Windows/Start Menu/Programs/Tarvik"
[ ! -e "$dir" ] || fail "$dir is there before the installation"

step "install silently"
wine "$installer" /S
program_files=(tarvik.exe tarvik.com Tarvik.bmp manual/manual.html LICENSE.txt uninstall.exe)
for f in "${program_files[@]}"; do
  [ -f "$dir/$f" ] || fail "the installer did not put $f into $dir"
done
for f in tarvik.exe tarvik.com; do
  [ "$(pe_machine "$dir/$f")" = x86_64 ] || fail "64-bit Windows got the $(pe_machine "$dir/$f") $f"
done
sounds=("$dir"/wav/*.wav)
[ -f "${sounds[0]}" ] || fail "the installer did not put the default sounds into $dir/wav"
[ -f "$menu/Tarvik.lnk" ] || fail "no Start-menu entry in $menu"
registered | grep -qi 'Programs\\Tarvik' || fail "no uninstall entry pointing at the installation"
! starts_at_logon >/dev/null || fail "a silent install without /AUTOSTART made Tarvik start at logon"

step "start tarvik.exe from where it was installed"
out=$(cd "$dir" && wine ./tarvik.exe --version | tr -d '\r')
[ "$out" = "tarvik $version" ] || fail "tarvik.exe --version printed \"$out\", not \"tarvik $version\""
# The user's settings in the program's folder, as an earlier version kept
# them: the installed program reads them from there.
printf '[Tarvik]\r\nSOHOIP=192.0.2.7\r\n' >"$dir/Tarvik.ini"
printf '0312345678,Tarvik ISP\r\n' >"$dir/Tarvik.lst"
printf 'a connection log line\r\n' >"$dir/Tarvik.log"
settings=$(cd / && wine "$dir/tarvik.exe" --print-settings | tr -d '\r')
grep -qx 'SOHOIP=192.0.2.7' <<<"$settings" || fail "tarvik.exe did not read the Tarvik.ini beside it:
$settings"
kept=$(cd "$dir" && md5sum Tarvik.ini Tarvik.lst Tarvik.log)

step "uninstall silently"
# The uninstaller runs from a copy of itself and returns at once: its work
# is done when its own file and then its uninstall entry are gone.
wine "$dir/uninstall.exe" /S
wait_for 60 "the uninstaller to remove itself" test ! -e "$dir/uninstall.exe"
wait_for 60 "the uninstall entry to go" bash -c "! wine reg query '$uninstall_key'"
for f in "${program_files[@]}" wav manual; do
  [ ! -e "$dir/$f" ] || fail "the uninstaller left $f in $dir"
done
[ ! -e "$menu" ] || fail "the uninstaller left the Start-menu folder $menu"
[ "$(cd "$dir" && md5sum Tarvik.ini Tarvik.lst Tarvik.log)" = "$kept" ] ||
  fail "the uninstaller did not keep the user's settings and log as they were"
left=$(cd "$dir" && ls -A | LC_ALL=C sort | tr '\n' ' ')
[ "$left" = "Tarvik.ini Tarvik.log Tarvik.lst " ] || fail "left in $dir: $left"

step "install silently with /AUTOSTART"
wine "$installer" /S /AUTOSTART
[ -f "$dir/tarvik.exe" ] || fail "the installer with /AUTOSTART did not install tarvik.exe"
starts_at_logon >/dev/null || fail "/S /AUTOSTART did not make Tarvik start at logon: $(wine reg query "$run_key" 2>&1 | tr -d '\r')"
wine "$dir/uninstall.exe" /S
wait_for 60 "the uninstaller to remove itself" test ! -e "$dir/uninstall.exe"
wait_for 60 "the start at logon to go" bash -c "! wine reg query '$run_key' /v Tarvik"
echo "PASS: installed, started, uninstalled; the settings kept; /AUTOSTART starts it at logon"
