#!/bin/sh
# Checks the real Linux HID binding and the real program against the kernel's HID stack: boots
# Debian's kernel in QEMU on the host's own root filesystem (9p, read-only), plugs virtual
# receivers in through /dev/uhid and runs guest.sh there: the binding's unit tests,
# uhid_binding_check without and with udevd, then the program with --trace against uhid_receiver
# (check_trace.py reads that trace). See README.md beside this file.
#
# Usage (on Debian; root installs what is missing): tests/uhid/run.sh [WORKDIR]
#   exit 0 iff everything held, 77 (with a reason) where this machine cannot run QEMU at all
#   QUELVANE_BUILD=dir the build whose program and hid unit tests run (default build)
#   KROOT=dir          an unpacked linux-image package (else fetched into WORKDIR with apt-get)
#   USE_KVM=1          KVM instead of software emulation (TCG)
set -eu
SRC=$(cd "$(dirname "$0")/../.." && pwd)
WORK=${1:-/tmp/quelvane-uhid}
mkdir -p "$WORK"
WORK=$(cd "$WORK" && pwd)
BUILD=${QUELVANE_BUILD:-$SRC/build}
case $BUILD in /*) ;; *) BUILD=$PWD/$BUILD ;; esac
BIN=$BUILD/quelvane
UNITTESTS=$BUILD/tests/hid/test_hid
skip() {
  echo "SKIP: $*"
  exit 77
}

need=""
for t in qemu-system-x86_64:qemu-system-x86 busybox:busybox-static cpio:cpio g++:g++ \
  depmod:kmod udevadm:udev python3:python3; do
  command -v "${t%%:*}" >/dev/null || need="$need ${t#*:}"
done
if [ -n "$need" ]; then
  [ "$(id -u)" = 0 ] || skip "not root, so cannot install:$need"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends $need >/dev/null
fi
ACCEL=tcg
[ "${USE_KVM:-0}" = 1 ] && ACCEL=kvm
qemu-system-x86_64 -accel help | grep -qx "$ACCEL" || skip "this QEMU cannot use $ACCEL"
for f in "$BIN" "$UNITTESTS"; do
  [ -x "$f" ] || { echo "FAIL: no $f (build first)"; exit 1; }
done

if [ -z "${KROOT:-}" ]; then
  KROOT=$WORK/kernel/root
  if [ ! -d "$KROOT/boot" ]; then
    KPKG=$(apt-cache depends linux-image-amd64 | awk '/Depends: linux-image-[0-9]/{print $2; exit}')
    rm -rf "$WORK/kernel" && mkdir -p "$WORK/kernel"
    (cd "$WORK/kernel" && apt-get download -q "$KPKG" >/dev/null 2>&1 &&
      dpkg-deb -x "$KPKG"_*.deb root && rm -f ./*.deb)
  fi
fi
KVER=$(ls "$KROOT/lib/modules" | sort -V | tail -1)
KERNEL=$(ls "$KROOT"/boot/vmlinuz-* | sort -V | tail -1)

# The guest programs run on the host's libraries, so they are built as usual.
CHECKS=$WORK/bin
mkdir -p "$CHECKS"
CXX="g++ -std=c++20 -O1 -g -Wall -Wextra -Werror -pthread -I$SRC/src -I$SRC/tests"
$CXX "$SRC/tests/uhid/uhid_binding_check.cpp" "$SRC/src/hid/LinuxHidBinding.cpp" \
  "$SRC/src/hid/ReportDescriptor.cpp" "$SRC/src/hid/SysfsText.cpp" "$SRC"/src/framework/text/*.cpp \
  -ludev -o "$CHECKS/uhid_binding_check"
$CXX "$SRC/tests/uhid/uhid_receiver.cpp" -o "$CHECKS/uhid_receiver"

# The initramfs only loads the modules (with their dependencies, in order) and mounts the host.
R=$(mktemp -d)
trap 'rm -rf "$R"' EXIT
mkdir -p "$R/bin" "$R/proc" "$R/sys" "$R/dev" "$R/host" "$R/lib/modules"
cp "$(command -v busybox)" "$R/bin/"
ln -s busybox "$R/bin/sh"
depmod -b "$KROOT" "$KVER"
n=0
for ko in $(for m in hid-generic uhid virtio_pci 9pnet_virtio 9p; do
  modprobe -d "$KROOT" -S "$KVER" --show-depends "$m" | awk '$1 == "insmod" {print $2}'
done | awk '!seen[$0]++'); do
  n=$((n + 1))
  base=$(printf '%02d-%s' "$n" "$(basename "$ko" | sed 's/\.ko.*//')")
  case $ko in
  *.xz) xz -dc "$ko" >"$R/lib/modules/$base.ko" ;;
  *.zst) zstd -qdc "$ko" >"$R/lib/modules/$base.ko" ;;
  *) cp "$ko" "$R/lib/modules/$base.ko" ;;
  esac
done
OUT=$WORK/out
rm -rf "$OUT" && mkdir -p "$OUT"
cat >"$R/init" <<INIT
#!/bin/sh
/bin/busybox --install -s /bin
mount -t proc proc /proc; mount -t sysfs sysfs /sys; mount -t devtmpfs devtmpfs /dev
for m in /lib/modules/*.ko; do insmod \$m || echo "insmod \$m failed"; done
o=trans=virtio,version=9p2000.L,msize=262144
if mount -t 9p -o \$o,ro,cache=loose hostroot /host &&
   mount -t proc proc /host/proc && mount -t sysfs sysfs /host/sys &&
   mount -t devtmpfs devtmpfs /host/dev && mount -t tmpfs tmpfs /host/run &&
   mount -t 9p -o \$o out "/host$OUT"; then
  chroot /host /bin/sh "$SRC/tests/uhid/guest.sh" "$SRC" "$OUT" "$CHECKS" "$BIN" "$UNITTESTS"
else
  echo "GUEST-RESULT: FAIL (cannot mount the host's root filesystem)"
fi
poweroff -f
INIT
chmod 755 "$R/init"
(cd "$R" && find . | cpio -o -H newc --quiet) | gzip -1 >"$WORK/initramfs.cpio.gz"

LOG=$WORK/serial.log
rm -f "$LOG"
# QEMU's exit code is always 0: judge by the guest's serial log and the trace.
timeout 600 qemu-system-x86_64 -accel "$ACCEL" -m 768 -smp 2 -nodefaults -no-reboot \
  -display none -serial file:"$LOG" -kernel "$KERNEL" -initrd "$WORK/initramfs.cpio.gz" \
  -append "console=ttyS0 quiet panic=-1" \
  -fsdev local,id=hostroot,path=/,security_model=none,readonly=on,multidevs=remap \
  -device virtio-9p-pci,fsdev=hostroot,mount_tag=hostroot \
  -fsdev local,id=out,path="$OUT",security_model=none \
  -device virtio-9p-pci,fsdev=out,mount_tag=out </dev/null || true
grep -E '^(ok|FAIL|     |==|uhid_|program|GUEST-RESULT|insmod)' "$LOG" || true
result=0
[ "$(tr -d '\r' <"$LOG" | grep "^GUEST-RESULT" | tail -n 1)" = "GUEST-RESULT: PASS" ] || result=1
echo "== the program's trace"
if [ -s "$OUT/trace.jsonl" ]; then
  python3 "$SRC/tests/uhid/check_trace.py" "$OUT/trace.jsonl" || result=1
else
  echo "FAIL no trace at $OUT/trace.jsonl"
  result=1
fi
exit $result
