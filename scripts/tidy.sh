#!/usr/bin/env bash
# Runs clang-tidy with the project's checks (.clang-tidy) on the engine's
# sources and the presentation the desktops share (src/desktop), as the
# debug build compiles them; any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
db=build/debug
[ -f "$db/compile_commands.json" ] || { echo "tidy: build the debug preset first" >&2; exit 2; }
# The engine's sources for this platform (the _win32 files are checked by
# the compiler in the Windows builds).
mapfile -t files < <(git ls-files 'src/engine/*.cpp' 'src/desktop/*.cpp' | grep -v '_win32\.cpp$')
# The compile commands are GCC's: options clang does not know are no finding.
run-clang-tidy -quiet -p "$db" -j "$(nproc)" -extra-arg=-Wno-unknown-warning-option \
  "${files[@]/#/$PWD/}" >build/tidy.log 2>&1 || {
  grep -E "(warning|error):" build/tidy.log | sort -u >&2
  echo "tidy: findings above (whole output in build/tidy.log)" >&2
  exit 1
}
echo "tidy: ${#files[@]} engine and presentation files clean"
