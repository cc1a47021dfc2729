#!/usr/bin/env bash
# Builds the Debian packages (tarvik, tarvik-router-sim) from debian/ with
# dpkg-buildpackage and puts them into build/packages/. The program's
# version (CMakeLists.txt) must be the one of debian/changelog and of the
# manual pages' headers.
#
# dpkg-buildpackage writes its results beside the source tree, so the tree
# is copied first into build/package-debian/tarvik-VERSION (always the same
# path, so the compiler cache hits on the next run) and built there.
# DEB_BUILD_OPTIONS defaults to "nocheck noddebs parallel=<cores>": no test
# suite (./run-tests runs it) and no debug-symbol packages.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

version=$(sed -nE 's/^project\(Tarvik VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
changelog_version=$(dpkg-parsechangelog -S Version)
if [ "$version" != "$changelog_version" ]; then
  echo "debian/changelog is at $changelog_version, the program at $version: add a changelog entry" >&2
  exit 1
fi
for page in manual/*.1; do
  grep -q "^\.TH .*\"Tarvik $version\"" "$page" || { echo "$page: its .TH line does not name Tarvik $version" >&2; exit 1; }
done

work="$root/build/package-debian"
tree="$work/tarvik-$version"
rm -rf "$work"
mkdir -p "$tree"
tar -C "$root" --exclude=./build --exclude=./out --exclude=./artifacts --exclude-vcs -cf - . | tar -C "$tree" -xf -

export DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:-nocheck noddebs parallel=$(nproc)}"
# debhelper gives the build a HOME of its own; the compiler cache stays
# where it is.
if command -v ccache >/dev/null; then
  export CCACHE_DIR="${CCACHE_DIR:-$(ccache -k cache_dir)}"
  export CCACHE_BASEDIR="$tree"
fi
(cd "$tree" && dpkg-buildpackage -b -us -uc)

mkdir -p "$root/build/packages"
rm -f "$root"/build/packages/tarvik*_*.deb "$root"/build/packages/tarvik_*.buildinfo "$root"/build/packages/tarvik_*.changes
cp "$work"/*.deb "$work"/*.buildinfo "$work"/*.changes "$root/build/packages/"
ls "$root"/build/packages/tarvik*_*.deb
