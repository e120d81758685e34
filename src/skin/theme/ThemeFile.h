#pragma once

// Theme files: a style's entries (bitmaps, numbers, booleans, text) under their key names.
//
// Layout, little-endian throughout:
//   bytes 0..11   signature "Marbelo_TB", padded with zero bytes
//   bytes 12..15  header length (u32): nothing else lies below it
//   bytes 16..19  unused (written as 0)
//   bytes 20..23  file offset of the first entry header (u32; 0: no entries)
// then a chain of entry headers of EntryHeaderBytes each:
//   bytes 0..63   name, zero-terminated
//   byte  64      kind (ThemeEntryKind)
//   bytes 65..68  file offset of the entry's data (u32)
//   bytes 69..72  data size in bytes (u32)
//   bytes 73..76  file offset of the next entry header (u32; 0 ends the chain)
// Image data is a bitmap file image ("BM..."); integer (also colour) and boolean data are a
// 32-bit integer; text data is raw characters.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace skin::theme {

inline constexpr std::string_view Signature = "Marbelo_TB";
inline constexpr std::size_t SignatureBytes = 12;
// The signature check reads this much of a file.
inline constexpr std::size_t SignatureReadBytes = 16;
inline constexpr std::size_t HeaderLengthOffset = 12;
inline constexpr std::size_t FirstEntryOffset = 20;
// The header fields above end here; a shorter declared header is no header.
inline constexpr std::size_t MinHeaderBytes = 24;
inline constexpr std::size_t NameBytes = 64;
inline constexpr std::size_t EntryHeaderBytes = 77;

// Named limits: a theme holds a few dozen small pictures and numbers. Anything beyond these is
// damage or an attack, never a theme.
inline constexpr std::size_t MaxFileBytes = 64u << 20;
inline constexpr std::size_t MaxEntries = 1024;
inline constexpr std::size_t MaxEntryBytes = 16u << 20;
inline constexpr std::int64_t MaxBitmapSide = 8192;
inline constexpr std::int64_t MaxBitmapPixels = 4 << 20;
// Entries may share data, but each is decoded and kept as if it were its own: the pictures of all
// image entries together, and all entries written out each with its own data, stay below these.
inline constexpr std::int64_t MaxThemePixels = 16 << 20;
inline constexpr std::size_t MaxEntriesBytes = MaxFileBytes;

// What the program says about any file it refuses; the detail (ThemeErrorName, offset) is for
// the command line.
inline constexpr std::string_view InvalidSkinFileMessage = "Invalid skin file for Marbelo!";

enum class ThemeEntryKind : std::uint8_t { Image = 0, Integer = 1, Boolean = 2, Text = 3 };

struct ThemeEntry {
  std::string Name;
  ThemeEntryKind Kind = ThemeEntryKind::Integer;
  std::vector<std::uint8_t> Data;

  static ThemeEntry Image(std::string name, std::vector<std::uint8_t> bitmapFile);
  static ThemeEntry Integer(std::string name, std::int32_t value);
  static ThemeEntry Boolean(std::string name, bool value);
  static ThemeEntry Text(std::string name, std::string_view text);

  // The 32-bit value of an integer or boolean entry.
  std::int32_t Value() const;

  bool operator==(const ThemeEntry &) const = default;
};

// A whole theme file's entries in file order; names are unique.
struct ThemeContents {
  std::vector<ThemeEntry> Entries;

  // The entry of that name when it has that kind.
  const ThemeEntry *Find(std::string_view name, ThemeEntryKind kind) const;

  bool operator==(const ThemeContents &) const = default;
};

// Why a file was refused.
enum class ThemeError {
  None,
  FileTooLarge,     // more than MaxFileBytes
  BadSignature,     // shorter than the signature read, or another signature
  BadHeaderLength,  // shorter than its own fields, or longer than the file
  EntryOutsideFile, // an entry header runs past the end of the file
  EntryInHeader,    // an entry header overlaps the file header
  EntryLoop,        // the chain comes back to an entry it visited
  TooManyEntries,   // more than MaxEntries
  UnterminatedName, // no zero byte among the name's bytes
  DuplicateName,    // two entries of one name
  UnknownKind,      // a kind byte other than 0 to 3
  DataTooLarge,     // more than MaxEntryBytes
  DataOutsideFile,  // the data runs past the end of the file
  DataInHeader,     // the data overlaps the file header
  BadValueSize,     // an integer or boolean whose data is not 4 bytes
  BadBitmap,        // image data that is not a bitmap file we can read
  BitmapTooLarge,   // a bitmap declaring more than MaxBitmapSide or MaxBitmapPixels
  NumberOutOfRange, // a number the drawing cannot take (ThemeNumberRange)
  EntriesTooLarge,  // the entries, each with its own data, together more than MaxEntriesBytes
  PicturesTooLarge, // the image entries together more than MaxThemePixels
};

const char *ThemeErrorName(ThemeError error);

struct ThemeParse {
  ThemeError Error = ThemeError::None;
  // The offending header field or entry header; for a chain that goes astray, the offset field
  // that points there.
  std::size_t ErrorOffset = 0;
  ThemeContents Contents; // empty whenever Error is not None
};

// Parses untrusted bytes. Never reads outside `bytes`. A damaged file gives an Error and no
// entries, never a partial result.
ThemeParse ParseThemeFile(std::span<const std::uint8_t> bytes);

// What the reader says about an entry's name, kind and data, wherever they lie: DataTooLarge,
// BadValueSize, BadBitmap, BitmapTooLarge, NumberOutOfRange or None.
ThemeError CheckEntryData(std::string_view name, ThemeEntryKind kind,
                          std::span<const std::uint8_t> data);

// What the entries add to the totals that MaxEntriesBytes and MaxThemePixels bound, counted as the
// writer writes them: each entry with its own data.
struct EntryTotals {
  std::size_t Bytes = 0;
  std::int64_t Pixels = 0;

  // EntriesTooLarge or PicturesTooLarge when the entry would pass a limit (the totals then stay as
  // they were), else None. `data` must be what CheckEntryData accepted.
  ThemeError Add(ThemeEntryKind kind, std::span<const std::uint8_t> data);
};

// True when the file's first 16 bytes carry the signature (the text up to the first zero byte of
// the first 12).
bool HasThemeSignature(std::span<const std::uint8_t> bytes);

// The file that holds `entries` in this order: what ParseThemeFile accepts and gives back as it
// was. Nothing when an entry cannot be written so (a name that is empty, too long or holds a
// zero byte, a duplicate name, data the reader would refuse, too many entries).
std::optional<std::vector<std::uint8_t>> WriteThemeFile(std::span<const ThemeEntry> entries);

// Raised for a file that is refused: what() is InvalidSkinFileMessage.
class EInvalidSkinFile : public std::runtime_error {
public:
  explicit EInvalidSkinFile(std::string detail)
      : std::runtime_error(std::string(InvalidSkinFileMessage)), m_detail(std::move(detail)) {}
  const std::string &Detail() const { return m_detail; }

private:
  std::string m_detail;
};

// "entry loop at offset 77" and the like.
std::string DescribeRefusal(const ThemeParse &parse);

} // namespace skin::theme
