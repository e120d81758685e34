#!/bin/sh
# Runs a Windows program under Wine for CTest: wine-run.sh PREFIX PROGRAM [ARGS...]. WINEPREFIX,
# when set, wins over PREFIX. A wineserver started beforehand with `wineserver -p` keeps runs
# fast; without one, each run starts its own.
set -eu
prefix="$1"
shift
: "${WINEPREFIX:=$prefix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko prompts when a run has to create the prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
for wine in wine64 /usr/lib/wine/wine64 wine; do
  if command -v "$wine" >/dev/null 2>&1; then exec "$wine" "$@"; fi
done
echo "wine-run.sh: Wine is not installed" >&2
exit 127
