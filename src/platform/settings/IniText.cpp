#include "platform/settings/IniText.h"

#include "framework/text/Utf.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace platform::ini {
namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";
// QSettings keeps an escape in one 16-bit character.
constexpr std::uint32_t MaxEscapedChar = 0xFFFF;

// The one-letter escapes, both ways.
struct NamedEscape {
  char Letter;
  char Char;
};
constexpr std::array<NamedEscape, 7> NamedEscapes = {
    {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'}, {'r', '\r'}, {'t', '\t'}, {'v', '\v'}}};

struct Line {
  std::size_t Begin = 0; // first byte
  std::size_t End = 0;   // the terminator, or the end of the text
  std::size_t Next = 0;  // the first byte of the next line
};

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back()))
    s.remove_suffix(1);
  return s;
}

bool isTopLevelName(std::string_view name) {
  constexpr std::string_view general = "general";
  if (name.size() != general.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if ((name[i] | 0x20) != general[i]) return false;
  return true;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A numeric escape's digits from `i` on, as many as there are; none when the value leaves the
// 16-bit range or names half of a surrogate pair.
std::optional<std::uint32_t> numericEscape(std::string_view s, std::size_t &i, int base) {
  std::uint32_t value = 0;
  while (i < s.size()) {
    const int digit = hexDigit(s[i]);
    if (digit < 0 || digit >= base) break;
    value = value * static_cast<std::uint32_t>(base) + static_cast<std::uint32_t>(digit);
    if (value > MaxEscapedChar) return std::nullopt;
    ++i;
  }
  if (value >= 0xD800 && value <= 0xDFFF) return std::nullopt;
  return value;
}

std::optional<std::string> decodeValue(std::string_view raw) {
  std::string out;
  std::size_t kept = 0; // trailing white space outside quotes is dropped
  bool quoted = false;
  std::size_t i = 0;
  while (i < raw.size() && isBlank(raw[i]))
    ++i;
  while (i < raw.size()) {
    const char c = raw[i++];
    if (c == '"') {
      quoted = !quoted;
    } else if (c == '\\') {
      if (i == raw.size()) return std::nullopt;
      const char e = raw[i++];
      if (const auto named = std::ranges::find(NamedEscapes, e, &NamedEscape::Letter);
          named != NamedEscapes.end()) {
        out.push_back(named->Char);
      } else if (e == '"' || e == '\'' || e == '\\' || e == '?') {
        out.push_back(e);
      } else {
        const int base = e == 'x' ? 16 : 8;
        if (base == 8) --i; // an octal escape's first digit
        if (i == raw.size() || hexDigit(raw[i]) < 0 || hexDigit(raw[i]) >= base)
          return std::nullopt;
        const auto value = numericEscape(raw, i, base);
        if (!value) return std::nullopt;
        framework::text::AppendUtf8(out, *value);
      }
    } else if (!quoted && c == ',') {
      return std::nullopt; // a list
    } else if (!quoted && c == ';') {
      break; // a comment
    } else {
      out.push_back(c);
      if (quoted || !isBlank(c)) kept = out.size();
      continue;
    }
    kept = out.size();
  }
  if (quoted) return std::nullopt;
  out.resize(kept);
  if (out.starts_with("@@")) return out.substr(1);
  // QSettings writes a string with a NUL character so.
  constexpr std::string_view wrapped = "@String(";
  if (out.starts_with(wrapped) && out.ends_with(')'))
    return out.substr(wrapped.size(), out.size() - wrapped.size() - 1);
  // "@ByteArray(…)", "@Variant(…)" and the like hold other types.
  if (out.starts_with('@') && out.ends_with(')')) return std::nullopt;
  return out;
}

struct Scan {
  std::optional<Line> Value;         // the top-level line of the key, the last one
  std::optional<Line> GeneralHeader; // the first "[General]"
  std::size_t BodyBegin = 0;         // after a byte-order mark
};

Scan scan(std::string_view text, std::string_view key) {
  Scan result;
  if (text.starts_with(Bom)) result.BodyBegin = Bom.size();
  bool topLevel = true;
  std::size_t pos = result.BodyBegin;
  while (pos < text.size()) {
    Line line{pos, text.find_first_of("\r\n", pos), 0};
    if (line.End == std::string_view::npos) line.End = text.size();
    line.Next = line.End;
    if (line.Next < text.size()) line.Next += text.substr(line.Next).starts_with("\r\n") ? 2 : 1;
    pos = line.Next;

    const std::string_view content = trim(text.substr(line.Begin, line.End - line.Begin));
    if (content.starts_with('[')) {
      // A header without its ']' still names its section, as QSettings reads it.
      const std::string_view name = content.substr(1, content.find(']') - 1);
      topLevel = isTopLevelName(trim(name));
      if (topLevel && !result.GeneralHeader) result.GeneralHeader = line;
      continue;
    }
    if (!topLevel || content.starts_with(';')) continue;
    const std::size_t equals = content.find('=');
    if (equals != std::string_view::npos && trim(content.substr(0, equals)) == key)
      result.Value = line;
  }
  return result;
}

// QSettings' escaping of a string value.
std::string encodeValue(std::string_view data) {
  std::string out;
  if (data.starts_with('@')) out.push_back('@');
  bool needsQuotes = false;
  bool escapeNextIfHexDigit = false;
  const auto hexEscape = [&out](unsigned char c) {
    constexpr std::string_view digits = "0123456789abcdef";
    out += "\\x";
    if (c >= 0x10) out.push_back(digits[c >> 4]);
    out.push_back(digits[c & 0x0F]);
  };
  for (const char c : data) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == ';' || c == ',' || c == '=') needsQuotes = true;
    if (escapeNextIfHexDigit && hexDigit(c) >= 0) {
      hexEscape(byte);
      continue;
    }
    escapeNextIfHexDigit = false;
    if (const auto named = std::ranges::find(NamedEscapes, c, &NamedEscape::Char);
        named != NamedEscapes.end()) {
      out.push_back('\\');
      out.push_back(named->Letter);
    } else if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (c == '\0') {
      out += "\\0";
      escapeNextIfHexDigit = true;
    } else if (byte <= 0x1F) {
      hexEscape(byte);
      escapeNextIfHexDigit = true;
    } else {
      out.push_back(c);
    }
  }
  if (needsQuotes || (!out.empty() && (out.front() == ' ' || out.back() == ' ')))
    out = '"' + out + '"';
  return out;
}

} // namespace

std::optional<std::string> ReadTopLevelString(std::string_view text, std::string_view key) {
  const Scan found = scan(text, key);
  if (!found.Value) return std::nullopt;
  const Line &line = *found.Value;
  const std::string_view content = text.substr(line.Begin, line.End - line.Begin);
  return decodeValue(content.substr(content.find('=') + 1));
}

std::string WithTopLevelString(std::string_view text, std::string_view key, std::string_view data) {
  const std::string entry = std::string(key) + "=" + encodeValue(data);
  const Scan found = scan(text, key);
  std::string out(text);
  if (found.Value) {
    out.replace(found.Value->Begin, found.Value->End - found.Value->Begin, entry);
  } else if (found.GeneralHeader) {
    const Line &header = *found.GeneralHeader;
    // A header on the last line without a line end gets one.
    out.insert(header.Next, header.Next == header.End ? "\n" + entry : entry + "\n");
  } else {
    out.insert(found.BodyBegin, "[General]\n" + entry + "\n");
  }
  return out;
}

} // namespace platform::ini
