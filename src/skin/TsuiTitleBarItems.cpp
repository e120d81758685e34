#include "skin/TsuiTitleBarItems.h"

#include "skin/SkinStrings.h"
#include "skin/TsuiTitleBar.h"
#include "skin/style/StyleReads.h"

namespace skin {

namespace {

// The last of the three strip parts (normal, mouse on, pressed) of a type; 0 for none.
int lastPart(TsuiTitleBarBtnType type, bool restore) {
  switch (type) {
  case TsuiTitleBarBtnType::suiControlBox:
    return 3;
  case TsuiTitleBarBtnType::suiHelp:
    return 6;
  case TsuiTitleBarBtnType::suiMax:
    return restore ? 12 : 9;
  case TsuiTitleBarBtnType::suiMin:
    return 15;
  case TsuiTitleBarBtnType::suiClose:
    return 18;
  case TsuiTitleBarBtnType::suiCustom:
    break;
  }
  return 0;
}

constexpr int StripParts = 18;

} // namespace

void TsuiTitleBarButton::changed() {
  m_bar.Changed();
}

void TsuiTitleBarButton::SetButtonType(TsuiTitleBarBtnType value) {
  if (value == TsuiTitleBarBtnType::suiControlBox && m_type != value) {
    const TsuiTitleBarButtons &buttons = m_bar.Buttons();
    for (int i = 0; i < buttons.Count(); ++i)
      if (buttons.Items(i) != this &&
          buttons.Items(i)->ButtonType() == TsuiTitleBarBtnType::suiControlBox) {
        ShowSkinError(Strings().OneControlBox);
        return;
      }
  }
  m_type = value;
  LoadStylePictures();
}

void TsuiTitleBarButton::SetUIStyle(TsuiUIStyle value) {
  m_style = value;
  LoadStylePictures();
}

void TsuiTitleBarButton::LoadStylePictures() {
  const style::StyleReader reader(m_bar.FileTheme(), m_style);
  m_transparent = reader.Bool(style::StyleEntry::TitleBarButtonTransparentBool);
  m_top = reader.Int(style::StyleEntry::TitleBarButtonTopInt);
  const bool restore = m_type == TsuiTitleBarBtnType::suiMax && !m_bar.Custom() &&
                       m_bar.window() != &m_bar && m_bar.window()->isMaximized();
  if (const int n = lastPart(m_type, restore)) {
    QImage *const pictures[] = {&m_picNormal, &m_picMouseOn, &m_picMouseDown};
    for (int i = 0; i < 3; ++i)
      reader.ImagePart(style::StyleEntry::TitleBarButtonImage, *pictures[i], n - 2 + i, StripParts);
  }
  changed();
}

void TsuiTitleBarButton::SetTransparent(bool value) {
  m_transparent = value;
  changed();
}
void TsuiTitleBarButton::SetTop(int value) {
  m_top = value;
  changed();
}
void TsuiTitleBarButton::SetVisible(bool value) {
  m_visible = value;
  changed();
}
void TsuiTitleBarButton::SetControlBoxMenu(TsuiPopupMenu *value) {
  m_controlBoxMenu = value;
  changed();
}
void TsuiTitleBarButton::SetPicNormal(const QImage &value) {
  m_picNormal = value.copy();
  changed();
}
void TsuiTitleBarButton::SetPicMouseOn(const QImage &value) {
  m_picMouseOn = value.copy();
  changed();
}
void TsuiTitleBarButton::SetPicMouseDown(const QImage &value) {
  m_picMouseDown = value.copy();
  changed();
}

TsuiTitleBarButton &TsuiTitleBarButtons::Add() {
  m_items.push_back(std::make_unique<TsuiTitleBarButton>(m_bar));
  m_bar.Changed();
  return *m_items.back();
}
void TsuiTitleBarButtons::Clear() {
  m_items.clear();
  m_bar.Changed();
}
TsuiTitleBarButton *TsuiTitleBarButtons::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return m_items[static_cast<std::size_t>(index)].get();
}

void TsuiTitleBarSection::changed() {
  m_bar.Changed();
}

void TsuiTitleBarSection::SetAutoSize(bool value) {
  m_autoSize = value;
  if (m_autoSize && !m_picture.isNull()) m_width = m_picture.width();
  changed();
}
void TsuiTitleBarSection::SetWidth(int value) {
  m_width = value;
  changed();
}
void TsuiTitleBarSection::SetAlign(TsuiTitleBarAlign value) {
  if (value == TsuiTitleBarAlign::suiClient && m_align != value) {
    const TsuiTitleBarSections &sections = m_bar.Sections();
    for (int i = 0; i < sections.Count(); ++i)
      if (sections.Items(i) != this && sections.Items(i)->Align() == TsuiTitleBarAlign::suiClient) {
        ShowSkinError(Strings().OneClientSection);
        return;
      }
  }
  m_align = value;
  if (m_align == TsuiTitleBarAlign::suiClient) m_stretch = true;
  changed();
}
void TsuiTitleBarSection::SetPicture(const QImage &value) {
  m_picture = value.copy();
  if (!m_picture.isNull()) m_width = m_picture.width();
  changed();
}
void TsuiTitleBarSection::SetStretch(bool value) {
  m_stretch = value || m_align == TsuiTitleBarAlign::suiClient;
  changed();
}

TsuiTitleBarSection &TsuiTitleBarSections::Add() {
  m_items.push_back(std::make_unique<TsuiTitleBarSection>(m_bar));
  m_bar.Changed();
  return *m_items.back();
}
void TsuiTitleBarSections::Clear() {
  m_items.clear();
  m_bar.Changed();
}
TsuiTitleBarSection *TsuiTitleBarSections::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return m_items[static_cast<std::size_t>(index)].get();
}

} // namespace skin
