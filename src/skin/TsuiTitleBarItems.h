#pragma once

#include "skin/SkinTypes.h"
#include "skin/TsuiPopupMenu.h"

#include <QImage>
#include <QPointer>

#include <memory>
#include <vector>

namespace skin {

class TsuiTitleBar;

enum class TsuiTitleBarBtnType { suiMax, suiMin, suiClose, suiHelp, suiControlBox, suiCustom };
enum class TsuiTitleBarAlign { suiLeft, suiRight, suiClient };

// One picture button of the title bar. Every change repaints the bar.
class TsuiTitleBarButton {
public:
  explicit TsuiTitleBarButton(TsuiTitleBar &bar) : m_bar(bar) {}

  TsuiTitleBarBtnType ButtonType() const { return m_type; }
  // Loads the type's pictures from the style. A second control box is refused with an error
  // box, keeping the old type.
  void SetButtonType(TsuiTitleBarBtnType value);
  TsuiUIStyle UIStyle() const { return m_style; }
  // Takes transparency, top and the type's pictures from the style.
  void SetUIStyle(TsuiUIStyle value);
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool value);
  // Stored only: the bar places every button at its own button top.
  int Top() const { return m_top; }
  void SetTop(int value);
  bool Visible() const { return m_visible; }
  void SetVisible(bool value);
  TsuiPopupMenu *ControlBoxMenu() const { return m_controlBoxMenu; }
  void SetControlBoxMenu(TsuiPopupMenu *value);
  // Each assignment copies the picture.
  const QImage &PicNormal() const { return m_picNormal; }
  void SetPicNormal(const QImage &value);
  const QImage &PicMouseOn() const { return m_picMouseOn; }
  void SetPicMouseOn(const QImage &value);
  const QImage &PicMouseDown() const { return m_picMouseDown; }
  void SetPicMouseDown(const QImage &value);

  // Loads the pictures of the type from the style again (the maximise button's depend on the
  // window state); a custom button has none to load and keeps what it has.
  void LoadStylePictures();

private:
  void changed();

  TsuiTitleBar &m_bar;
  TsuiTitleBarBtnType m_type = TsuiTitleBarBtnType::suiCustom;
  TsuiUIStyle m_style = TsuiUIStyle::DeepBlue;
  bool m_transparent = false;
  int m_top = 2;
  bool m_visible = true;
  QPointer<TsuiPopupMenu> m_controlBoxMenu;
  QImage m_picNormal;
  QImage m_picMouseOn;
  QImage m_picMouseDown;
};

class TsuiTitleBarButtons {
public:
  explicit TsuiTitleBarButtons(TsuiTitleBar &bar) : m_bar(bar) {}

  TsuiTitleBarButton &Add();
  void Clear();
  int Count() const { return static_cast<int>(m_items.size()); }
  // Null for an index outside the collection.
  TsuiTitleBarButton *Items(int index) const;

private:
  TsuiTitleBar &m_bar;
  std::vector<std::unique_ptr<TsuiTitleBarButton>> m_items;
};

// One of the pictures the bar is composed of.
class TsuiTitleBarSection {
public:
  explicit TsuiTitleBarSection(TsuiTitleBar &bar) : m_bar(bar) {}

  // Turning AutoSize on, and every new picture, set the width to the picture's.
  bool AutoSize() const { return m_autoSize; }
  void SetAutoSize(bool value);
  int Width() const { return m_width; }
  void SetWidth(int value);
  TsuiTitleBarAlign Align() const { return m_align; }
  // A second client section is refused with an error box, keeping the old alignment.
  void SetAlign(TsuiTitleBarAlign value);
  const QImage &Picture() const { return m_picture; }
  void SetPicture(const QImage &value);
  // A client section always stretches.
  bool Stretch() const { return m_stretch; }
  void SetStretch(bool value);

private:
  void changed();

  TsuiTitleBar &m_bar;
  bool m_autoSize = false;
  int m_width = 10;
  TsuiTitleBarAlign m_align = TsuiTitleBarAlign::suiLeft;
  QImage m_picture;
  bool m_stretch = false;
};

class TsuiTitleBarSections {
public:
  explicit TsuiTitleBarSections(TsuiTitleBar &bar) : m_bar(bar) {}

  TsuiTitleBarSection &Add();
  void Clear();
  int Count() const { return static_cast<int>(m_items.size()); }
  TsuiTitleBarSection *Items(int index) const;

private:
  TsuiTitleBar &m_bar;
  std::vector<std::unique_ptr<TsuiTitleBarSection>> m_items;
};

} // namespace skin
