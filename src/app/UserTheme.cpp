#include "app/UserTheme.h"

#include "app/Messages.h"
#include "framework/files/RegularFile.h"
#include "skin/theme/ThemeFile.h"

#include <QFile>
#include <QString>

#include <cstring>

namespace app {

std::unique_ptr<skin::TsuiThemeFileReader> LoadUserTheme(const std::string &path,
                                                         std::string &error) {
  const QString name = QString::fromStdString(path);
  const auto fail = [&](const std::string &reason) {
    error = ShownPath(name).toStdString() + ": cannot load the theme: " + reason;
    return nullptr;
  };
  // Never blocks on a FIFO and never reads past the limit, whatever the name points at.
  const framework::FileContents file =
      framework::ReadRegularFile(QFile::encodeName(name).toStdString(), skin::theme::MaxFileBytes);
  using Status = framework::FileContents::Status;
  switch (file.State) {
  case Status::Read:
    break;
  case Status::Missing:
    return fail("no such file");
  case Status::NotRegular:
    return fail("not a regular file");
  case Status::TooLarge:
    return fail(skin::theme::ThemeErrorName(skin::theme::ThemeError::FileTooLarge));
  case Status::Unreadable:
    return fail(file.Error != 0 ? std::strerror(file.Error) : "cannot be read");
  }
  try {
    return skin::TsuiThemeFileReader::FromBytes(
        {reinterpret_cast<const std::uint8_t *>(file.Text.data()), file.Text.size()});
  } catch (const skin::theme::EInvalidSkinFile &e) {
    return fail(std::string(e.what()) + " (" + e.Detail() + ")");
  }
}

} // namespace app
