#pragma once

#include "skin/Skinned.h"
#include "skin/TMenuItem.h"
#include "skin/style/ThemeEntries.h"

#include <QFont>
#include <QObject>

class QKeyEvent;

namespace skin {

// A window's main menu: its top-level items become the buttons of the skinned menu bar, their
// sub-items the menus those buttons open. It also names the bar's font.
class TsuiMainMenu : public QObject, public Skinned {
  Q_OBJECT
public:
  explicit TsuiMainMenu(QObject *owner);

  TMenuItem &Items() { return *m_items; }
  const TMenuItem &Items() const { return *m_items; }

  TsuiUIStyle UIStyle() const { return m_uiStyle; }
  void SetUIStyle(TsuiUIStyle value) override;
  style::ThemeEntries *FileTheme() const { return m_fileTheme; }
  // A theme that goes away leaves DeepBlue.
  void SetFileTheme(style::ThemeEntries *value);
  void SetFileTheme(TsuiFileTheme *value) override;
  const QString &FontName() const { return m_fontName; }
  void SetFontName(const QString &value);
  // In points.
  int FontSize() const { return m_fontSize; }
  void SetFontSize(int value);
  bool UseSystemFont() const { return m_useSystemFont; }
  void SetUseSystemFont(bool value);
  // The menu bar's font: its own name and size, or the system's menu font.
  QFont BarFont() const;

  // Clicks the enabled, visible item (at any depth) whose shortcut the key is; false for none.
  bool IsShortCut(const QKeyEvent &key);

signals:
  // The items, the font or the style changed: the bar shows them anew.
  void changed();

private:
  TMenuItem *m_items; // owned through Qt parenting
  TsuiUIStyle m_uiStyle = TsuiUIStyle::DeepBlue;
  style::ThemeEntries *m_fileTheme = nullptr;
  QMetaObject::Connection m_themeGone;
  QString m_fontName = QStringLiteral("Tahoma");
  int m_fontSize = 8;
  bool m_useSystemFont = true;
};

} // namespace skin
