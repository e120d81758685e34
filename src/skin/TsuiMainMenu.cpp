#include "skin/TsuiMainMenu.h"

#include "framework/Fonts.h"
#include "skin/DefaultStyle.h"
#include "skin/TsuiFileTheme.h"

#include <QFontDatabase>
#include <QKeyEvent>

namespace skin {

TsuiMainMenu::TsuiMainMenu(QObject *owner)
    : QObject(owner), m_items(new TMenuItem(this)), m_uiStyle(DefaultStyle(owner)) {}

void TsuiMainMenu::SetUIStyle(TsuiUIStyle value) {
  m_uiStyle = value;
  emit changed();
}

void TsuiMainMenu::SetFileTheme(style::ThemeEntries *value) {
  disconnect(m_themeGone);
  m_fileTheme = value;
  // A theme that is a component of its own may go away first.
  if (auto *component = dynamic_cast<QObject *>(value))
    m_themeGone = connect(component, &QObject::destroyed, this, [this] {
      m_fileTheme = nullptr;
      SetUIStyle(TsuiUIStyle::DeepBlue);
    });
  emit changed();
}

void TsuiMainMenu::SetFileTheme(TsuiFileTheme *value) {
  SetFileTheme(static_cast<style::ThemeEntries *>(value));
}

void TsuiMainMenu::SetFontName(const QString &value) {
  m_fontName = value;
  emit changed();
}

void TsuiMainMenu::SetFontSize(int value) {
  m_fontSize = value;
  emit changed();
}

void TsuiMainMenu::SetUseSystemFont(bool value) {
  m_useSystemFont = value;
  emit changed();
}

QFont TsuiMainMenu::BarFont() const {
  if (m_useSystemFont) return QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  // Points to pixels at 96 dots per inch.
  return framework::MakeFont(m_fontName, -((m_fontSize * 96 + 36) / 72));
}

namespace {

bool ClickShortCut(TMenuItem &parent, const QKeySequence &key) {
  for (int i = 0; i < parent.Count(); ++i) {
    TMenuItem *item = parent.Items(i);
    if (!item || !item->Visible() || !item->Enabled()) continue;
    if (!item->ShortCut().isEmpty() &&
        QKeySequence(item->ShortCut(), QKeySequence::PortableText) == key) {
      item->Click();
      return true;
    }
    if (ClickShortCut(*item, key)) return true;
  }
  return false;
}

} // namespace

bool TsuiMainMenu::IsShortCut(const QKeyEvent &key) {
  if (key.key() == 0 || key.key() == Qt::Key_unknown) return false;
  return ClickShortCut(*m_items, QKeySequence(key.keyCombination()));
}

} // namespace skin
