#pragma once

#include "framework/Colors.h"
#include "skin/TsuiThemeFileReader.h"

#include <QImage>

#include <memory>
#include <string_view>

namespace skin {

// The reads of a loaded theme file by the style table's key names, each with its neutral value
// for an entry the file lacks or holds with another kind.
class TsuiFileThemeMgr {
public:
  explicit TsuiFileThemeMgr(std::unique_ptr<TsuiThemeFileReader> reader)
      : m_reader(std::move(reader)) {}

  // `bitmap` is left as it is when the entry is missing; the answer says whether it was there.
  bool GetImage(std::string_view key, QImage &bitmap) const;
  // Part `part` (from 1) of `count` equal columns, as the built-in strips are cut; count 0 takes
  // the whole image. `bitmap` is left as it is for a part that does not exist.
  bool GetImagePart(std::string_view key, QImage &bitmap, int part, int count) const;
  // style::AbsentColor and -1 for a missing entry; callers test for them.
  framework::TColor GetColor(std::string_view key) const;
  int GetInt(std::string_view key) const;
  bool GetBool(std::string_view key) const;

  const TsuiThemeFileReader &Reader() const { return *m_reader; }

private:
  std::unique_ptr<TsuiThemeFileReader> m_reader;
};

} // namespace skin
