#include "app/TraceWriter.h"

#include "app/Messages.h"
#include "framework/text/Hex.h"
#include "framework/text/Json.h"

#include <QFile>
#include <QJsonDocument>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

namespace app {

namespace {

QString SystemError(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

bool SameFile(const struct stat &a, const struct stat &b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::unique_ptr<TraceWriter> TraceWriter::Open(const QString &path, QString &error,
                                               const QString &input, std::ostream &err) {
  const QString shown = ShownPath(path);
  // Not truncated on opening: the file may turn out to be the input. Not blocking either: a FIFO
  // without a reader would wait for one forever.
  const int fd = ::open(QFile::encodeName(path).constData(),
                        O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666);
  if (fd < 0) {
    const int failure = errno;
    struct stat named = {};
    const bool pipe = failure == ENXIO &&
                      ::stat(QFile::encodeName(path).constData(), &named) == 0 &&
                      S_ISFIFO(named.st_mode);
    error =
        QStringLiteral("%1: cannot write the trace: %2")
            .arg(shown, pipe ? QStringLiteral("nothing reads this pipe") : SystemError(failure));
    return nullptr;
  }
  const auto fail = [&](const QString &message) {
    ::close(fd);
    error = message;
    return nullptr;
  };
  // Lines are written whole: a pipe whose reader is slow is waited for.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
    return fail(QStringLiteral("%1: cannot write the trace: %2").arg(shown, SystemError(errno)));
  struct stat opened = {};
  if (::fstat(fd, &opened) != 0)
    return fail(QStringLiteral("%1: cannot write the trace: %2").arg(shown, SystemError(errno)));
  struct stat source = {};
  if (!input.isEmpty() && ::stat(QFile::encodeName(input).constData(), &source) == 0 &&
      SameFile(opened, source))
    return fail(QStringLiteral("%1: the trace would overwrite the scenario being read; name "
                               "another file")
                    .arg(shown));
  const bool regular = S_ISREG(opened.st_mode);
  if (regular && ::ftruncate(fd, 0) != 0)
    return fail(QStringLiteral("%1: cannot write the trace: %2").arg(shown, SystemError(errno)));
  return std::unique_ptr<TraceWriter>(new TraceWriter(fd, regular, path, err));
}

TraceWriter::TraceWriter(int fd, bool regular, QString path, std::ostream &err)
    : m_fd(fd), m_regular(regular), m_path(std::move(path)), m_err(err),
      m_start(std::chrono::steady_clock::now()) {}

TraceWriter::~TraceWriter() {
  if (m_fd >= 0) ::close(m_fd);
}

bool TraceWriter::Close() {
  if (m_fd < 0) return !m_stopped;
  const int fd = m_fd;
  m_fd = -1;
  // Some file systems report a failed write only here.
  if (::close(fd) != 0 && !m_stopped) Stop(errno);
  return !m_stopped;
}

long long TraceWriter::Elapsed() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               m_start)
      .count();
}

void TraceWriter::WriteLine(const std::string &event, const std::string &fields) {
  if (m_stopped || m_fd < 0) return;
  std::string line = "{\"t\":" + std::to_string(Elapsed()) + ",\"ev\":\"" + event + "\"";
  if (!fields.empty()) line += "," + fields;
  line += "}\n";
  std::size_t done = 0;
  while (done < line.size()) {
    const ssize_t n = ::write(m_fd, line.data() + done, line.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      Stop(n < 0 ? errno : EIO);
      return;
    }
  }
  m_whole += static_cast<long long>(line.size());
}

void TraceWriter::Stop(int error) {
  m_stopped = true;
  m_err << ProgramName << ": " << ShownPath(m_path).toStdString()
        << ": the trace stopped: " << SystemError(error).toStdString();
  // A torn last line would be the one line that is not JSON; lines written later, once space
  // returns, would be glued to it.
  if (m_fd >= 0 && m_regular && ::ftruncate(m_fd, m_whole) != 0)
    m_err << "; its last line stays cut: " << SystemError(errno).toStdString();
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
