#!/bin/sh
# Checks the real Linux HID binding against the kernel's HID stack: boots Debian's kernel in QEMU
# with a small initramfs, creates a virtual receiver through /dev/uhid and drives it only through
# hid::MakeLinuxHidBinding() (uhid_binding_check.cpp). Adapted from shared/tools/uhid-vm.
#
# Usage (as root on Debian 12): tests/uhid/run.sh [WORKDIR]     exit 0 iff the guest passed
#   needs: qemu-system-x86 busybox-static cpio g++ libudev-dev (installed when missing)
#   KROOT=dir   an unpacked linux-image package (else fetched into WORKDIR with apt-get download)
#   USE_KVM=1   use KVM instead of TCG
#   WITH_UDEVD=1  run udevd in the guest with packaging/70-quelvane.rules (needs udev on the host)
set -eu
SRC=$(cd "$(dirname "$0")/../.." && pwd)
WORK=${1:-/tmp/quelvane-uhid}
mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd)

need=""
for t in qemu-system-x86_64:qemu-system-x86 busybox:busybox-static cpio:cpio g++:g++; do
  command -v "${t%%:*}" >/dev/null || need="$need ${t#*:}"
done
[ "${WITH_UDEVD:-0}" = 1 ] && ! command -v udevadm >/dev/null && need="$need udev"
[ -n "$need" ] && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $need >/dev/null

if [ -z "${KROOT:-}" ]; then
  KROOT=$WORK/kernel/root
  if [ ! -d "$KROOT/boot" ]; then
    KPKG=$(apt-cache depends linux-image-amd64 | awk '/Depends: linux-image-[0-9]/{print $2; exit}')
    mkdir -p "$WORK/kernel"
    (cd "$WORK/kernel" && apt-get download -q "$KPKG" >/dev/null && dpkg-deb -x "$KPKG"_*.deb root && rm -f ./*.deb)
  fi
fi
KVER=$(ls "$KROOT/lib/modules" | sort -V | tail -1)
KERNEL=$(ls "$KROOT"/boot/vmlinuz-* | sort -V | tail -1)
MD=$KROOT/lib/modules/$KVER/kernel/drivers/hid

R=$(mktemp -d)
trap 'rm -rf "$R"' EXIT
mkdir -p "$R/bin" "$R/proc" "$R/sys" "$R/dev" "$R/run" "$R/lib/modules"
cp "$(command -v busybox)" "$R/bin/"
ln -s busybox "$R/bin/sh"
for m in hid hid-generic uhid; do
  if [ -f "$MD/$m.ko" ]; then cp "$MD/$m.ko" "$R/lib/modules/"
  else xz -dc "$MD/$m.ko.xz" > "$R/lib/modules/$m.ko"; fi
done
g++ -std=c++20 -O1 -g -Wall -Wextra -pthread -I"$SRC/src" \
  "$SRC/tests/uhid/uhid_binding_check.cpp" "$SRC/src/hid/LinuxHidBinding.cpp" \
  "$SRC/src/hid/ReportDescriptor.cpp" "$SRC/src/hid/SysfsText.cpp" \
  -static-libstdc++ -static-libgcc -ludev -o "$R/uhid_binding_check"
for l in $(ldd "$R/uhid_binding_check" | grep -o '/[^ ]*'); do
  mkdir -p "$R$(dirname "$l")"; cp -L "$l" "$R$l"
done
if [ "${WITH_UDEVD:-0}" = 1 ]; then
  # udevd with only our rule: the binding's monitor then uses the "udev" source, and the check
  # asserts which nodes the rule tags "uaccess".
  U=$(command -v udevadm)
  for f in "$U" $(ldd "$U" | grep -o '/[^ ]*'); do mkdir -p "$R$(dirname "$f")"; cp -L "$f" "$R$f"; done
  mkdir -p "$R/lib/systemd" "$R/lib/udev/rules.d" "$R/etc/udev"
  ln -s "$U" "$R/lib/systemd/systemd-udevd"
  cp "$SRC/packaging/70-quelvane.rules" "$R/lib/udev/rules.d/"
fi
cat > "$R/init" <<'INIT'
#!/bin/sh
/bin/busybox --install -s /bin
mount -t proc proc /proc; mount -t sysfs sysfs /sys; mount -t devtmpfs devtmpfs /dev; mount -t tmpfs tmpfs /run
for m in hid hid-generic uhid; do insmod /lib/modules/$m.ko || echo "insmod $m failed"; done
if [ -x /lib/systemd/systemd-udevd ]; then
  /lib/systemd/systemd-udevd --daemon && sleep 0.5
  export QUELVANE_EXPECT_UACCESS=1
  echo "udevd running"
fi
/uhid_binding_check || echo "uhid_binding_check exited $?"
poweroff -f
INIT
chmod 755 "$R/init"
(cd "$R" && find . | cpio -o -H newc --quiet) | gzip -1 > "$WORK/initramfs.cpio.gz"

ACCEL="-accel tcg"; [ "${USE_KVM:-0}" = 1 ] && ACCEL="-accel kvm"
LOG=$WORK/serial.log
rm -f "$LOG"
# QEMU's exit code is always 0: judge by the guest's serial log.
timeout 300 qemu-system-x86_64 $ACCEL -m 256 -smp 1 -nodefaults -no-reboot -display none \
  -serial file:"$LOG" -kernel "$KERNEL" -initrd "$WORK/initramfs.cpio.gz" \
  -append "console=ttyS0 quiet panic=-1" </dev/null || true
grep -E '^(ok|FAIL|     |uhid_binding_check|GUEST-RESULT|insmod)' "$LOG" || true
grep -q '^GUEST-RESULT: PASS' "$LOG"
