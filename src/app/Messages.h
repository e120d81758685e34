#pragma once

#include <QString>

#include <ostream>
#include <string>
#include <string_view>

namespace app {

// Every message the program prints starts with its name.
inline constexpr char ProgramName[] = "quelvane";

// Text from outside shown in a message, as a JSON string literal: quotes, control characters
// and broken UTF-8 come out escaped, so that nothing echoed can rewrite the line on a terminal.
QString Quoted(const QString &text);
std::string Quoted(std::string_view bytes);

// A file name as the user gave it, quoted like outside text only when it holds a control
// character.
QString ShownPath(const QString &path);

// Flushes what a command printed; answers `status`, or 1 with a line on `err` when standard
// output took it not whole (a full disk, a closed pipe).
int OutputStatus(std::ostream &out, std::ostream &err, int status);

} // namespace app
