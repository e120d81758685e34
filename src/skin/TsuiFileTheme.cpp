#include "skin/TsuiFileTheme.h"

#include "skin/style/StyleReads.h"
#include "skin/style/StyleTable.h"
#include "skin/theme/ThemeFileSearch.h"

#include <QCoreApplication>
#include <QWidget>

namespace skin {

TsuiFileTheme::TsuiFileTheme(QObject *owner) : QObject(owner) {}

TsuiFileTheme::~TsuiFileTheme() = default;

void TsuiFileTheme::SetThemeFile(const QString &value) {
  if (value == m_themeFile) return;
  const QString folder = m_programFolder.isEmpty() && QCoreApplication::instance()
                             ? QCoreApplication::applicationDirPath()
                             : m_programFolder;
  const auto path = theme::FindThemeFile(value.toStdString(), folder.toStdString());
  if (!path) return;
  // Read whole before anything is replaced: a refused file leaves the old theme in force.
  Adopt(value, TsuiThemeFileReader::Load(*path));
}

void TsuiFileTheme::Adopt(const QString &name, std::unique_ptr<TsuiThemeFileReader> reader) {
  if (!reader) return;
  const bool replaced = m_mgr != nullptr;
  m_themeFile = name;
  m_mgr = std::make_unique<TsuiFileThemeMgr>(std::move(reader));
  const auto *form = qobject_cast<const QWidget *>(parent());
  if (form && form->isWindow()) emit Reapply(replaced);
}

namespace {

std::string_view KeyOf(style::StyleEntry entry) {
  const auto info = style::FindEntry(entry);
  return info ? info->Key : std::string_view();
}

} // namespace

bool TsuiFileTheme::Image(style::StyleEntry entry, QImage &bitmap) const {
  return m_mgr && m_mgr->GetImage(KeyOf(entry), bitmap);
}

std::int64_t TsuiFileTheme::Number(style::StyleEntry entry) const {
  return m_mgr ? m_mgr->GetInt(KeyOf(entry)) : -1;
}

bool TsuiFileTheme::Bool(style::StyleEntry entry) const {
  return m_mgr && m_mgr->GetBool(KeyOf(entry));
}

void TsuiFileTheme::GetImage(std::string_view key, QImage &bitmap) const {
  if (m_mgr) m_mgr->GetImage(key, bitmap);
}

void TsuiFileTheme::GetImagePart(std::string_view key, QImage &bitmap, int part, int count) const {
  if (m_mgr) m_mgr->GetImagePart(key, bitmap, part, count);
}

framework::TColor TsuiFileTheme::GetColor(std::string_view key) const {
  return m_mgr ? m_mgr->GetColor(key) : style::AbsentColor;
}

int TsuiFileTheme::GetInt(std::string_view key) const {
  return m_mgr ? m_mgr->GetInt(key) : -1;
}

bool TsuiFileTheme::GetBool(std::string_view key) const {
  return m_mgr && m_mgr->GetBool(key);
}

} // namespace skin
