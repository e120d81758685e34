#pragma once

#include "skin/style/BitmapCatalogue.h"

#include <QImage>
#include <QString>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace skin::style {

// The catalogue's pictures, each decoded when first asked for and kept with its style, so that
// starting the program decodes only what its window draws.
class BitmapCache {
public:
  // Pictures are the files "<root>/<resource name>.bmp".
  explicit BitmapCache(QString root);

  // Null for a name outside the catalogue and for a picture that cannot be read.
  QImage Bitmap(std::string_view resource);
  // Pictures looked up so far, readable or not.
  std::size_t Loaded() const;
  // Forgets every picture: each is read again at its next use.
  void Clear();

private:
  QString m_root;
  // One set per built-in style, the shared pictures last.
  std::array<std::map<std::string, QImage, std::less<>>, BuiltInStyleCount + 1> m_sets;
};

// The pictures compiled into the program.
BitmapCache &BuiltInBitmaps();

} // namespace skin::style
