#!/usr/bin/env bash
# Packs tarvik.exe for Windows into build/windows/packages:
# - a zip per build (cpack): Tarvik-VERSION-win64.zip and -win32.zip, each
#   with tarvik.exe, tarvik.com, Tarvik.bmp, manual/ and wav/;
# - where makensis is installed (Debian's nsis), one installer for both
#   kinds of PC, Tarvik-VERSION-setup.exe (packaging/windows/tarvik.nsi):
#   a 32-bit installer that starts on every Windows and installs the 64-bit
#   program on 64-bit Windows, the 32-bit one elsewhere.
#
# --amd64-stub also makes Tarvik-VERSION-setup-amd64.exe: the same script
# and files behind a 64-bit installer stub, for a Wine without its 32-bit
# side (the test machines), where the 32-bit installer cannot start.
#
# Builds what it packs (presets windows and windows-x86, the programs only).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
amd64_stub=0
[ "${1:-}" = --amd64-stub ] && amd64_stub=1

version=$(sed -nE 's/^project\(Tarvik VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
out="$root/build/windows/packages"
stage=$(mktemp -d /tmp/tarvik-package.XXXXXX)
trap 'rm -rf "$stage"' EXIT

for preset in windows windows-x86; do
  [ -f "build/$preset/CMakeCache.txt" ] || cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" --target tarvik tarvik_console
  # The zip; cpack installs only what the build has made.
  (cd "build/$preset" && cpack -G ZIP -B "$out" >/dev/null)
  cmake --install "build/$preset" --prefix "$stage/$preset" >/dev/null
done
rm -rf "$out/_CPack_Packages"
echo "zips: $(cd "$out" && ls Tarvik-"$version"-win*.zip | tr '\n' ' ')"

if ! command -v makensis >/dev/null; then
  echo "no installer: makensis is not installed (Debian's nsis)"
  exit 0
fi

# Everything but the programs is the same in both builds: taken from the
# 64-bit one, installed file by file and removed the same way, so that the
# uninstaller never takes a file the user put beside them.
common="$stage/files.nsh"
{
  printf '\xef\xbb\xbf'
  echo '!macro TARVIK_COMMON_FILES'
  (cd "$stage/windows" && find . -type f ! -name tarvik.exe ! -name tarvik.com | LC_ALL=C sort) |
    while read -r f; do
      f=${f#./}
      printf '  SetOutPath "$INSTDIR\\%s"\n  File "%s"\n' "$(dirname "$f" | tr / '\\' | sed 's/^\.$//')" "$stage/windows/$f"
    done
  echo '!macroend'
  echo '!macro TARVIK_DELETE_COMMON_FILES'
  (cd "$stage/windows" && find . -type f ! -name tarvik.exe ! -name tarvik.com | LC_ALL=C sort) |
    while read -r f; do printf '  Delete "$INSTDIR\\%s"\n' "$(echo "${f#./}" | tr / '\\')"; done
  (cd "$stage/windows" && find . -mindepth 1 -type d | LC_ALL=C sort -r) |
    while read -r d; do printf '  RMDir "$INSTDIR\\%s"\n' "$(echo "${d#./}" | tr / '\\')"; done
  echo '!macroend'
} >"$common"

installer() {  # stub outfile
  makensis -V2 -INPUTCHARSET UTF8 \
    -DVERSION="$version" -DSTUB="$1" -DOUTFILE="$2" -DFILES="$common" \
    -DICON="$root/build/windows/src/win32/tarvik.ico" \
    -DPROGRAMS64="$stage/windows" -DPROGRAMS32="$stage/windows-x86" \
    packaging/windows/tarvik.nsi
  echo "installer: ${2#"$root"/}"
}
installer x86-unicode "$out/Tarvik-$version-setup.exe"
if [ "$amd64_stub" = 1 ]; then installer amd64-unicode "$out/Tarvik-$version-setup-amd64.exe"; fi
