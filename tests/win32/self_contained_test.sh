#!/usr/bin/env bash
# The programs of one Windows build, as they would reach a PC: built for the
# build's processor, tarvik.exe for the window subsystem and tarvik.com for
# the console, and importing only DLLs that every Windows has. A C++ or
# thread runtime DLL (libstdc++-6, libgcc_s_*, libwinpthread-1) would make
# the program fail to start on a PC without it. Needs no Wine, so it runs
# for the 32-bit build too where Wine's 32-bit side is missing.
# The manifest each program carries must name the same processor as its
# header: Windows refuses to start a program whose manifest names another.
# A 32-bit program must import none of the functions that only a 64-bit
# run gets right: msvcrt's functions of the 32-bit time_t (the program is
# compiled for a 64-bit one) and the *LongPtr functions of user32, which
# only 64-bit Windows exports (32-bit Windows would refuse to load it).
#
# usage: self_contained_test.sh BUILD_DIR i386|i386:x86-64  (objdump's names)
set -euo pipefail
build=$1 machine=$2
objdump=x86_64-w64-mingw32-objdump  # reads PE32 and PE32+ alike
# The system DLLs the programs may use; all ship with every Windows.
system_dlls=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll
  shell32.dll shlwapi.dll user32.dll uxtheme.dll winmm.dll ws2_32.dll "
fail() { echo "FAIL: $*"; exit 1; }
# The manifest's name for each processor.
declare -A manifest_arch=([i386]=x86 [i386:x86-64]=amd64)

thirty_two_bit_traps=" time localtime gmtime mktime ctime difftime _time32 _localtime32 _gmtime32 _mktime32
  _ctime32 _difftime32 _stat _wstat _fstat _stat32 _wstat32 _fstat32 _findfirst _wfindfirst
  GetWindowLongPtrA GetWindowLongPtrW SetWindowLongPtrA SetWindowLongPtrW GetClassLongPtrA GetClassLongPtrW
  SetClassLongPtrA SetClassLongPtrW "

check_32bit_imports() {  # program details
  local name
  while read -r name; do
    [[ $thirty_two_bit_traps != *" $name "* ]] ||
      fail "$1 imports $name, which a 32-bit Windows lacks or runs with a 32-bit time"
  done < <(sed -nE 's/^\s+[0-9a-f]+\s+[0-9]+\s+([A-Za-z_][A-Za-z0-9_]*)$/\1/p' <<<"$2")
}

check_manifest() {  # program
  local manifest named
  # Resource type 24 is RT_MANIFEST; wrestool (icoutils) reads PE32 and PE32+.
  manifest=$(wrestool -x --raw --type=24 "$1" | tr -d '\r') || fail "$1: its resources cannot be read"
  [ -n "$manifest" ] || fail "$1 carries no manifest"
  named=$(sed -nE '/<assemblyIdentity type="win32" name="Tarvik"/s/.*processorArchitecture="([^"]*)".*/\1/p' <<<"$manifest")
  [ "$named" = "${manifest_arch[$machine]}" ] ||
    fail "$1 is built for $machine but its manifest names processorArchitecture=\"$named\""
}

check() {  # program subsystem
  local program=$1 subsystem=$2 header details dll
  [ -f "$program" ] || fail "$program was not built"
  header=$("$objdump" -f "$program")
  details=$("$objdump" -p "$program")
  grep -q "^architecture: $machine," <<<"$header" ||
    fail "$program is not built for $machine: $(grep '^architecture' <<<"$header")"
  grep -q "^Subsystem.*(Windows $subsystem)" <<<"$details" || fail "$program is not a Windows $subsystem program"
  while read -r dll; do
    [[ $system_dlls == *" ${dll,,} "* ]] || fail "$program needs $dll, which Windows does not bring"
  done < <(sed -n 's/^\s*DLL Name: //p' <<<"$details")
  check_manifest "$program"
  if [ "$machine" = i386 ]; then check_32bit_imports "$program" "$details"; fi
}

check "$build/src/win32/tarvik.exe" GUI
check "$build/src/win32/tarvik.com" CUI
echo "PASS: $build: tarvik.exe and tarvik.com for $machine, manifests for ${manifest_arch[$machine]}, system DLLs only"
[ "$machine" != i386 ] || echo "PASS: $build: no import that only a 64-bit run gets right"
