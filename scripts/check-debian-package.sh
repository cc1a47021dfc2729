#!/usr/bin/env bash
# Checks the Debian packages that scripts/package-debian.sh put into
# build/packages: lintian finds no error and no warning; the tarvik package
# holds every file the program needs where it looks for it; its AppStream
# entry, desktop entries and manual pages pass their validators; and the
# programs, unpacked, start and tell their version.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

version=$(dpkg-parsechangelog -S Version)
arch=$(dpkg --print-architecture)
deb="$root/build/packages/tarvik_${version}_${arch}.deb"
sim_deb="$root/build/packages/tarvik-router-sim_${version}_${arch}.deb"
for f in "$deb" "$sim_deb"; do
  [ -f "$f" ] || { echo "FAIL: no $f (scripts/package-debian.sh builds it)"; exit 1; }
done

status=0
fail() { echo "FAIL: $*"; status=1; }

echo "== lintian"
lintian --fail-on error,warning --display-info "$deb" "$sim_deb" || fail "lintian"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
dpkg-deb -x "$sim_deb" "$tree"

echo "== files"
expected=(
  usr/bin/tarvik
  usr/libexec/tarvik/tarvik-desktop
  usr/libexec/tarvik/tarvik-keyring.so
  usr/share/tarvik/Tarvik.bmp
  usr/share/tarvik/manual/manual.html
  usr/share/tarvik/tarvik-autostart.desktop
  usr/share/icons/hicolor/scalable/apps/tarvik.svg
  usr/share/applications/tarvik.desktop
  usr/share/metainfo/org.example.tarvik.metainfo.xml
  usr/share/man/man1/tarvik.1.gz
  usr/bin/tarvik-router-sim
  usr/share/man/man1/tarvik-router-sim.1.gz
)
for f in "${expected[@]}"; do
  [ -f "$tree/$f" ] || fail "the packages do not install /$f"
done
for sound in resources/wav/*.wav; do
  cmp -s "$sound" "$tree/usr/share/tarvik/wav/${sound##*/}" || fail "the packages do not install the sound ${sound##*/}"
done

echo "== appstreamcli, desktop-file-validate"
appstreamcli validate --no-net --pedantic "$tree"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
appstreamcli validate-tree --no-net --pedantic "$tree" || fail "appstreamcli validate-tree"
for entry in "$tree"/usr/share/applications/*.desktop "$tree"/usr/share/tarvik/*.desktop; do
  out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ] || fail "desktop-file-validate ${entry#"$tree"}: $out"
done

echo "== manual pages"
for page in "$tree"/usr/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man ${page##*/}: $warnings"
done

echo "== the unpacked programs"
for program in usr/bin/tarvik usr/libexec/tarvik/tarvik-desktop; do
  out=$("$tree/$program" --version)
  [ "$out" = "tarvik $version" ] || fail "/$program --version printed \"$out\""
done
out=$("$tree/usr/bin/tarvik-router-sim" --help)
[[ $out == "Usage: tarvik-router-sim "* ]] || fail "/usr/bin/tarvik-router-sim --help printed \"${out%%$'\n'*}\""

[ $status -eq 0 ] && echo "PASS: the Debian packages"
exit $status
