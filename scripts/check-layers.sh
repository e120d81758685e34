#!/usr/bin/env bash
# Checks every include of a project folder against the layer order: a file may include its own
# layer and the layers below it, never one above. Tests of a layer are held to that layer and may
# also use their own folder and tests/common; a tests/common header is judged again as part of
# every test that includes it. hid and receiver are plain C++ and include no Qt header. Prints each forbidden
# include as FILE:LINE and fails if there is one.
set -euo pipefail
cd "$(dirname "$0")/.."

# Lowest first; a subfolder (skin/style, widgets/aa) belongs to its parent's layer.
layers=(framework platform hid receiver tray skin widgets app)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done
plain_cpp=" hid receiver "

failures=0
report() {
  echo "$1: $2" >&2
  failures=$((failures + 1))
}

# The layer whose rules a file follows.
layer_of() {
  local top sub
  IFS=/ read -r top sub _ <<<"$1"
  case "$top/$sub" in
    tests/e2e | tests/common | bench/* | fuzz/*) echo app ;; # tests/common: see above
    tests/uhid) echo hid ;;
    src/* | tests/*) echo "$sub" ;;
  esac
}

include_re='^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"/]+)/([^"]*)"'
qt_re='^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q'

# check FILE LAYER [INCLUDER [CHAIN]]: the includes of FILE held to LAYER.
check() {
  local file=$1 layer=$2 includer=${3:-} chain="${4:-} $1 " where="" number text folder common
  [ -n "$includer" ] && where=" (through $includer)"
  while IFS=: read -r number text; do
    if [[ $text =~ $include_re ]]; then
      folder=${BASH_REMATCH[1]}
      if [ "$folder" = common ] && [[ $file == tests/* ]]; then
        common="tests/common/${BASH_REMATCH[2]}"
        if [ -f "$common" ] && [[ $chain != *" $common "* ]]; then
          check "$common" "$layer" "${includer:-$file}" "$chain"
        fi
      elif [[ $file == tests/$folder/* && -f "tests/$folder/${BASH_REMATCH[2]}" ]]; then
        : # a helper of the test's own folder
      elif [ -z "${rank[$folder]+x}" ]; then
        report "$file:$number" "includes \"$folder/${BASH_REMATCH[2]}\", which is no layer$where"
      elif ((rank[$folder] > rank[$layer])); then
        report "$file:$number" "$layer must not include $folder/${BASH_REMATCH[2]}$where"
      fi
    elif [[ $plain_cpp == *" $layer "* && $text =~ $qt_re ]]; then
      report "$file:$number" "$layer is plain C++ and must not include a Qt header$where"
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file" || true)
}

while IFS= read -r file; do
  layer=$(layer_of "$file")
  if [ -z "$layer" ] || [ -z "${rank[$layer]+x}" ]; then
    report "$file:1" "lies in no layer; add its folder to scripts/check-layers.sh"
    continue
  fi
  check "$file" "$layer"
done < <(find src tests bench fuzz -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' \
  -o -name '*.cc' \) | sort)

if ((failures)); then
  echo "check-layers: $failures forbidden include(s); order, lowest first: ${layers[*]}" >&2
  exit 1
fi
echo "check-layers: every include points down the layers"
