// Writes the theme-file fuzzer's seeds: files made by the writer and a few damaged ones.
//
//   ./build-fuzz/fuzz/make_theme_corpus fuzz/corpus_theme_file
#include "skin/theme/BitmapFile.h"
#include "skin/theme/ThemeFile.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

using skin::theme::ThemeEntry;
using Bytes = std::vector<std::uint8_t>;

Bytes Bitmap(int width, int height) {
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
  for (std::size_t i = 0; i < pixels.size(); ++i)
    pixels[i] = static_cast<std::uint32_t>(i * 0x0A1B2C) & 0xFFFFFF;
  return skin::theme::WriteBitmapFile24(width, height, pixels);
}

bool Save(const std::string &folder, const char *name, const Bytes &bytes) {
  std::ofstream out(folder + "/" + name, std::ios::binary);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

void SetU32(Bytes &b, std::size_t at, std::uint32_t v) {
  for (std::size_t i = 0; i < 4; ++i)
    b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_theme_corpus FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::vector<ThemeEntry> style = {
      ThemeEntry::Image("ButtonImage", Bitmap(12, 3)),
      ThemeEntry::Boolean("ButtonTransparentBool", true),
      ThemeEntry::Integer("TitleBarButtonRightOffsetInt", -2),
      ThemeEntry::Integer("FormBackgroundColor", 0xE7E7E7),
      ThemeEntry::Image("ProgressBarImage", Bitmap(1, 10)),
      ThemeEntry::Text("Author", "seed"),
  };
  const Bytes full = *skin::theme::WriteThemeFile(style);
  const Bytes empty = *skin::theme::WriteThemeFile(std::vector<ThemeEntry>{});
  const Bytes numbers = *skin::theme::WriteThemeFile(
      std::vector<ThemeEntry>{ThemeEntry::Integer("FormMinWidthInt", 130),
                              ThemeEntry::Boolean("TitleBarButtonTransparentBool", false)});

  // The header of the first entry follows the file header; its next offset is at 73.
  Bytes loop = full;
  SetU32(loop, 24 + 73, 24);
  Bytes outside = full;
  SetU32(outside, 24 + 69, 0x7FFFFFFF);
  Bytes truncated(full.begin(), full.begin() + static_cast<long>(full.size() / 2));

  // Entries that all point at the picture of the first: what is shared counts once per entry.
  std::vector<ThemeEntry> many;
  for (int i = 0; i < 8; ++i)
    many.push_back(ThemeEntry::Image("Picture" + std::to_string(i), Bitmap(4, 4)));
  Bytes shared = *skin::theme::WriteThemeFile(many);
  const std::uint32_t firstData = 24 + 77;
  for (std::size_t at = 24 + 77 + many[0].Data.size(); at + 77 <= shared.size();
       at += 77 + many[0].Data.size())
    SetU32(shared, at + 65, firstData);

  // The sizes the window draws with at the ends of their ranges, a colour at its most.
  const Bytes limits = *skin::theme::WriteThemeFile(std::vector<ThemeEntry>{
      ThemeEntry::Integer("FormBorderWidthInt", 32), ThemeEntry::Integer("FormRoundCornerInt", -1),
      ThemeEntry::Integer("FormMinWidthInt", 4096),
      ThemeEntry::Integer("TitleBarButtonLeftOffsetInt", -256),
      ThemeEntry::Integer("TitleBarButtonTopInt", 256),
      ThemeEntry::Integer("FormBorderColor", -1)});

  bool ok = Save(folder, "style", full) && Save(folder, "empty", empty) &&
            Save(folder, "numbers", numbers) && Save(folder, "loop", loop) &&
            Save(folder, "data_outside", outside) && Save(folder, "truncated", truncated) &&
            Save(folder, "shared_pictures", shared) && Save(folder, "number_limits", limits);
  return ok ? 0 : 1;
}
