#include "skin/theme/LittleEndian.h"
#include "skin/theme/ThemeFile.h"

#include <set>

namespace skin::theme {

namespace {

constexpr std::size_t HeaderBytes = MinHeaderBytes;

bool Writable(const ThemeEntry &entry) {
  return entry.Name.size() < NameBytes && entry.Name.find('\0') == std::string::npos &&
         CheckEntryData(entry.Name, entry.Kind, entry.Data) == ThemeError::None;
}

} // namespace

// Each entry header is followed by its data, and the next header by the end of that data.
std::optional<std::vector<std::uint8_t>> WriteThemeFile(std::span<const ThemeEntry> entries) {
  if (entries.size() > MaxEntries) return std::nullopt;
  std::set<std::string_view> names;
  EntryTotals totals;
  for (const ThemeEntry &entry : entries) {
    if (!Writable(entry) || !names.insert(entry.Name).second ||
        totals.Add(entry.Kind, entry.Data) != ThemeError::None)
      return std::nullopt;
  }
  const std::size_t total = HeaderBytes + totals.Bytes;

  std::vector<std::uint8_t> file(Signature.begin(), Signature.end());
  file.resize(SignatureBytes, 0);
  AppendU32(file, HeaderBytes);
  AppendU32(file, 0);
  AppendU32(file, entries.empty() ? 0 : HeaderBytes);
  file.reserve(total);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ThemeEntry &entry = entries[i];
    const std::size_t dataAt = file.size() + EntryHeaderBytes;
    const std::size_t next = dataAt + entry.Data.size();
    file.insert(file.end(), entry.Name.begin(), entry.Name.end());
    file.resize(file.size() + NameBytes - entry.Name.size(), 0);
    file.push_back(static_cast<std::uint8_t>(entry.Kind));
    AppendU32(file, static_cast<std::uint32_t>(dataAt));
    AppendU32(file, static_cast<std::uint32_t>(entry.Data.size()));
    AppendU32(file, i + 1 < entries.size() ? static_cast<std::uint32_t>(next) : 0);
    file.insert(file.end(), entry.Data.begin(), entry.Data.end());
  }
  return file;
}

} // namespace skin::theme
