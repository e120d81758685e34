#pragma once

#include "skin/style/StyleEntry.h"

#include <QImage>

#include <cstdint>

namespace skin::style {

// Entries that stand in for a built-in style: those of a loaded theme file. Absent entries read as
// no image (the bitmap stays unchanged), -1 for colours and integers, false for booleans.
class ThemeEntries {
public:
  virtual ~ThemeEntries() = default;

  virtual bool Loaded() const = 0;
  virtual bool Image(StyleEntry entry, QImage &bitmap) const = 0;
  // Colours (0x00BBGGRR) and integers alike.
  virtual std::int64_t Number(StyleEntry entry) const = 0;
  virtual bool Bool(StyleEntry entry) const = 0;
};

} // namespace skin::style
