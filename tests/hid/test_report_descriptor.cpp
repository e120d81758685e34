#include "hid/ReportDescriptor.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

using hid::CollectionCaps;
using hid::DescriptorError;
using hid::ParseReportDescriptor;
using hid::ParseReportDescriptorDetailed;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::optional<std::vector<CollectionCaps>> Parse(const Bytes &d) {
  return ParseReportDescriptor(d.data(), d.size());
}

CollectionCaps Caps(std::uint16_t page, std::uint16_t usage, std::uint16_t in, std::uint16_t out,
                    std::uint16_t feature) {
  return {page, usage, in, out, feature};
}

// clang-format off
// A receiver with four top-level collections, each with its own report IDs.
const Bytes Receiver = {
    // Keyboard: input ID 2 (modifiers, reserved, 6 keys = 8 bytes), output ID 2 (5 LEDs + pad).
    0x05, 0x01, 0x09, 0x06, 0xA1, 0x01,
    0x85, 0x02,                                                             // Report ID 2
    0x05, 0x07, 0x19, 0xE0, 0x29, 0xE7, 0x15, 0x00, 0x25, 0x01, 0x75, 0x01, 0x95, 0x08,
    0x81, 0x02,                                                             // 8 x 1 bit modifiers
    0x95, 0x01, 0x75, 0x08, 0x81, 0x03,                                     // reserved byte
    0x05, 0x08, 0x19, 0x01, 0x29, 0x05, 0x95, 0x05, 0x75, 0x01, 0x91, 0x02, // 5 LEDs (output)
    0x95, 0x01, 0x75, 0x03, 0x91, 0x03,                                     // LED padding
    0x05, 0x07, 0x19, 0x00, 0x2A, 0xFF, 0x00, 0x15, 0x00, 0x26, 0xFF, 0x00,
    0x95, 0x06, 0x75, 0x08, 0x81, 0x00,                                     // 6 key codes
    0xC0,
    // Mouse: input ID 3 (5 buttons + pad, X/Y 16 bits, wheel), feature ID 1 (8 vendor bytes).
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01,
    0x85, 0x03, 0x09, 0x01, 0xA1, 0x00, // Report ID 3, Pointer, Collection (Physical)
    0x05, 0x09, 0x19, 0x01, 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x95, 0x05, 0x75, 0x01,
    0x81, 0x02,                                                             // 5 buttons
    0x95, 0x01, 0x75, 0x03, 0x81, 0x03,                                     // pad
    0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x16, 0x01, 0x80, 0x26, 0xFF, 0x7F,
    0x75, 0x10, 0x95, 0x02, 0x81, 0x06,                                     // X, Y
    0x09, 0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x01, 0x81, 0x06, // wheel
    0xC0,                                                                   // End Collection
    0x85, 0x01, 0x06, 0x00, 0xFF, 0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00,
    0x75, 0x08, 0x95, 0x08, 0xB1, 0x02,                                     // Feature ID 1: 8 bytes
    0xC0,
    // Consumer control: input ID 4, one 16-bit usage.
    0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01,
    0x85, 0x04, 0x19, 0x00, 0x2A, 0x3C, 0x02, 0x15, 0x00, 0x26, 0x3C, 0x02,
    0x95, 0x01, 0x75, 0x10, 0x81, 0x00,
    0xC0,
    // Vendor: input and output ID 5 (32 bytes each).
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01,
    0x85, 0x05, 0x09, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x20,
    0x81, 0x02,
    0x09, 0x03, 0x91, 0x02,                                                 // same size and count, output
    0xC0,
};
// clang-format on

// A boot mouse without report IDs: 3 buttons + 5 pad bits, X, Y.
const Bytes BootMouse = {
    0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, //
    0x05, 0x09, 0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75,
    0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x05, 0x81, 0x03, 0x05, 0x01, 0x09, 0x30,
    0x09, 0x31, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, //
    0xC0, 0xC0,
};

Bytes WithLongItems() {
  Bytes d = {0xFE, 0x03, 0x42, 0xAA, 0xBB, 0xCC}; // long item with 3 data bytes
  d.insert(d.end(), BootMouse.begin(), BootMouse.begin() + 6);
  d.insert(d.end(), {0xFE, 0x00, 0x10}); // empty long item inside the collection
  d.insert(d.end(), BootMouse.begin() + 6, BootMouse.end());
  return d;
}

// Descriptors of one top-level collection and what they give.
struct OneCollection {
  const char *name;
  Bytes descriptor;
  CollectionCaps caps;
};

} // namespace

TEST(ReportDescriptor, ReceiverWithFourCollections) {
  const auto caps = Parse(Receiver);
  ASSERT_TRUE(caps);
  ASSERT_EQ(caps->size(), 4u);
  EXPECT_EQ((*caps)[0], Caps(0x01, 0x06, 9, 2, 0));
  EXPECT_EQ((*caps)[1], Caps(0x01, 0x02, 7, 0, 9)); // the mouse: 9-byte feature report, ID 1
  EXPECT_EQ((*caps)[2], Caps(0x0C, 0x01, 3, 0, 0));
  EXPECT_EQ((*caps)[3], Caps(0xFF00, 0x01, 33, 33, 0));
}

