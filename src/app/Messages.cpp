#include "app/Messages.h"

#include "framework/text/Json.h"

#include <algorithm>

namespace app {

QString Quoted(const QString &text) {
  return QString::fromStdString(Quoted(text.toStdString()));
}

std::string Quoted(std::string_view bytes) {
  return framework::text::JsonString(bytes);
}

QString ShownPath(const QString &path) {
  const bool plain = std::none_of(path.begin(), path.end(), [](QChar c) {
    return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F);
  });
  return plain ? path : Quoted(path);
}

int OutputStatus(std::ostream &out, std::ostream &err, int status) {
  if (out.flush()) return status;
  err << ProgramName << ": cannot write to standard output\n";
  return 1;
}

} // namespace app
