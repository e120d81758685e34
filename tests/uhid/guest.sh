#!/bin/sh
# Runs inside the QEMU guest of run.sh, chrooted into the host's root filesystem (read-only, with
# the guest's own /proc, /sys, /dev and /run). Usage: guest.sh SRC OUT CHECKS PROGRAM UNITTESTS
#   OUT is writable and read by the host afterwards; CHECKS holds the compiled guest programs;
#   UNITTESTS is the hid layer's test program.
SRC=$1 OUT=$2 CHECKS=$3 PROGRAM=$4 UNITTESTS=$5
fail=0

echo "== the binding's unit tests with a receiver plugged in (none may skip)"
"$CHECKS/uhid_receiver" >/dev/null &
receiver=$!
i=0
until ls /dev/hidraw* >/dev/null 2>&1 || [ $i -ge 50 ]; do sleep 0.1; i=$((i + 1)); done
if "$UNITTESTS" --gtest_filter='LinuxHidBinding*' --gtest_brief=1 >"$OUT/unit.log" 2>&1 &&
  ! grep -q SKIPPED "$OUT/unit.log" && grep -q PASSED "$OUT/unit.log"; then
  echo "ok   unit tests of the Linux binding ran against the receiver"
else
  echo "FAIL unit tests of the Linux binding:"
  cat "$OUT/unit.log"
  fail=1
fi
kill "$receiver"
wait "$receiver" 2>/dev/null
i=0
while ls /dev/hidraw* >/dev/null 2>&1 && [ $i -lt 50 ]; do sleep 0.1; i=$((i + 1)); done

echo "== the binding without udevd (kernel uevents)"
"$CHECKS/uhid_binding_check" || fail=1

echo "== the binding with udevd and only packaging/70-quelvane.rules"
# Hide the host's rules so that only ours can tag a node.
for d in /etc/udev/rules.d /lib/udev/rules.d /usr/lib/udev/rules.d; do
  [ -d "$d" ] && mount -t tmpfs tmpfs "$d"
done
mkdir -p /run/udev/rules.d
cp "$SRC/packaging/70-quelvane.rules" /run/udev/rules.d/
if /lib/systemd/systemd-udevd --daemon; then
  # The binding picks its monitor by this socket ("udevadm settle" does nothing in a chroot).
  i=0
  until [ -S /run/udev/control ] || [ $i -ge 100 ]; do sleep 0.1; i=$((i + 1)); done
  QUELVANE_EXPECT_UACCESS=1 "$CHECKS/uhid_binding_check" || fail=1
else
  echo "FAIL systemd-udevd did not start"
  fail=1
fi

echo "== the program finds and reads a receiver, and lets it go when it vanishes"
mkdir -p /run/home /run/tmp /run/xdg
chmod 700 /run/xdg
export HOME=/run/home TMPDIR=/run/tmp XDG_RUNTIME_DIR=/run/xdg LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen
trace=$OUT/trace.jsonl
"$PROGRAM" --trace="$trace" >"$OUT/program.log" 2>&1 &
program=$!
# Plug the receiver once the window is up, so that the program finds it through its monitor.
i=0
until grep -q '"ev":"state"' "$trace" 2>/dev/null || [ $i -ge 240 ]; do sleep 0.5; i=$((i + 1)); done
echo "program up after about $((i / 2)) s"
"$CHECKS/uhid_receiver" || { echo "FAIL uhid_receiver"; fail=1; }
# The last state must show no receiver once the program has handled the unplug.
i=0
until grep '"ev":"state"' "$trace" | tail -n 1 | grep -q '"vid":""' || [ $i -ge 60 ]; do
  sleep 0.5
  i=$((i + 1))
done
kill -TERM "$program"
wait "$program"
status=$?
echo "program exited $status"
[ "$status" = 0 ] || fail=1
sed 's/^/program: /' "$OUT/program.log"

[ $fail = 0 ] && echo "GUEST-RESULT: PASS" || echo "GUEST-RESULT: FAIL"
