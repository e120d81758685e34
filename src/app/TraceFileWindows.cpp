#include "app/TraceFile.h"

#include "framework/files/WindowsPath.h"

#include <windows.h>

namespace app {

struct TraceFile::Handle {
  explicit Handle(HANDLE file) : File(file) {}
  ~Handle() {
    if (File != INVALID_HANDLE_VALUE) ::CloseHandle(File);
  }
  HANDLE File;
};

namespace {

std::wstring wide(const QString &path) {
  return QString(path).replace(QLatin1Char('/'), QLatin1Char('\\')).toStdWString();
}

bool sameFile(HANDLE a, const QString &path) {
  // Opened for no access at all: only its identity is wanted.
  const HANDLE other =
      ::CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (other == INVALID_HANDLE_VALUE) return false;
  BY_HANDLE_FILE_INFORMATION x = {};
  BY_HANDLE_FILE_INFORMATION y = {};
  const bool same = ::GetFileInformationByHandle(a, &x) &&
                    ::GetFileInformationByHandle(other, &y) &&
                    x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
                    x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
  ::CloseHandle(other);
  return same;
}

int lastError() {
  return static_cast<int>(::GetLastError());
}

} // namespace

std::unique_ptr<TraceFile> TraceFile::Open(const QString &path, const QString &input,
                                           Refusal &refusal, int &error) {
  refusal = Refusal::Failed;
  error = 0;
  // Opening a pipe connects to its server at once or fails: nothing waits here. Others may read
  // the trace while it is written, as on Linux.
  auto handle = std::make_unique<Handle>(
      ::CreateFileW(wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (handle->File == INVALID_HANDLE_VALUE) {
    error = lastError();
    if (error == ERROR_PIPE_BUSY) refusal = Refusal::NoReader;
    return nullptr;
  }
  if (!input.isEmpty() && sameFile(handle->File, input)) {
    refusal = Refusal::IsInput;
    return nullptr;
  }
  const bool regular = ::GetFileType(handle->File) == FILE_TYPE_DISK;
  if (regular && !::SetEndOfFile(handle->File)) { // the position is 0 after opening
    error = lastError();
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
    // Lines are far below the 4 GiB one call can take.
    DWORD written = 0;
    if (!::WriteFile(m_handle->File, bytes.data() + done, static_cast<DWORD>(bytes.size() - done),
                     &written, nullptr))
      return lastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    done += written;
  }
  return 0;
}

int TraceFile::CutTo(long long size) {
  LARGE_INTEGER at = {};
  at.QuadPart = size;
  if (!::SetFilePointerEx(m_handle->File, at, nullptr, FILE_BEGIN) ||
      !::SetEndOfFile(m_handle->File))
    return lastError();
  return 0;
}

int TraceFile::Close() {
  const HANDLE file = m_handle->File;
  m_handle->File = INVALID_HANDLE_VALUE;
  return ::CloseHandle(file) ? 0 : lastError();
}

QString TraceFile::ErrorText(int error) {
  return QString::fromStdString(framework::SystemErrorText(static_cast<unsigned long>(error)));
}

} // namespace app