TEST(ReportDescriptor, OneCollectionGivesItsLongestReports) {
  const OneCollection cases[] = {
      // The uhid check's virtual receiver.
      {"uhid receiver mouse",
       {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x02, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09,
        0x19, 0x01, 0x29, 0x03, 0x15, 0x00, 0x25, 0x01, 0x95, 0x03, 0x75, 0x01, 0x81, 0x02,
        0x95, 0x01, 0x75, 0x05, 0x81, 0x03, 0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x15, 0x81,
        0x25, 0x7F, 0x75, 0x08, 0x95, 0x02, 0x81, 0x06, 0xC0, 0x85, 0x01, 0x06, 0x00, 0xFF,
        0x09, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x08, 0xB1, 0x02, 0xC0},
       Caps(0x01, 0x02, 4, 0, 9)},
      {"without report IDs the length still counts the ID byte", BootMouse,
       Caps(0x01, 0x02, 4, 0, 0)},
      {"long items are skipped", WithLongItems(), Caps(0x01, 0x02, 4, 0, 0)},
      {"bits are rounded up to bytes: 9 bits of feature, 2 bytes + ID",
       {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x01, 0x95, 0x09, 0xB1, 0x02, 0xC0},
       Caps(0xFF00, 0x01, 0, 0, 3)},
      {"the longest report ID counts, summed over its fields",
       {
           0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, //
           0x85, 0x01, 0x95, 0x03, 0xB1, 0x02,                   // ID 1: 3 bytes
           0x85, 0x02, 0x95, 0x10, 0xB1, 0x02,                   // ID 2: 16 bytes
           0x85, 0x01, 0x95, 0x02, 0xB1, 0x02,                   // ID 1 again: 3 + 2 bytes
           0xC0,
       },
       Caps(0xFF00, 0x01, 0, 0, 17)},
      // Usage Page (Vendor), Usage (32-bit: page 0x0001, usage 0x0002), Collection (Application).
      {"an extended usage carries its own page",
       {0x06, 0x00, 0xFF, 0x0B, 0x02, 0x00, 0x01, 0x00, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81,
        0x02, 0xC0},
       Caps(0x01, 0x02, 2, 0, 0)},
      {"push and pop restore the global state",
       {
           0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x02, //
           0xA4,                                                       // Push
           0x75, 0x10, 0x95, 0x04, 0x06, 0x00, 0xFF, 0x81, 0x02,       //   64 bits of input
           0xB4,                                                       // Pop: 8 x 2 again
           0xB1, 0x02,                                                 // 16 bits of feature
           0xC0,
       },
       Caps(0x01, 0x02, 9, 0, 3)},
      {"push and pop restore the report ID",
       {
           0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x85, 0x01, //
           0xA4, 0x85, 0x02, 0x95, 0x05, 0xB1, 0x02, 0xB4,                         // ID 2: 5 bytes
           0xB1, 0x02, 0xB1, 0x02,                                                 // ID 1: 2 bytes
           0xC0,
       },
       Caps(0x01, 0x02, 0, 0, 6)},
      {"main items outside application collections are ignored",
       {
           0x75, 0x08, 0x95, 0x10, 0x81, 0x02, 0xB1, 0x02, // outside any collection
           0x09, 0x01, 0xA1, 0x00, 0x81, 0x02, 0xC0,       // a top-level physical collection
           0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x95, 0x01, 0x81, 0x02, 0xC0, 0x91, 0x02, // after it
       },
       Caps(0x01, 0x02, 2, 0, 0)},
      {"nested application collections belong to the top-level one",
       {
           0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, //
           0x09, 0x06, 0xA1, 0x01, 0x81, 0x02, 0xC0,                   // nested application
           0xA1, 0x02, 0xA1, 0x03, 0x81, 0x02, 0xC0, 0xC0,             // logical, report
           0xC0,
       },
       Caps(0x01, 0x02, 3, 0, 0)},
      {"zero-bit fields make no report",
       {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x00, 0xB1, 0x02, 0xC0},
       Caps(0x01, 0x02, 0, 0, 0)},
      {"the largest length that fits: 0xFFFE data bytes + ID",
       {0xA1, 0x01, 0x75, 0x08, 0x96, 0xFE, 0xFF, 0xB1, 0x02, 0xC0},
       Caps(0, 0, 0, 0, 0xFFFF)},
  };
  for (const OneCollection &c : cases) {
    const auto caps = Parse(c.descriptor);
    ASSERT_TRUE(caps) << c.name;
    ASSERT_EQ(caps->size(), 1u) << c.name;
    EXPECT_EQ((*caps)[0], c.caps) << c.name;
  }
}

TEST(ReportDescriptor, ToCapsFillsTheLeadingFiveFields) {
  const hid::HIDP_CAPS c = Caps(0x01, 0x02, 4, 0, 9).ToCaps();
  EXPECT_EQ(
      (std::array<int, 6>{c.UsagePage, c.Usage, c.InputReportByteLength, c.OutputReportByteLength,
                          c.FeatureReportByteLength, c.NumberLinkCollectionNodes}),
      (std::array<int, 6>{0x01, 0x02, 4, 0, 9, 0}));
}

