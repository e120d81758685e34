#!/usr/bin/env bash
# Installs what Quelvane needs to build, run and test on Debian 12. Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-qpa-plugins libudev-dev libxcb1-dev
  dbus-daemon xvfb x11-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev clang-format
  # the Windows cross build and its tests under Wine (GoogleTest from its source package; Qt for
  # Windows from Debian's source of qt6-base, fetched with dpkg-dev's tools), the window under Wine
  g++-mingw-w64-x86-64-posix wine64 wine googletest dpkg-dev trayer xdotool imagemagick
  fonts-dejavu-core fonts-wqy-microhei
  python3
  # the window read as a screen reader reads it: the accessibility bus and pyatspi
  at-spi2-core python3-pyatspi
  # the packaging check: metainfo and desktop-entry validators, the manual-page formatter
  appstream desktop-file-utils groff-base
  # the completion, typed into a real interactive shell
  tmux bash-completion
  # the real-kernel check (tests/uhid): QEMU, the guest's init, modules and udevd
  qemu-system-x86 busybox-static cpio kmod udev xz-utils
  # the Debian package: its build, lintian, and the clean Debian 12 root it is tried in
  debhelper lintian mmdebstrap
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
