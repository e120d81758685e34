#!/usr/bin/env bash
# Builds the Debian package from this checkout: quelvane_VERSION_ARCH.deb, its debug symbols
# (quelvane-dbgsym), the .buildinfo and the .changes, put in OUT_DIR (default build-deb). Installs
# the build dependencies that debian/control names, through apt-get, when any is missing.
# Usage: package-deb.sh [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
out="$(realpath -m "${1:-build-deb}")"

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
ready=true
for p in build-essential dpkg-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || ready=false
done
if ! $ready || ! dpkg-checkbuilddeps 2>/dev/null; then
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends build-essential dpkg-dev
  DEBIAN_FRONTEND=noninteractive $sudo apt-get build-dep -y -qq --no-install-recommends ./
fi

# dpkg-buildpackage writes beside the source folder, so it builds a copy of the checkout (what git
# tracks plus new files it does not ignore) in a folder of its own, outside the checkout and OUT_DIR.
version="$(dpkg-parsechangelog -S Version)"
mkdir -p "$out"
stage="$(mktemp -d "${TMPDIR:-/tmp}/quelvane-deb.XXXXXX")"
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/quelvane-$version"
inside="$(realpath -m --relative-to=. "$out")"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard | { grep -zv -- "^${inside//./[.]}/" || true; } |
    xargs -0 -I{} sh -c '[ -e "$1" ] && printf "%s\0" "$1" || true' _ {} |
    tar -c --null -T - | tar -x -C "$stage/quelvane-$version"
else
  tar -c --exclude='./build*' --exclude='./.git' --exclude="./$inside" . |
    tar -x -C "$stage/quelvane-$version"
fi

# A ccache the machine has serves the package build too. debhelper gives the build an empty HOME,
# so the cache is named by its folder; paths below the stage count relative to it, so another
# checkout of the same source finds the earlier work.
if command -v ccache >/dev/null && [ "${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}" = ccache ]; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache
  CCACHE_DIR="${CCACHE_DIR:-$(ccache -k cache_dir)}"
  export CCACHE_DIR CCACHE_BASEDIR="$stage"
fi

(cd "$stage/quelvane-$version" && dpkg-buildpackage -us -uc -b -j"$(nproc)")
find "$out" -maxdepth 1 -name 'quelvane*' -type f -delete
mv "$stage"/quelvane*_"$version"_*.deb "$stage"/quelvane_"$version"_*.buildinfo \
  "$stage"/quelvane_"$version"_*.changes "$out"/
ls -1 "$out"/quelvane*
