#!/usr/bin/env bash
# Builds the Debian package and tries it as a user of a fresh Debian 12 would: lintian finds no
# error or warning; in a copy of a clean root (debian_root.sh) apt-get installs it pulling only
# what it declares; an ordinary user runs the commands and the window there; the udev rule, menu
# entry, icons and the rest are where the desktop and udev look; the maintainer scripts ask udev
# to reload only where udev runs; and a purge leaves none of the package's files behind.
# Usage (as root, which a chroot with device nodes needs): test_deb.sh [WORK_DIR]
set -euo pipefail
cd "$(dirname "$0")/../.."
[ "$(id -u)" -eq 0 ] || { echo "SKIP: the clean root needs root"; exit 77; }
work="$(realpath -m "${1:-build-deb}")"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

bash scripts/package-deb.sh "$work"
version="$(sed -n 's/^project(Quelvane VERSION \([0-9.]*\) .*)$/\1/p' CMakeLists.txt)"
arch="$(dpkg --print-architecture)"
deb="$work/quelvane_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no $deb: the package's version is not the project's $version"
[ -f "$work/quelvane-dbgsym_${version}_${arch}.deb" ] || fail "no debug symbols package"
echo "== lintian"
lintian -i --fail-on error,warning "$work/quelvane_${version}_${arch}.changes"

echo "== a clean Debian 12 root"
tarball="$(bash tests/packaging/debian_root.sh)"
root="$work/root"
# Downloaded packages are kept apart from the root, so the root stays clean and later runs
# download nothing again.
archives="$(dirname "$tarball")/debian-archives"
mkdir -p "$archives/partial"
rm -rf "$root"
mkdir -p "$root"
trap 'rm -rf "$root"' EXIT
tar -xf "$tarball" -C "$root" --numeric-owner
cp "$deb" "$root/tmp/"

# Each command runs in a mount namespace of its own, so /proc, /sys and the download cache
# mounted for it vanish with it, even when it fails.
in_root() {
  unshare --mount --pid --fork --mount-proc="$root/proc" -- sh -c '
    mount --bind "$1" "$2/var/cache/apt/archives" && mount --rbind -o ro /sys "$2/sys" &&
      mount -t devpts -o newinstance,ptmxmode=0666 devpts "$2/dev/pts" || exit 1
    root="$2"
    shift 2
    exec chroot "$root" env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
      LC_ALL=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"' sh "$archives" "$root" "$@"
}
as_user() {
  in_root runuser -u tester -- env HOME=/home/tester QT_QPA_PLATFORM=offscreen "$@"
}
# A stand-in udevadm that logs what it is asked, where apt's PATH for maintainer scripts finds it
# (the package does not bring udev in).
udev_log="$root/tmp/udevadm.log"
printf '#!/bin/sh\necho "$*" >> /tmp/udevadm.log\n' >"$root/usr/sbin/udevadm"
chmod +x "$root/usr/sbin/udevadm"
udev_calls() { cat "$udev_log" 2>/dev/null || true; }
reload_and_trigger="control --reload-rules
trigger --subsystem-match=hidraw --action=change"

echo "== install"
(cd "$root" && find . -xdev | sed 's|^\.||') | sort >"$work/before"
in_root apt-get install -y -q --no-install-recommends -o APT::Sandbox::User=root \
  "/tmp/$(basename "$deb")"
[ -z "$(udev_calls)" ] || fail "the install asked a udev that does not run: $(udev_calls)"

echo "== as an ordinary user"
in_root useradd --create-home tester
said="$(as_user quelvane --version)"
[[ "$said" == *"$version"* ]] || fail "quelvane --version says '$said', not $version"
as_user quelvane --status --json --simulate >"$work/status.json"
python3 - "$work/status.json" <<'PY'
import json, sys
status = json.load(open(sys.argv[1]))
assert isinstance(status, dict) and status, f"not a status object: {status!r}"
PY
as_user quelvane --list
# The window runs for a second from its first device scan (its trace's first line; on a busy
# machine the start alone can take longer), then SIGTERM must end it in order, with status 0. One
# that cannot start ends at once with status 1.
window_status=0
as_user sh -c 'quelvane --simulate --trace /tmp/window.jsonl & program=$!
  tries=0
  while [ ! -s /tmp/window.jsonl ] && kill -0 "$program" 2>/dev/null && [ "$tries" -lt 300 ]; do
    sleep 0.1
    tries=$((tries + 1))
  done
  sleep 1
  kill -TERM "$program" 2>/dev/null
  wait "$program"' || window_status=$?
((window_status == 0)) || fail "the window did not run for a second and end on SIGTERM ($window_status)"
grep -q '"ev":"scan"' "$root/tmp/window.jsonl" || fail "the window scanned no devices"

echo "== installed where udev and the desktop look"
for f in /lib/udev/rules.d/70-quelvane.rules /usr/share/applications/quelvane.desktop \
  /usr/share/metainfo/org.quelvane.Quelvane.metainfo.xml \
  /usr/share/icons/hicolor/{16x16,22x22,32x32,48x48,64x64,128x128,256x256}/apps/quelvane.png \
  /usr/share/icons/hicolor/scalable/apps/quelvane.svg /usr/share/man/man1/quelvane.1.gz \
  /usr/share/bash-completion/completions/quelvane /usr/share/doc/quelvane/copyright \
  /usr/share/doc/quelvane/examples/quelvane-autostart.desktop; do
  [ -f "$root$f" ] || fail "not installed: $f"
done

echo "== maintainer scripts where udev runs"
mkdir -p "$root/run/udev"
python3 -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' \
  "$root/run/udev/control"
in_root apt-get install -y -q --reinstall -o APT::Sandbox::User=root "/tmp/$(basename "$deb")"
[ "$(udev_calls)" = "$reload_and_trigger" ] || fail "the install asked udev: $(udev_calls)"
rm "$udev_log"
in_root dpkg -L quelvane >"$work/files"
in_root apt-get purge -y -q quelvane
[ "$(udev_calls)" = "$reload_and_trigger" ] || fail "the removal asked udev: $(udev_calls)"

echo "== nothing left after the purge"
while IFS= read -r f; do
  [ -e "$root$f" ] || [ -L "$root$f" ] || continue
  # Folders stay that the root had before the install or that the dependencies brought.
  if [ -d "$root$f" ]; then
    grep -Fxq -- "$f" "$work/before" && continue
    in_root dpkg-query -S "$f" >/dev/null 2>&1 && continue
  fi
  [ "$f" = "/." ] || fail "left behind: $f"
done <"$work/files"
[ -z "$(find "$root/var/lib/dpkg/info" -name 'quelvane.*')" ] || fail "dpkg still knows the package"
echo "Debian package checked"
