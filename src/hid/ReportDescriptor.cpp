#include "hid/ReportDescriptor.h"

#include <array>
#include <map>

namespace hid {

namespace {

// Item types of a short item's prefix (HID 1.11, 6.2.2.2).
constexpr unsigned TypeMain = 0;
constexpr unsigned TypeGlobal = 1;
constexpr unsigned TypeLocal = 2;

// Main item tags (HID 1.11, 6.2.2.4).
constexpr unsigned MainInput = 0x8;
constexpr unsigned MainOutput = 0x9;
constexpr unsigned MainCollection = 0xA;
constexpr unsigned MainFeature = 0xB;
constexpr unsigned MainEndCollection = 0xC;

// Collection type of an application collection (HID 1.11, 6.2.2.6).
constexpr std::uint32_t CollectionApplication = 0x01;

// Global item tags (HID 1.11, 6.2.2.7).
constexpr unsigned GlobalUsagePage = 0x0;
constexpr unsigned GlobalLogicalMinimum = 0x1;
constexpr unsigned GlobalLogicalMaximum = 0x2;
constexpr unsigned GlobalPhysicalMinimum = 0x3;
constexpr unsigned GlobalPhysicalMaximum = 0x4;
constexpr unsigned GlobalUnitExponent = 0x5;
constexpr unsigned GlobalUnit = 0x6;
constexpr unsigned GlobalReportSize = 0x7;
constexpr unsigned GlobalReportId = 0x8;
constexpr unsigned GlobalReportCount = 0x9;
constexpr unsigned GlobalPush = 0xA;
constexpr unsigned GlobalPop = 0xB;

// Local item tags (HID 1.11, 6.2.2.8).
constexpr unsigned LocalUsage = 0x0;
constexpr unsigned LocalUsageMinimum = 0x1;

// Long item prefix (HID 1.11, 6.2.2.3): 0xFE, bDataSize, bLongItemTag, data.
constexpr std::uint8_t LongItemPrefix = 0xFE;

constexpr std::uint64_t MaxReportBits = (MaxReportBytes - 1) * 8; // the ID byte comes on top

// The global state table (HID 1.11, 6.2.2.7). Only the fields that shape report lengths and
// collection usages matter to us; the rest are kept so that Push/Pop round-trip the whole table.
struct GlobalState {
  std::uint32_t UsagePage = 0;
  std::int32_t LogicalMinimum = 0;
  std::int32_t LogicalMaximum = 0;
  std::int32_t PhysicalMinimum = 0;
  std::int32_t PhysicalMaximum = 0;
  std::int32_t UnitExponent = 0;
  std::uint32_t Unit = 0;
  std::uint32_t ReportSize = 0;
  std::uint32_t ReportId = 0; // 0: no Report ID item seen
  std::uint32_t ReportCount = 0;
};

// The local state table (HID 1.11, 6.2.2.8): only the first usage matters, for a collection.
struct LocalState {
  bool HasUsage = false;
  bool UsageHasPage = false; // a 4-byte usage carries its own page in the high 16 bits
  std::uint32_t Usage = 0;
  bool HasUsageMinimum = false;
  bool UsageMinimumHasPage = false;
  std::uint32_t UsageMinimum = 0;
};

// Report bits of one top-level collection, per kind and report ID.
struct CollectionReports {
  CollectionCaps Caps;
  std::array<std::map<std::uint32_t, std::uint64_t>, 3> Bits; // input, output, feature
};

std::uint32_t Unsigned(const std::uint8_t *p, unsigned n) {
  std::uint32_t v = 0;
  for (unsigned i = 0; i < n; ++i)
    v |= static_cast<std::uint32_t>(p[i]) << (8 * i);
  return v;
}

std::int32_t Signed(const std::uint8_t *p, unsigned n) {
  switch (n) {
  case 1:
    return static_cast<std::int8_t>(p[0]);
  case 2:
    return static_cast<std::int16_t>(Unsigned(p, 2));
  case 4:
    return static_cast<std::int32_t>(Unsigned(p, 4));
  default:
    return 0;
  }
}

std::uint16_t ByteLength(const std::map<std::uint32_t, std::uint64_t> &perId) {
  std::uint64_t longest = 0;
  for (const auto &[id, bits] : perId) {
    (void)id;
    const std::uint64_t bytes = (bits + 7) / 8 + 1;
    if (bytes > longest) longest = bytes;
  }
  return static_cast<std::uint16_t>(longest); // bits <= MaxReportBits, so this fits
}

DescriptorParse Fail(DescriptorError error, std::size_t offset) {
  DescriptorParse r;
  r.Error = error;
  r.ErrorOffset = offset;
  return r;
}

} // namespace

HIDP_CAPS CollectionCaps::ToCaps() const {
  HIDP_CAPS caps{};
  caps.Usage = Usage;
  caps.UsagePage = UsagePage;
  caps.InputReportByteLength = InputReportByteLength;
  caps.OutputReportByteLength = OutputReportByteLength;
  caps.FeatureReportByteLength = FeatureReportByteLength;
  return caps;
}

const char *DescriptorErrorName(DescriptorError error) {
  switch (error) {
  case DescriptorError::None:
    return "none";
  case DescriptorError::TruncatedItem:
    return "truncated item";
  case DescriptorError::PopWithoutPush:
    return "pop without push";
  case DescriptorError::PushStackOverflow:
    return "push stack overflow";
  case DescriptorError::EndWithoutCollection:
    return "end collection without collection";
  case DescriptorError::UnclosedCollection:
    return "unclosed collection";
  case DescriptorError::ReportTooLong:
    return "report too long";
  case DescriptorError::ReportIdZero:
    return "report ID 0";
  case DescriptorError::ReportIdTooLarge:
    return "report ID above 255";
  }
  return "unknown";
}

DescriptorParse ParseReportDescriptorDetailed(const std::uint8_t *data, std::size_t size) {
  if (!data) size = 0;

  GlobalState global;
  std::vector<GlobalState> stack; // Push/Pop (HID 1.11, 6.2.2.7), at most MaxPushDepth deep
  LocalState local;
  std::size_t depth = 0;
  // Index in `collections` of the application collection open at depth 0, if any; main items
  // elsewhere (outside any collection, or in a top-level collection of another type) are ignored.
  constexpr std::size_t NoCollection = static_cast<std::size_t>(-1);
  std::size_t current = NoCollection;
  std::vector<CollectionReports> collections;

  std::size_t pos = 0;
  while (pos < size) {
    const std::size_t itemOffset = pos;
    const std::uint8_t prefix = data[pos];

    if (prefix == LongItemPrefix) {
      // Long items carry no meaning for us; skip them by their size (HID 1.11, 6.2.2.3).
      if (size - pos < 3) return Fail(DescriptorError::TruncatedItem, itemOffset);
      const std::size_t dataSize = data[pos + 1];
      if (size - pos - 3 < dataSize) return Fail(DescriptorError::TruncatedItem, itemOffset);
      pos += 3 + dataSize;
      continue;
    }

    // Short item (HID 1.11, 6.2.2.2): bSize 0, 1, 2 or 4 bytes (code 3 means 4).
    const unsigned sizeCode = prefix & 0x3u;
    const unsigned n = sizeCode == 3 ? 4 : sizeCode;
    const unsigned type = (prefix >> 2) & 0x3u;
    const unsigned tag = (prefix >> 4) & 0xFu;
    if (size - pos - 1 < n) return Fail(DescriptorError::TruncatedItem, itemOffset);
    const std::uint8_t *itemData = data + pos + 1;
    const std::uint32_t uvalue = Unsigned(itemData, n);
    pos += 1 + n;

    if (type == TypeMain) {
      switch (tag) {
      case MainInput:
      case MainOutput:
      case MainFeature: {
        if (current != NoCollection) {
          const std::size_t kind = tag == MainInput ? 0 : tag == MainOutput ? 1 : 2;
          // 32 x 32 bits cannot overflow 64 bits; the cap keeps every sum far below that too.
          const std::uint64_t bits =
              static_cast<std::uint64_t>(global.ReportSize) * global.ReportCount;
          if (bits > MaxReportBits) return Fail(DescriptorError::ReportTooLong, itemOffset);
          if (bits == 0) break; // a field of no bits makes no report
          std::uint64_t &sum = collections[current].Bits[kind][global.ReportId];
          sum += bits;
          if (sum > MaxReportBits) return Fail(DescriptorError::ReportTooLong, itemOffset);
        }
        break;
      }
      case MainCollection: {
        if (depth == 0 && (uvalue & 0xFFu) == CollectionApplication) {
          CollectionReports c;
          // A usage of 1 or 2 bytes takes the usage page in force at this main item; a 4-byte
          // (extended) usage names its own page (HID 1.11, 6.2.2.8).
          std::uint32_t usage = 0;
          bool hasPage = false;
          if (local.HasUsage) {
            usage = local.Usage;
            hasPage = local.UsageHasPage;
          } else if (local.HasUsageMinimum) {
            usage = local.UsageMinimum;
            hasPage = local.UsageMinimumHasPage;
          }
          c.Caps.Usage = static_cast<std::uint16_t>(usage & 0xFFFFu);
          c.Caps.UsagePage = static_cast<std::uint16_t>(hasPage ? (usage >> 16) : global.UsagePage);
          collections.push_back(std::move(c));
          current = collections.size() - 1;
        }
        ++depth;
        break;
      }
      case MainEndCollection:
        if (depth == 0) return Fail(DescriptorError::EndWithoutCollection, itemOffset);
        if (--depth == 0) current = NoCollection;
        break;
      default:
        break; // reserved main tags: nothing to count
      }
      local = LocalState{}; // every main item ends the local state (HID 1.11, 6.2.2.8)
    } else if (type == TypeGlobal) {
      switch (tag) {
      case GlobalUsagePage:
        global.UsagePage = uvalue;
        break;
      case GlobalLogicalMinimum:
        global.LogicalMinimum = Signed(itemData, n);
        break;
      case GlobalLogicalMaximum:
        global.LogicalMaximum = Signed(itemData, n);
        break;
      case GlobalPhysicalMinimum:
        global.PhysicalMinimum = Signed(itemData, n);
        break;
      case GlobalPhysicalMaximum:
        global.PhysicalMaximum = Signed(itemData, n);
        break;
      case GlobalUnitExponent:
        global.UnitExponent = Signed(itemData, n);
        break;
      case GlobalUnit:
        global.Unit = uvalue;
        break;
      case GlobalReportSize:
        global.ReportSize = uvalue;
        break;
      case GlobalReportId:
        if (uvalue == 0) return Fail(DescriptorError::ReportIdZero, itemOffset);
        if (uvalue > 0xFF) return Fail(DescriptorError::ReportIdTooLarge, itemOffset);
        global.ReportId = uvalue;
        break;
      case GlobalReportCount:
        global.ReportCount = uvalue;
        break;
      case GlobalPush:
        if (stack.size() >= MaxPushDepth)
          return Fail(DescriptorError::PushStackOverflow, itemOffset);
        stack.push_back(global);
        break;
      case GlobalPop:
        if (stack.empty()) return Fail(DescriptorError::PopWithoutPush, itemOffset);
        global = stack.back();
        stack.pop_back();
        break;
      default:
        break; // reserved global tags
      }
    } else if (type == TypeLocal) {
      if (tag == LocalUsage && !local.HasUsage) {
        local.HasUsage = true;
        local.Usage = uvalue;
        local.UsageHasPage = n == 4;
      } else if (tag == LocalUsageMinimum && !local.HasUsageMinimum) {
        local.HasUsageMinimum = true;
        local.UsageMinimum = uvalue;
        local.UsageMinimumHasPage = n == 4;
      }
      // Other local items (usage maximum, designators, strings, delimiters) shape no length.
    }
    // Type 3 other than the long-item prefix is reserved: skipped by its size.
  }

  if (depth != 0) return Fail(DescriptorError::UnclosedCollection, size);

  DescriptorParse result;
  result.Collections.reserve(collections.size());
  for (const CollectionReports &c : collections) {
    CollectionCaps caps = c.Caps;
    caps.InputReportByteLength = ByteLength(c.Bits[0]);
    caps.OutputReportByteLength = ByteLength(c.Bits[1]);
    caps.FeatureReportByteLength = ByteLength(c.Bits[2]);
    result.Collections.push_back(caps);
  }
  return result;
}

std::optional<std::vector<CollectionCaps>> ParseReportDescriptor(const std::uint8_t *data,
                                                                 std::size_t size) {
  DescriptorParse r = ParseReportDescriptorDetailed(data, size);
  if (r.Error != DescriptorError::None) return std::nullopt;
  return std::move(r.Collections);
}

} // namespace hid
