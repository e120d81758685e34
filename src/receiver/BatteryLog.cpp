#include "receiver/BatteryLog.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <optional>

namespace receiver {
namespace {

constexpr std::array<std::uint32_t, 256> CrcTable = [] {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k)
      c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}();

std::uint32_t Crc32(std::string_view text) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (const char c : text)
    crc = CrcTable[(crc ^ static_cast<unsigned char>(c)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

constexpr char Letters[] = {'L', 'C', 'D', 'N'};
// Levels come from four bits, maxima from the gauge: anything wider was never written by us.
constexpr int MaxField = 255;
constexpr std::size_t CrcDigits = 8;

std::string Hex8(std::uint32_t value) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string text(CrcDigits, '0');
  for (std::size_t i = CrcDigits; i-- > 0; value >>= 4)
    text[i] = digits[value & 0xF];
  return text;
}

// A decimal field as we write it: digits without a leading zero or plus sign, '-' only where
// allowed. Anything else (spaces, "+1", "007") is no field of ours.
template <typename T> std::optional<T> Field(std::string_view text, bool allowMinus) {
  if (text.empty()) return std::nullopt;
  const std::size_t digitsAt = text[0] == '-' ? 1 : 0;
  if (digitsAt == 1 && !allowMinus) return std::nullopt;
  if (text.size() == digitsAt || (text[digitsAt] == '0' && text.size() > digitsAt + 1))
    return std::nullopt;
  if (text == "-0") return std::nullopt;
  T value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<BatteryRecord> ParseLine(std::string_view line) {
  const std::size_t last = line.rfind(' ');
  if (last == std::string_view::npos || line.size() - last - 1 != CrcDigits) return std::nullopt;
  const std::string_view body = line.substr(0, last);
  if (Hex8(Crc32(body)) != line.substr(last + 1)) return std::nullopt;
  std::array<std::string_view, 4> fields;
  std::size_t begin = 0;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const std::size_t end = i + 1 < fields.size() ? body.find(' ', begin) : body.size();
    if (end == std::string_view::npos) return std::nullopt;
    fields[i] = body.substr(begin, end - begin);
    begin = end + 1;
  }
  BatteryRecord record;
  const auto seconds = Field<std::int64_t>(fields[0], true);
  const auto level = Field<int>(fields[2], true);
  const auto max = Field<int>(fields[3], false);
  if (!seconds || !level || !max || fields[1].size() != 1) return std::nullopt;
  bool known = false;
  for (std::size_t i = 0; i < std::size(Letters); ++i)
    if (fields[1][0] == Letters[i]) {
      record.Event = static_cast<BatteryEvent>(i);
      known = true;
    }
  if (!known || *max > MaxField) return std::nullopt;
  // A reading has a level within its gauge; the other events have none.
  if (record.Event == BatteryEvent::Level ? (*level < 0 || *level > *max || *max < 1)
                                          : *level != -1)
    return std::nullopt;
  record.UnixSeconds = *seconds;
  record.Level = *level;
  record.Max = *max;
  return record;
}

} // namespace

std::string SignedBatteryLine(std::string_view body) {
  return std::string(body) + ' ' + Hex8(Crc32(body)) + '\n';
}

std::string FormatBatteryLine(const BatteryRecord &record) {
  return SignedBatteryLine(std::to_string(record.UnixSeconds) + ' ' +
                           Letters[static_cast<std::size_t>(record.Event) % std::size(Letters)] +
                           ' ' + std::to_string(record.Level) + ' ' + std::to_string(record.Max));
}

std::string FormatBatteryLog(const std::vector<BatteryRecord> &records) {
  std::string text(BatteryLogHeader);
  for (const BatteryRecord &record : records)
    text += FormatBatteryLine(record);
  return text;
}

BatteryLog ParseBatteryLog(std::string_view bytes) {
  BatteryLog log;
  std::size_t at = 0;
  bool header = true;
  while (at < bytes.size()) {
    const std::size_t end = bytes.find('\n', at);
    const bool whole = end != std::string_view::npos;
    const std::size_t next = whole ? end + 1 : bytes.size();
    const std::string_view line = bytes.substr(at, (whole ? end : bytes.size()) - at);
    bool good = false;
    if (header) {
      good = whole && line == BatteryLogHeader.substr(0, BatteryLogHeader.size() - 1);
    } else if (whole) {
      if (const std::optional<BatteryRecord> record = ParseLine(line)) {
        log.Records.push_back(*record);
        good = true;
      }
    }
    if (!good) {
      // Only the last line may be bad; a torn header is a store that was never written to.
      if (next < bytes.size()) {
        log.Records.clear();
        log.WholeBytes = 0;
        log.Damaged = true;
      } else if (header && (whole || !BatteryLogHeader.starts_with(line))) {
        log.Damaged = true;
      }
      return log;
    }
    header = false;
    at = next;
    log.WholeBytes = at;
  }
  return log;
}

namespace {

// Readings that only waver: a step away and straight back (4, 3, 4) says nothing a battery's
// periods or its rate need, and a wavering level makes most of the readings of a long history.
// The step away and the return go; the reading before them stays.
std::vector<BatteryRecord> WithoutWavering(const std::vector<BatteryRecord> &records) {
  std::vector<BatteryRecord> kept;
  kept.reserve(records.size());
  // Where the last two readings of the current mouse stand in `kept`.
  std::optional<std::size_t> before, last;
  for (const BatteryRecord &record : records) {
    if (record.Event == BatteryEvent::NewMouse) before = last = std::nullopt;
    if (record.Event == BatteryEvent::Level && before && last) {
      const BatteryRecord &a = kept[*before];
      const BatteryRecord &b = kept[*last];
      if (a.Max == record.Max && b.Max == record.Max && a.Level == record.Level &&
          (b.Level == a.Level + 1 || b.Level == a.Level - 1)) {
        kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(*last));
        last = before;
        before = std::nullopt;
        for (std::size_t i = *last; i-- > 0;)
          if (kept[i].Event == BatteryEvent::NewMouse)
            break;
          else if (kept[i].Event == BatteryEvent::Level) {
            before = i;
            break;
          }
        continue;
      }
    }
    kept.push_back(record);
    if (record.Event == BatteryEvent::Level) {
      before = last;
      last = kept.size() - 1;
    }
  }
  return kept;
}

} // namespace

std::vector<BatteryRecord> CompactBatteryHistory(const std::vector<BatteryRecord> &records,
                                                 std::size_t maxRecords) {
  std::vector<BatteryRecord> kept;
  kept.reserve(records.size());
  const BatteryRecord *lastReading = nullptr;
  // Connection events tell the recent past only; older ones go first.
  const std::size_t recentFrom =
      records.size() > maxRecords / 2 ? records.size() - maxRecords / 2 : 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const BatteryRecord &record = records[i];
    switch (record.Event) {
    case BatteryEvent::Level:
      if (lastReading && lastReading->Level == record.Level && lastReading->Max == record.Max)
        continue;
      lastReading = &record;
      break;
    case BatteryEvent::NewMouse:
      lastReading = nullptr;
      break;
    case BatteryEvent::Connected:
    case BatteryEvent::Disconnected:
      if (i < recentFrom) continue;
      break;
    }
    kept.push_back(record);
  }
  if (kept.size() > maxRecords) kept = WithoutWavering(kept);
  if (kept.size() > maxRecords)
    kept.erase(kept.begin(), kept.end() - static_cast<std::ptrdiff_t>(maxRecords));
  return kept;
}

} // namespace receiver
