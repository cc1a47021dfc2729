#!/usr/bin/env bash
# Every include written from src/ ("engine/core/tarvikcore.h") goes along
# an edge the layers table allows; an include of a file beside the source
# ("tarvikcore.h") must name a file in the same folder.
#
#   includes_follow_layers.sh SRC_DIR LAYERS_TABLE
set -euo pipefail
src=$1 table=$2
declare -A allowed
while IFS= read -r line; do
  line=${line%%#*}
  [[ "$line" == *:* ]] || continue
  folder=$(tr -d '[:space:]' <<<"${line%%:*}")
  allowed[$folder]=" $folder $(xargs <<<"${line#*:}") "
done <"$table"
[ ${#allowed[@]} -gt 0 ] || { echo "no layers read from $table"; exit 1; }

status=0 checked=0
while IFS= read -r -d '' file; do
  rel=${file#"$src"/}
  from=${rel%%/*}
  if [ -z "${allowed[$from]:-}" ]; then
    echo "$rel: the folder $from is not in the layers table"
    status=1
    continue
  fi
  while IFS= read -r include; do
    checked=$((checked + 1))
    to=${include%%/*}
    if [ -e "$src/$include" ] && [ "$to" != "$include" ]; then
      if [[ "${allowed[$from]}" != *" $to "* ]]; then
        echo "$rel includes \"$include\": $from may not include from $to"
        status=1
      fi
    elif [ ! -e "$(dirname "$file")/$include" ]; then
      echo "$rel includes \"$include\", which is neither written from src/ nor beside it"
      status=1
    fi
  done < <(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/p' "$file")
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)

[ $checked -gt 0 ] || { echo "no includes found under $src"; exit 1; }
[ $status -eq 0 ] && echo "$checked includes follow the layers of $table"
exit $status
