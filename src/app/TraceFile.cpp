#include "app/TraceFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace app {

struct TraceFile::Handle {
  explicit Handle(int fd) : Fd(fd) {}
  ~Handle() {
    if (Fd >= 0) ::close(Fd);
  }
  int Fd;
};

namespace {

bool sameFile(const struct stat &a, const struct stat &b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

std::unique_ptr<TraceFile> TraceFile::Open(const QString &path, const QString &input,
                                           Refusal &refusal, int &error) {
  refusal = Refusal::Failed;
  error = 0;
  const QByteArray name = QFile::encodeName(path);
  // Not blocking: a FIFO without a reader would wait for one forever.
  auto handle = std::make_unique<Handle>(
      ::open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666));
  if (handle->Fd < 0) {
    error = errno;
    struct stat named = {};
    if (error == ENXIO && ::stat(name.constData(), &named) == 0 && S_ISFIFO(named.st_mode))
      refusal = Refusal::NoReader;
    return nullptr;
  }
  const int fd = handle->Fd;
  // Lines are written whole: a pipe whose reader is slow is waited for.
  const int flags = ::fcntl(fd, F_GETFL);
  struct stat opened = {};
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 || ::fstat(fd, &opened) != 0) {
    error = errno;
    return nullptr;
  }
  struct stat source = {};
  if (!input.isEmpty() && ::stat(QFile::encodeName(input).constData(), &source) == 0 &&
      sameFile(opened, source)) {
    refusal = Refusal::IsInput;
    return nullptr;
  }
  const bool regular = S_ISREG(opened.st_mode);
  if (regular && ::ftruncate(fd, 0) != 0) {
    error = errno;
    return nullptr;
  }
  refusal = Refusal::None;
  return std::unique_ptr<TraceFile>(new TraceFile(std::move(handle), regular));
}

TraceFile::TraceFile(std::unique_ptr<Handle> handle, bool regular)
    : m_handle(std::move(handle)), m_regular(regular) {}

TraceFile::~TraceFile() = default;

int TraceFile::WriteAll(std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(m_handle->Fd, bytes.data() + done, bytes.size() - done);
    if (n > 0)
      done += static_cast<std::size_t>(n);
    else if (n < 0 && errno == EINTR)
      continue;
    else
      return n < 0 ? errno : EIO;
  }
  return 0;
}

int TraceFile::CutTo(long long size) {
  return ::ftruncate(m_handle->Fd, size) == 0 ? 0 : errno;
}

int TraceFile::Close() {
  const int fd = m_handle->Fd;
  m_handle->Fd = -1;
  return ::close(fd) == 0 ? 0 : errno;
}

QString TraceFile::ErrorText(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace app
