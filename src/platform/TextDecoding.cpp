#include "platform/TextDecoding.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

namespace platform {
namespace {

const char *iconvName(int codePage) {
  switch (codePage) {
  case 950:
    return "CP950";
  case 936:
    return "CP936";
  case 932:
    return "CP932";
  case 949:
    return "CP949";
  default:
    return "CP1252";
  }
}

// RAII for an iconv descriptor.
class Converter {
public:
  explicit Converter(const char *from) : m_cd(iconv_open("UTF-8", from)) {}
  ~Converter() {
    if (valid()) iconv_close(m_cd);
  }
  Converter(const Converter &) = delete;
  Converter &operator=(const Converter &) = delete;

  bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return m_cd; }

private:
  iconv_t m_cd;
};

} // namespace

QString DecodeText(std::string_view bytes, int codePage) {
  if (bytes.empty()) return {};
  Converter converter(iconvName(codePage));
  if (!converter.valid())
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));

  std::vector<char> input(bytes.begin(), bytes.end());
  // UTF-8 needs at most 4 bytes per input byte, plus 3 for each replacement character.
  std::vector<char> output(bytes.size() * 4 + 4);
  char *in = input.data();
  std::size_t inLeft = input.size();
  char *out = output.data();
  std::size_t outLeft = output.size();
  while (inLeft > 0) {
    if (iconv(converter.get(), &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1)) break;
    if (errno == E2BIG) break; // cannot happen with the size above; keep what was decoded
    // An invalid or truncated sequence: mark it and go on after its first byte.
    if (outLeft < 3) break;
    constexpr char replacement[] = "\xEF\xBF\xBD";
    for (const char c : std::string_view(replacement, 3)) {
      *out++ = c;
      --outLeft;
    }
    ++in;
    --inLeft;
  }
  return QString::fromUtf8(output.data(), static_cast<qsizetype>(out - output.data()));
}

} // namespace platform
