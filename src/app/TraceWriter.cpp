#include "app/TraceWriter.h"

#include "framework/text/Hex.h"
#include "framework/text/Json.h"

#include <QFile>
#include <QJsonDocument>

#include <cerrno>
#include <cstring>

namespace app {

std::unique_ptr<TraceWriter> TraceWriter::Open(const QString &path, QString &error) {
  const QByteArray name = QFile::encodeName(path);
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name.constData(), "w"));
  if (!file) {
    error = QStringLiteral("%1: cannot write the trace: %2")
                .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    return nullptr;
  }
  return std::unique_ptr<TraceWriter>(new TraceWriter(std::move(file)));
}

TraceWriter::TraceWriter(std::unique_ptr<std::FILE, FileCloser> file)
    : m_file(std::move(file)), m_start(std::chrono::steady_clock::now()) {}

long long TraceWriter::Elapsed() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               m_start)
      .count();
}

void TraceWriter::WriteLine(const std::string &event, const std::string &fields) {
  std::string line = "{\"t\":" + std::to_string(Elapsed()) + ",\"ev\":\"" + event + "\"";
  if (!fields.empty()) line += "," + fields;
  line += "}\n";
  // A trace that can no longer be written must not disturb the program; the lines already
  // written stay complete.
  if (std::fputs(line.c_str(), m_file.get()) >= 0) std::fflush(m_file.get());
}

void TraceWriter::Feature(const std::string &path, FeatureOp op, const std::uint8_t *bytes,
                          std::size_t length, bool ok) {
  std::string fields = "\"dev\":" + framework::text::JsonString(path);
  fields += ",\"op\":\"";
  fields += op == FeatureOp::Set ? "set" : "get";
  fields += "\",\"len\":" + std::to_string(length);
  fields += ",\"ok\":";
  fields += ok ? "true" : "false";
  fields += ",\"bytes\":\"" + framework::text::HexBytes(bytes, length) + "\"";
  WriteLine("feature", fields);
}

void TraceWriter::Scan(std::size_t devices, bool changed) {
  WriteLine("scan", "\"devices\":" + std::to_string(devices) +
                        ",\"changed\":" + (changed ? "true" : "false"));
}

void TraceWriter::State(const QJsonObject &state) {
  QJsonObject fields = state;
  fields.remove(QStringLiteral("t"));
  fields.remove(QStringLiteral("ev"));
  const QByteArray json = QJsonDocument(fields).toJson(QJsonDocument::Compact);
  // Strip the braces: the fields follow `t` and `ev` in one object.
  std::string inner = json.size() > 2 ? json.mid(1, json.size() - 2).toStdString() : std::string();
  WriteLine("state", inner);
}

} // namespace app
