#pragma once

// The real binding on Linux: libudev for enumeration, properties and hotplug, hidraw for I/O.
//
// Interfaces: one per top-level collection of each hidraw node, path "/dev/hidrawN#colNN"
// (1-based); a node whose report descriptor cannot be read or parsed, or has no application
// collection, is listed once under its bare node path with zero caps. All collections of a node
// share the node for feature reports and reads.
//
// Opening: ReadWrite opens the node O_RDWR; when that is refused the call fails with the errno
// (EACCES, EPERM) and the device layer retries with QueryOnly, which needs no access to the node:
// it serves attributes, caps and product string from sysfs and refuses feature reports and reads.
// OverlappedRead opens O_RDONLY|O_NONBLOCK, OverlappedWrite O_WRONLY. Error codes are errno
// values.

#include "hid/HidBinding.h"

#include <memory>

namespace hid {

std::unique_ptr<HidBinding> MakeLinuxHidBinding();

} // namespace hid