TEST(ReportDescriptor, EmptyAndNullDescriptorsHaveNoCollections) {
  for (const std::size_t size : {0, 10}) {
    const auto none = ParseReportDescriptor(nullptr, size);
    ASSERT_TRUE(none) << size;
    EXPECT_TRUE(none->empty()) << size;
  }
}

TEST(ReportDescriptor, RejectsMalformedDescriptorsWhole) {
  Bytes deepPush(hid::MaxPushDepth + 1, 0xA4);
  // Report Size 0xFFFFFFFF x Report Count 0xFFFFFFFF: would overflow 32 bits.
  const Bytes huge = {0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97,
                      0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0xC0};
  // Many fields that each fit but together exceed the 16-bit length.
  Bytes many = {0xA1, 0x01, 0x75, 0x08, 0x96, 0x00, 0x40}; // 0x4000 bytes a field
  for (int i = 0; i < 4; ++i)
    many.insert(many.end(), {0x81, 0x02});
  many.push_back(0xC0);
  const struct {
    Bytes descriptor;
    DescriptorError error;
  } cases[] = {
      {{0x05}, DescriptorError::TruncatedItem},                   // 1 data byte missing
      {{0x06, 0x00}, DescriptorError::TruncatedItem},             // 2-byte item, 1 there
      {{0x27, 0x01, 0x02, 0x03}, DescriptorError::TruncatedItem}, // 4-byte item
      {{0xFE}, DescriptorError::TruncatedItem},
      {{0xFE, 0x05, 0x01, 0x00}, DescriptorError::TruncatedItem},
      {{Receiver.begin(), Receiver.begin() + 1}, DescriptorError::TruncatedItem},
      {{0xB4}, DescriptorError::PopWithoutPush},
      {{0xA4, 0xB4, 0xB4}, DescriptorError::PopWithoutPush},
      {Bytes(hid::MaxPushDepth, 0xA4), DescriptorError::None},
      {deepPush, DescriptorError::PushStackOverflow},
      {{0xC0}, DescriptorError::EndWithoutCollection},
      {{0xA1, 0x01, 0xC0, 0xC0}, DescriptorError::EndWithoutCollection},
      {{0xA1, 0x01}, DescriptorError::UnclosedCollection},
      {{Receiver.begin(), Receiver.end() - 1}, DescriptorError::UnclosedCollection},
      {huge, DescriptorError::ReportTooLong},
      {many, DescriptorError::ReportTooLong},
      {{0x85, 0x00}, DescriptorError::ReportIdZero},
      {{0x84}, DescriptorError::ReportIdZero}, // no data: value 0
      {{0x86, 0x00, 0x01}, DescriptorError::ReportIdTooLarge},
      {{0x85, 0xFF}, DescriptorError::None},
  };
  for (const auto &c : cases) {
    const auto r = ParseReportDescriptorDetailed(c.descriptor.data(), c.descriptor.size());
    EXPECT_EQ(r.Error, c.error) << testing::PrintToString(c.descriptor);
    if (r.Error != DescriptorError::None) {
      EXPECT_TRUE(r.Collections.empty()) << testing::PrintToString(c.descriptor);
    }
  }
  EXPECT_EQ(ParseReportDescriptorDetailed(deepPush.data(), deepPush.size()).ErrorOffset,
            hid::MaxPushDepth);
  EXPECT_STREQ(hid::DescriptorErrorName(DescriptorError::PopWithoutPush), "pop without push");
  EXPECT_STREQ(hid::DescriptorErrorName(DescriptorError::None), "none");
}

TEST(ReportDescriptor, EveryPrefixOfAGoodDescriptorParsesWholeOrFailsWhole) {
  for (std::size_t n = 0; n < Receiver.size(); ++n) {
    const auto r = ParseReportDescriptorDetailed(Receiver.data(), n);
    if (r.Error != DescriptorError::None) {
      EXPECT_TRUE(r.Collections.empty()) << n;
    }
  }
  // Cut after the keyboard collection: a whole descriptor of one collection.
  const auto one = ParseReportDescriptor(Receiver.data(), 67);
  ASSERT_TRUE(one);
  EXPECT_EQ(one->size(), 1u);
}

TEST(ReportDescriptor, RandomAndMutatedBytesNeverCrashAndFailWhole) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 40000; ++round) {
    Bytes d;
    if (round % 2 == 0) {
      d.resize(rng() % 64);
      for (auto &b : d)
        b = static_cast<std::uint8_t>(rng());
    } else {
      d = Receiver;
      for (int k = 0; k < 3; ++k)
        d[rng() % d.size()] = static_cast<std::uint8_t>(rng());
    }
    const auto r = ParseReportDescriptorDetailed(d.data(), d.size());
    if (r.Error != DescriptorError::None) {
      EXPECT_TRUE(r.Collections.empty());
    }
  }
}
