#include "framework/text/Json.h"

#include "framework/text/Utf.h"

#include <set>
#include <vector>

namespace framework::text {

std::string JsonString(std::string_view bytes) {
  static constexpr char Digits[] = "0123456789abcdef";
  std::string out = "\"";
  out.reserve(bytes.size() + 2);
  for (std::size_t at = 0; at < bytes.size();) {
    const char32_t c = DecodeUtf8(bytes, at);
    switch (c) {
    case '"':
      out += "\\\"";
      break;
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    case '\t':
      out += "\\t";
      break;
    default:
      if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
        out += "\\u00";
        out += Digits[c >> 4];
        out += Digits[c & 0xF];
      } else {
        AppendUtf8(out, c);
      }
    }
  }
  out += '"';
  return out;
}

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Four hex digits at `at`, moved past them; none when they are not there.
std::optional<char32_t> Unit(std::string_view json, std::size_t &at) {
  if (at + 4 > json.size()) return std::nullopt;
  char32_t unit = 0;
  for (std::size_t k = 0; k < 4; ++k) {
    const int digit = HexValue(json[at + k]);
    if (digit < 0) return std::nullopt;
    unit = unit * 16 + static_cast<char32_t>(digit);
  }
  at += 4;
  return unit;
}

// The string whose opening quote is at `at`, decoded; `at` moves past the closing quote. Keys
// written with different escapes ("a", "\u0061") decode alike.
std::string DecodeString(std::string_view json, std::size_t &at) {
  std::string text;
  for (++at; at < json.size() && json[at] != '"';) {
    if (json[at] != '\\') {
      text += json[at++];
      continue;
    }
    if (++at >= json.size()) break;
    const char escape = json[at++];
    switch (escape) {
    case 'b':
      text += '\b';
      break;
    case 'f':
      text += '\f';
      break;
    case 'n':
      text += '\n';
      break;
    case 'r':
      text += '\r';
      break;
    case 't':
      text += '\t';
      break;
    case 'u': {
      char32_t c = Unit(json, at).value_or(Replacement);
      if (c >= 0xD800 && c <= 0xDBFF) {
        std::size_t next = at + 2;
        const auto low = at + 1 < json.size() && json[at] == '\\' && json[at + 1] == 'u'
                             ? Unit(json, next)
                             : std::nullopt;
        if (low && *low >= 0xDC00 && *low <= 0xDFFF) {
          c = 0x10000 + ((c - 0xD800) << 10) + (*low - 0xDC00);
          at = next;
        } else {
          c = Replacement;
        }
      } else if (c >= 0xDC00 && c <= 0xDFFF) {
        c = Replacement;
      }
      AppendUtf8(text, c);
      break;
    }
    default: // '"', '\\', '/'
      text += escape;
    }
  }
  ++at;
  return text;
}

} // namespace

std::optional<DuplicateKey> FindDuplicateKey(std::string_view json) {
  struct Level {
    bool Object = false;
    std::set<std::string> Keys;
    std::string Key;    // objects: the member being read
    bool Naming = true; // objects: the next string is a key
    std::size_t Index = 0;
  };
  std::vector<Level> levels;
  // Joined only for the answer: a path kept per level would cost the square of the depth.
  const auto placeOf = [&](std::size_t depth) {
    std::string where;
    for (std::size_t k = 0; k < depth; ++k) {
      const Level &level = levels[k];
      if (!level.Object)
        where += "[" + std::to_string(level.Index) + "]";
      else
        where += (where.empty() ? "" : ".") + level.Key;
    }
    return where;
  };
  for (std::size_t at = 0; at < json.size();) {
    const char c = json[at];
    if (c == '{' || c == '[') {
      // Deeper than any reader takes; each level costs memory.
      if (levels.size() >= MaxJsonDepth) return std::nullopt;
      levels.push_back(Level{c == '{', {}, {}, true, 0});
      ++at;
    } else if (c == '}' || c == ']') {
      if (!levels.empty()) levels.pop_back();
      ++at;
    } else if (c == ',') {
      if (!levels.empty()) {
        ++levels.back().Index;
        levels.back().Naming = true;
      }
      ++at;
    } else if (c == ':') {
      if (!levels.empty()) levels.back().Naming = false;
      ++at;
    } else if (c == '"') {
      std::string text = DecodeString(json, at);
      if (!levels.empty() && levels.back().Object && levels.back().Naming) {
        Level &object = levels.back();
        if (object.Keys.contains(text)) return DuplicateKey{placeOf(levels.size() - 1), text};
        object.Key = text;
        object.Keys.insert(std::move(text));
        object.Naming = false;
      }
    } else {
      ++at; // white space, numbers, true, false, null
    }
  }
  return std::nullopt;
}

} // namespace framework::text
