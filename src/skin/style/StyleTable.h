#pragma once

#include "skin/SkinTypes.h"
#include "skin/style/StyleEntry.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace skin::style {

// The built-in styles' entries as data. Lookups answer nothing for a style outside MacOS to
// BlueGlass, for a number that is no entry, and for an entry of another kind.

// All entries in number order.
const std::array<EntryInfo, StyleEntryCount> &Entries();
std::optional<EntryInfo> FindEntry(StyleEntry entry);
// Theme files address entries by key.
std::optional<EntryInfo> FindEntry(std::string_view key);

// The bitmap resource name of an image entry; empty where the style has none.
std::string ImageResource(TsuiUIStyle style, StyleEntry entry);

// A colour (0x00BBGGRR), integer or boolean (0 or 1) entry's value.
std::optional<std::int64_t> EntryValue(TsuiUIStyle style, StyleEntry entry);

} // namespace skin::style
