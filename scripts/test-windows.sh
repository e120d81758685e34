#!/usr/bin/env bash
# Cross-builds the whole program and its tests for Windows (mingw-w64, against a Qt for Windows
# made by scripts/build-qt-windows.sh, which builds one only when its cache has none) and runs the
# tests under Wine, then packs the portable zip. Exits 77 with the reason when Wine cannot run a
# program here at all; any other failure is a failure.
# Last, the portable program's window is tried under Wine with a tray (tests/windows/window_check.py).
# Usage: scripts/test-windows.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-windows}"
jobs="$(nproc)"

kit="$(bash scripts/build-qt-windows.sh | tail -n1)"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUELVANE_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DQUELVANE_QT_WINDOWS="$kit"
cmake --build "$build" -j"$jobs"

# The same prefix as the toolchain's emulator uses, kept in the build folder for the next run.
export WINEPREFIX="$PWD/$build/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=""
for w in wine64 /usr/lib/wine/wine64 wine; do
  if command -v "$w" >/dev/null 2>&1; then
    wine="$w"
    break
  fi
done
wineserver=""
for s in wineserver /usr/lib/wine/wineserver64; do
  if command -v "$s" >/dev/null 2>&1; then
    wineserver="$s"
    break
  fi
done
if [[ -z "$wine" || -z "$wineserver" ]]; then
  echo "Wine is not installed (scripts/install-deps.sh installs it)" >&2
  exit 77
fi

# The tests load Qt's and the compiler's libraries from where they were built, as the portable
# folder has them beside the program; Qt's plugins likewise.
runtime="$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
export WINEPATH="Z:${kit//\//\\}\\bin;Z:${runtime//\//\\};Z:\\usr\\x86_64-w64-mingw32\\lib"
export QT_PLUGIN_PATH="Z:${kit//\//\\}\\plugins"
export QT_QPA_PLATFORM=offscreen
# The fonts the portable folder carries, for the tests that draw.
export QUELVANE_TEST_FONTS="Z:${PWD//\//\\}\\${build}\\fonts"

# One server for every test program instead of one each, stopped however we leave. Wine's
# device services live as long as it: they are started here, away from the pipes through which
# CTest reads each test's output and which it would otherwise wait on until the server ends.
mkdir -p "$WINEPREFIX"
"$wineserver" -p >/dev/null 2>&1 || true # one may be running already
trap '"$wineserver" -k 2>/dev/null || true' EXIT
# Makes the prefix on the first run (the slow part); later runs find it.
# Into a file, not a pipe: the services would hold a pipe open.
if ! "$wine" wineboot -i >"$build/wineboot.log" 2>&1 </dev/null; then
  echo "Wine cannot start a program here:" >&2
  cat "$build/wineboot.log" >&2
  exit 77
fi
(cd "$build" && ctest -j"$jobs" --output-on-failure --timeout 600)

cmake --build "$build" --target windows-zip

# The portable program as a user starts it: under Wine on a virtual X server with an XEmbed tray.
version="$(sed -n 's/^project(Quelvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)"
check_status=0
/usr/bin/python3 tests/windows/window_check.py "$build/quelvane-$version-windows-x86_64" \
  "$PWD/$build/wine-window" "$build/window-check" || check_status=$?
if ((check_status == 77)); then
  echo "== the window check under Wine skipped (reason above)"
elif ((check_status != 0)); then
  exit "$check_status"
fi
