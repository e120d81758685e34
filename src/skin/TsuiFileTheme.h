#pragma once

#include "skin/TsuiFileThemeMgr.h"
#include "skin/style/ThemeEntries.h"

#include <QObject>
#include <QString>

#include <memory>

namespace skin {

// A theme file that replaces a style's entries for the controls that name it (non-visual).
class TsuiFileTheme : public QObject, public style::ThemeEntries {
  Q_OBJECT
public:
  explicit TsuiFileTheme(QObject *owner);
  ~TsuiFileTheme() override;

  const QString &ThemeFile() const { return m_themeFile; }
  // Loads the file `value` names when it differs from the current name. A name that is found
  // nowhere changes nothing. A file that is found but refused changes nothing either and throws
  // theme::EInvalidSkinFile.
  void SetThemeFile(const QString &value);
  // A file read already under the name `name`, taken as SetThemeFile takes the file it reads.
  void Adopt(const QString &name, std::unique_ptr<TsuiThemeFileReader> reader);
  bool Loaded() const override { return m_mgr != nullptr; }
  // Null while nothing is loaded.
  const TsuiFileThemeMgr *Mgr() const { return m_mgr.get(); }

  // The entries of the loaded file under their key names, for the controls' style reads.
  bool Image(style::StyleEntry entry, QImage &bitmap) const override;
  std::int64_t Number(style::StyleEntry entry) const override;
  bool Bool(style::StyleEntry entry) const override;

  // The reads of the loaded file by key; the neutral values while nothing is loaded.
  void GetImage(std::string_view key, QImage &bitmap) const;
  void GetImagePart(std::string_view key, QImage &bitmap, int part, int count) const;
  framework::TColor GetColor(std::string_view key) const;
  int GetInt(std::string_view key) const;
  bool GetBool(std::string_view key) const;

  // Where a name is looked for after itself; the program's folder unless set.
  void SetProgramFolder(const QString &folder) { m_programFolder = folder; }

signals:
  // A file was loaded while the owner is a window: every skinned control of that window that
  // uses this theme applies its style again. `replaced` tells a later file from the first one,
  // after which a skinned form recomputes its frame.
  void Reapply(bool replaced);

private:
  QString m_themeFile;
  QString m_programFolder;
  std::unique_ptr<TsuiFileThemeMgr> m_mgr;
};

} // namespace skin
