// The virtual receiver both guest programs plug in through /dev/uhid: a keyboard, a mouse with
// the 9-byte command report (feature ID 1) and a vendor collection with a 4096-byte feature
// report (ID 6), the largest one uhid can carry.
#pragma once

#include <cstdint>
#include <cstring>

#include <linux/uhid.h>
#include <unistd.h>

namespace uhidvm {

inline constexpr std::uint8_t Descriptor[] = {
    // Keyboard, input ID 2: 8 bytes.
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x85, 0x02, 0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00,
    0x25, 0x01, 0x75, 0x01, 0x95, 0x08, 0x81, 0x02, 0x95, 0x06, 0x75, 0x08, 0x15, 0x00, 0x26, 0xFF,
    0x00, 0x19, 0x00, 0x2A, 0xFF, 0x00, 0x81, 0x00, 0x95, 0x01, 0x81, 0x03, 0xC0,
    // Mouse: input ID 3 (3 bytes), feature ID 1 (8 data bytes).
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x03, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01,
    0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05,
    0x81, 0x03, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02,
    0x81, 0x06, 0xC0, 0x85, 0x01, 0x06, 0x00, 0xFF, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75,
    0x08, 0x95, 0x08, 0xB1, 0x02, 0xC0,
    // Vendor: input ID 5 (16 bytes), feature ID 6 (4095 data bytes).
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x09, 0x02, 0x75, 0x08, 0x95, 0x10, 0x81,
    0x02, 0x85, 0x06, 0x09, 0x03, 0x96, 0xFF, 0x0F, 0xB1, 0x02, 0xC0};

inline constexpr std::uint8_t CommandId = 1;
inline constexpr std::size_t CommandLength = 9;
inline constexpr std::uint8_t LargeId = 6;
inline constexpr std::size_t LargeLength = 4096;
static_assert(LargeLength <= UHID_DATA_MAX);

inline bool Write(int fd, const uhid_event &ev) {
  return ::write(fd, &ev, sizeof ev) == static_cast<ssize_t>(sizeof ev);
}

inline bool Create(int fd, std::uint32_t vendor = 0x3A7E, std::uint32_t product = 0x0A11) {
  uhid_event ev{};
  ev.type = UHID_CREATE2;
  std::strcpy(reinterpret_cast<char *>(ev.u.create2.name), "Virtual Receiver");
  std::strcpy(reinterpret_cast<char *>(ev.u.create2.phys), "uhid-vm/input0");
  std::strcpy(reinterpret_cast<char *>(ev.u.create2.uniq), "SN0001");
  ev.u.create2.rd_size = sizeof Descriptor;
  ev.u.create2.bus = 0x03;
  ev.u.create2.vendor = vendor;
  ev.u.create2.product = product;
  ev.u.create2.version = 0x0111;
  std::memcpy(ev.u.create2.rd_data, Descriptor, sizeof Descriptor);
  return Write(fd, ev);
}

inline bool Destroy(int fd) {
  uhid_event ev{};
  ev.type = UHID_DESTROY;
  return Write(fd, ev);
}

// Answers one GET_REPORT; an empty `data` with `err` 0 is an answer without bytes.
inline bool ReplyGet(int fd, std::uint32_t id, const std::uint8_t *data, std::size_t size,
                     std::uint16_t err = 0) {
  uhid_event ev{};
  ev.type = UHID_GET_REPORT_REPLY;
  ev.u.get_report_reply.id = id;
  ev.u.get_report_reply.err = err;
  ev.u.get_report_reply.size = static_cast<std::uint16_t>(size);
  if (size) std::memcpy(ev.u.get_report_reply.data, data, size);
  return Write(fd, ev);
}

inline bool ReplySet(int fd, std::uint32_t id, std::uint16_t err = 0) {
  uhid_event ev{};
  ev.type = UHID_SET_REPORT_REPLY;
  ev.u.set_report_reply.id = id;
  ev.u.set_report_reply.err = err;
  return Write(fd, ev);
}

} // namespace uhidvm
