#include "app/TraceWriter.h"

#include "app/Messages.h"
#include "framework/text/Hex.h"
#include "framework/text/Json.h"

#include <QJsonDocument>

#include <ostream>

namespace app {

std::unique_ptr<TraceWriter> TraceWriter::Open(const QString &path, QString &error,
                                               const QString &input, std::ostream &err) {
  const QString shown = ShownPath(path);
  TraceFile::Refusal refusal = TraceFile::Refusal::None;
  int failure = 0;
  std::unique_ptr<TraceFile> file = TraceFile::Open(path, input, refusal, failure);
  if (file) return std::unique_ptr<TraceWriter>(new TraceWriter(std::move(file), path, err));
  if (refusal == TraceFile::Refusal::IsInput)
    error = QStringLiteral("%1: the trace would overwrite the scenario being read; name another "
                           "file")
                .arg(shown);
  else
    error = QStringLiteral("%1: cannot write the trace: %2")
                .arg(shown, refusal == TraceFile::Refusal::NoReader
                                ? QStringLiteral("nothing reads this pipe")
                                : TraceFile::ErrorText(failure));
  return nullptr;
}

TraceWriter::TraceWriter(std::unique_ptr<TraceFile> file, QString path, std::ostream &err)
    : m_file(std::move(file)), m_path(std::move(path)), m_err(err),
      m_start(std::chrono::steady_clock::now()) {}

TraceWriter::~TraceWriter() = default;

bool TraceWriter::Close() {
  if (!m_file) return !m_stopped;
  const std::unique_ptr<TraceFile> file = std::move(m_file);
  // Some file systems report a failed write only here.
  if (const int error = file->Close(); error != 0 && !m_stopped) Stop(error);
  return !m_stopped;
}

long long TraceWriter::Elapsed() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               m_start)
      .count();
}

void TraceWriter::WriteLine(const std::string &event, const std::string &fields) {
  if (m_stopped || !m_file) return;
  std::string line = "{\"t\":" + std::to_string(Elapsed()) + ",\"ev\":\"" + event + "\"";
  if (!fields.empty()) line += "," + fields;
  line += "}\n";
  if (const int error = m_file->WriteAll(line); error != 0) {
    Stop(error);
    return;
  }
  m_whole += static_cast<long long>(line.size());
}

void TraceWriter::Stop(int error) {
  m_stopped = true;
  m_err << ProgramName << ": " << ShownPath(m_path).toStdString()
        << ": the trace stopped: " << TraceFile::ErrorText(error).toStdString();
  // A torn last line would be the one line that is not JSON; lines written later, once space
  // returns, would be glued to it.
  if (m_file && m_file->Regular())
    if (const int cut = m_file->CutTo(m_whole); cut != 0)
      m_err << "; its last line stays cut: " << TraceFile::ErrorText(cut).toStdString();
  m_err << std::endl;
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
  WriteObject("state", state);
}

void TraceWriter::Notification(const QString &kind, const QString &title, const QString &body,
                               const QString &via) {
  WriteObject("notification", QJsonObject{{QStringLiteral("kind"), kind},
                                          {QStringLiteral("title"), title},
                                          {QStringLiteral("body"), body},
                                          {QStringLiteral("via"), via}});
}

void TraceWriter::WriteObject(const std::string &event, QJsonObject fields) {
  fields.remove(QStringLiteral("t"));
  fields.remove(QStringLiteral("ev"));
  const QByteArray json = QJsonDocument(fields).toJson(QJsonDocument::Compact);
  // Strip the braces: the fields follow `t` and `ev` in one object.
  std::string inner = json.size() > 2 ? json.mid(1, json.size() - 2).toStdString() : std::string();
  WriteLine(event, inner);
}

} // namespace app
