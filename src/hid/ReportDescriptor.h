#pragma once

#include "hid/HidTypes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace hid {

// What a report descriptor says about one top-level collection (an Application collection at
// nesting depth 0): the leading five fields of the capabilities record.
//
// Report byte lengths count the report-ID byte, also for a device that uses no report IDs (then
// the ID byte is 0): per report ID the sum of Report Size x Report Count over the collection's
// main items of that kind, rounded up to whole bytes, plus one; the largest over the report IDs;
// 0 when the collection has no report of that kind. This is what Windows' HidP_GetCaps answers.
struct CollectionCaps {
  std::uint16_t UsagePage = 0;
  std::uint16_t Usage = 0;
  std::uint16_t InputReportByteLength = 0;
  std::uint16_t OutputReportByteLength = 0;
  std::uint16_t FeatureReportByteLength = 0;

  HIDP_CAPS ToCaps() const;
  bool operator==(const CollectionCaps &) const = default;
};

// Why a descriptor was rejected.
enum class DescriptorError {
  None,
  TruncatedItem,        // an item's data runs past the end of the descriptor
  PopWithoutPush,       // Pop with an empty global stack
  PushStackOverflow,    // more than MaxPushDepth nested Push items
  EndWithoutCollection, // End Collection at depth 0
  UnclosedCollection,   // the descriptor ends inside a collection
  ReportTooLong,        // a report longer than MaxReportBytes (ID byte included)
  ReportIdZero,         // Report ID 0 (reserved, HID 1.11, 6.2.2.7)
  ReportIdTooLarge,     // Report ID above 255 (it travels in one byte)
};

const char *DescriptorErrorName(DescriptorError error);

struct DescriptorParse {
  DescriptorError Error = DescriptorError::None;
  std::size_t ErrorOffset = 0;             // offset of the offending item's prefix byte
  std::vector<CollectionCaps> Collections; // empty whenever Error is not None
};

inline constexpr std::size_t MaxPushDepth = 32;
// The capabilities record holds lengths in 16 bits.
inline constexpr std::uint64_t MaxReportBytes = 0xFFFF;

// Parses untrusted bytes. Never reads outside [data, data + size). A malformed descriptor gives
// an Error and no collections, never a partial result. `data` may be null when `size` is 0.
DescriptorParse ParseReportDescriptorDetailed(const std::uint8_t *data, std::size_t size);

// The top-level collections in descriptor order; none when the descriptor is malformed. A
// well-formed descriptor without any application collection gives an empty list.
std::optional<std::vector<CollectionCaps>> ParseReportDescriptor(const std::uint8_t *data,
                                                                 std::size_t size);

} // namespace hid
