#!/usr/bin/env bash
# Runs clang-tidy with the project's checks (.clang-tidy) on the engine's
# sources and the presentation the desktops share (src/desktop), as the
# debug build compiles them; any finding fails.
#
# A file found clean is remembered (build/tidy-clean) under a key made of
# its text, every header it could include (the engine's and the
# presentation's), the checks and clang-tidy's version; the next run checks
# only the files whose key is new. TARVIK_TIDY_ALL=1 checks every file.
set -euo pipefail
cd "$(dirname "$0")/.."
db=build/debug
[ -f "$db/compile_commands.json" ] || { echo "tidy: build the debug preset first" >&2; exit 2; }
# The sources for this platform (the _win32 files are checked by the
# compiler in the Windows builds).
mapfile -t files < <(git ls-files 'src/engine/*.cpp' 'src/desktop/*.cpp' | grep -v '_win32\.cpp$')

clean=build/tidy-clean
[ "${TARVIK_TIDY_ALL:-0}" = 1 ] && rm -rf "$clean"
mkdir -p "$clean"
common=$({ clang-tidy --version; cat .clang-tidy; git ls-files -z 'src/engine/*.h' 'src/desktop/*.h' | xargs -0 cat; } |
  sha1sum | cut -d' ' -f1)
key() { { echo "$common"; cat "$1"; } | sha1sum | cut -d' ' -f1; }
todo=()
for file in "${files[@]}"; do
  [ -e "$clean/$(key "$file")" ] || todo+=("$file")
done
if [ ${#todo[@]} -eq 0 ]; then
  echo "tidy: ${#files[@]} engine and presentation files clean (unchanged since they were checked)"
  exit 0
fi

# The compile commands are GCC's: options clang does not know are no finding.
run-clang-tidy -quiet -p "$db" -j "$(nproc)" -extra-arg=-Wno-unknown-warning-option \
  "${todo[@]/#/$PWD/}" >build/tidy.log 2>&1 || {
  grep -E "(warning|error):" build/tidy.log | sort -u >&2
  echo "tidy: findings above (whole output in build/tidy.log)" >&2
  exit 1
}
for file in "${todo[@]}"; do touch "$clean/$(key "$file")"; done
echo "tidy: ${#files[@]} engine and presentation files clean (${#todo[@]} checked now)"
