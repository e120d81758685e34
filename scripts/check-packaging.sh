#!/usr/bin/env bash
# Checks what `cmake --install` puts on a system: the metainfo and desktop entries pass their
# validators, the manual page formats without warnings, the completion completes in a real
# interactive shell, and an install into a scratch folder places every file where the desktop
# looks for it.
# Usage: check-packaging.sh BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:?usage: check-packaging.sh BUILD_DIR}"

appstreamcli validate --no-net packaging/quelvane.metainfo.xml
desktop-file-validate packaging/quelvane.desktop packaging/quelvane-autostart.desktop
for entry in packaging/quelvane.desktop packaging/quelvane-autostart.desktop; do
  for key in 'Name[zh_TW]' 'Name[zh_CN]' 'Comment[zh_TW]' 'Comment[zh_CN]'; do
    grep -qF "$key=" "$entry" || { echo "$entry: no $key" >&2; exit 1; }
  done
done
grep -q '^Exec=quelvane --hidden$' packaging/quelvane-autostart.desktop ||
  { echo "the autostart entry does not start hidden" >&2; exit 1; }

warnings="$(groff -man -ww -z packaging/quelvane.1 2>&1)"
[ -z "$warnings" ] || { echo "$warnings" >&2; exit 1; }
bash -n packaging/quelvane.bash
bash tests/packaging/test_completion.sh

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
rules="$root/rules.d"
cmake -S . -B "$build" -DQUELVANE_UDEV_RULES_DIR="$rules" >/dev/null
DESTDIR="$root/dest" cmake --install "$build" --prefix /usr >/dev/null
for f in usr/bin/quelvane usr/share/applications/quelvane.desktop \
  usr/share/metainfo/org.quelvane.Quelvane.metainfo.xml \
  usr/share/icons/hicolor/128x128/apps/quelvane.png \
  usr/share/icons/hicolor/256x256/apps/quelvane.png \
  usr/share/icons/hicolor/scalable/apps/quelvane.svg \
  usr/share/man/man1/quelvane.1 usr/share/bash-completion/completions/quelvane \
  usr/share/doc/quelvane/LICENSE usr/share/doc/quelvane/README.md; do
  [ -f "$root/dest/$f" ] || { echo "not installed: /$f" >&2; exit 1; }
done
[ -f "$root/dest$rules/70-quelvane.rules" ] || { echo "udev rule not in $rules" >&2; exit 1; }
# Back to the system's udev folder for later installs from this build.
cmake -S . -B "$build" -UQUELVANE_UDEV_RULES_DIR >/dev/null
grep -q "QUELVANE_UDEV_RULES_DIR:PATH=$(pkg-config --variable=udevdir udev)/rules.d" "$build/CMakeCache.txt" ||
  { echo "the udev rule does not follow pkg-config udev" >&2; exit 1; }
echo "packaging checked"
