#!/usr/bin/env bash
# The engine is plain C++: no source under it includes a Qt, X11, xcb, GL
# or EGL header, and none of its targets links such a library or a target
# of a front end.
#
#   engine_has_no_qt.sh ENGINE_SOURCE_DIR ENGINE_LINKS_FILE
#
# ENGINE_LINKS_FILE has one line per engine target: its name, a TAB, and
# what it links (a CMake list).
set -euo pipefail
src=$1 links=$2
status=0
forbidden='Qt|X11|xcb|GL|EGL|glx|wayland|fontconfig|freetype'

# Headers: <QString>, <QtCore/...>, <X11/...>, <xcb/...>, <GL/...>, <EGL/...>.
if hits=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"](Q[A-Za-z]|Qt[A-Za-z]*/|X11/|xcb/|GL/|GLES|EGL/|wayland-)" \
            --include='*.h' --include='*.hpp' --include='*.cpp' --include='*.cc' "$src"); then
  echo "engine sources include front-end headers:"
  echo "$hits"
  status=1
fi
if [ "$(find "$src" -name '*.cpp' | wc -l)" -eq 0 ]; then
  echo "no engine sources found in $src"
  status=1
fi

targets=$(cut -f1 "$links")
[ -n "$targets" ] || { echo "no engine targets listed in $links"; exit 1; }
while IFS=$'\t' read -r target linked; do
  IFS=';' read -ra items <<<"$linked"
  for item in "${items[@]}"; do
    [ -n "$item" ] || continue
    if grep -qxF -- "$item" <<<"$targets"; then continue; fi
    if grep -qE -- "$forbidden" <<<"$item"; then
      echo "$target links $item"
      status=1
    elif [[ "$item" == tarvik_* ]]; then
      echo "$target links $item, which is not part of the engine"
      status=1
    fi
  done
done <"$links"

[ $status -eq 0 ] && echo "engine: $(wc -l <"$links") targets, no Qt, X11 or GL dependency"
exit $status
