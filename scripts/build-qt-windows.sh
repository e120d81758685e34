#!/usr/bin/env bash
# Builds Qt for Windows (Core, Gui, Widgets and the windows and offscreen platform plugins) from
# Debian's own source of the Qt the Linux build uses, with the mingw-w64 POSIX-threads compilers
# and Debian's Qt as the host tools, and installs it into a cache folder outside the checkout.
# A kit already there for the same Qt version and kit revision is reused at once.
#
# Prints the kit's folder on its last line. Usage: scripts/build-qt-windows.sh
# The cache: $QUELVANE_CACHE, else $XDG_CACHE_HOME/quelvane, else ~/.cache/quelvane.
set -euo pipefail

# Raise when the options below change, so that cached kits are rebuilt.
kit_revision=1

version="$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)"
if [[ -z "$version" ]]; then
  echo "qt6-base-dev is not installed (scripts/install-deps.sh installs it)" >&2
  exit 1
fi
cache="${QUELVANE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quelvane}"
kit="$cache/qt-windows/${version//[^A-Za-z0-9.+~-]/_}-r$kit_revision"
if [[ -f "$kit/.complete" ]]; then
  echo "$kit"
  exit 0
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# apt-get source needs a source entry. Ours names the same archive as the machine's binary
# entries, in a file of its own so that the machine's own lists stay as they are.
src_list=/etc/apt/sources.list.d/quelvane-deb-src.list
if ! apt-get source --print-uris qt6-base >/dev/null 2>&1; then
  uri="$(grep -h -m1 -E '^URIs:' /etc/apt/sources.list.d/*.sources 2>/dev/null | awk '{print $2}' |
    head -n1 || true)"
  if [[ -z "$uri" ]]; then
    uri="$(grep -h -m1 -E '^deb ' /etc/apt/sources.list 2>/dev/null | awk '{print $2}' | head -n1 || true)"
  fi
  codename="$(. /etc/os-release && echo "$VERSION_CODENAME")"
  if [[ -z "$uri" || -z "$codename" ]]; then
    echo "no Debian archive found in the apt sources to fetch Qt's source from" >&2
    exit 1
  fi
  echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $uri $codename main" |
    $sudo tee "$src_list" >/dev/null
  $sudo apt-get update -qq
fi
for tool in dpkg-source:dpkg-dev x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64-posix \
  ninja:ninja-build; do
  if ! command -v "${tool%%:*}" >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${tool#*:}"
  fi
done

work="$cache/qt-windows/work"
rm -rf "$work"
mkdir -p "$work/src"
started=$SECONDS
(cd "$work/src" && apt-get source -qq "qt6-base=$version" >/dev/null)
srcdir="$(find "$work/src" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base*' | head -n1)"
if [[ -z "$srcdir" ]]; then
  echo "apt-get source left no qt6-base folder" >&2
  exit 1
fi

# The kit starts anew; its toolchain file stays in it, where Qt's own one for programs loads it.
rm -rf "$kit"
mkdir -p "$kit"
toolchain="$kit/mingw-w64-toolchain.cmake"
cp "$(dirname "$0")/../cmake/mingw-w64-x86_64-compilers.cmake" "$toolchain"

# Only what the program and its tests use: no network, SQL, OpenGL, D-Bus, printing, concurrency,
# XML or Vulkan; third-party libraries bundled so that the kit needs nothing else from Windows.
# Debian's source lacks the tablet header the Windows platform plugin would include.
# Installed where it stays (Qt's tools record their prefix); .complete marks a finished kit.
prefix="$kit"
cmake -S "$srcdir" -B "$work/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no \
  -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
  -DFEATURE_vulkan=OFF -DFEATURE_testlib=OFF -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_freetype=OFF \
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
  -DFEATURE_sql_sqlite=OFF >"$work/configure.log" 2>&1 || {
  tail -n 40 "$work/configure.log" >&2
  echo "configuring Qt for Windows failed (whole log: $work/configure.log)" >&2
  exit 1
}
cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1 || {
  tail -n 40 "$work/build.log" >&2
  echo "building Qt for Windows failed (whole log: $work/build.log)" >&2
  exit 1
}
cmake --install "$work/build" >"$work/install.log" 2>&1
rm -rf "$work"
touch "$kit/.complete"
echo "Qt for Windows built in $((SECONDS - started)) s" >&2
echo "$kit"
