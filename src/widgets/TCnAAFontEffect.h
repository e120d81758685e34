#pragma once

#include "framework/WindowlessControl.h"
#include "widgets/aa/AATypes.h"
#include "widgets/aa/TCnAAEffect.h"

#include <QImage>

namespace widgets {

class TCnAAGraphicControl;

using aa::TAAQuality;
using aa::TBackGroundMode;
using aa::TTextLayout;
using framework::TAlignment;
using framework::TColor;

// Placement and background settings of an anti-aliased control; every change is reported.
class TCnCustomParam : public aa::TCnNotifyClass {
public:
  explicit TCnCustomParam(TCnAAGraphicControl &owner) : m_owner(owner) {}

  TAlignment Alignment() const { return m_alignment; }
  void SetAlignment(TAlignment value) { Store(m_alignment, value); }
  TTextLayout Layout() const { return m_layout; }
  void SetLayout(TTextLayout value) { Store(m_layout, value); }
  bool Transparent() const { return m_transparent; }
  void SetTransparent(bool value) { Store(m_transparent, value); }
  const QImage &BackGround() const { return m_backGround; }
  // Copies the picture.
  void SetBackGround(const QImage &value);
  TBackGroundMode BackGroundMode() const { return m_backGroundMode; }
  void SetBackGroundMode(TBackGroundMode value) { Store(m_backGroundMode, value); }

  // Copies alignment, layout, transparency and the background, without reporting.
  void Assign(const TCnCustomParam &source);

protected:
  TCnAAGraphicControl &m_owner;

private:
  TAlignment m_alignment = TAlignment::taLeftJustify;
  TTextLayout m_layout = TTextLayout::tlTop;
  bool m_transparent = false;
  QImage m_backGround;
  TBackGroundMode m_backGroundMode = TBackGroundMode::bmCenter;
};

// The label's Effect: the above plus the engine's quality and effects and the label's colour.
class TCnAAFontEffect : public TCnCustomParam {
public:
  using TCnCustomParam::TCnCustomParam;

  TAAQuality Quality() const;
  void SetQuality(TAAQuality value);
  // The engine's own effect object.
  aa::TCnAAEffect &FontEffect();
  const aa::TCnAAEffect &FontEffect() const;
  void SetFontEffect(const aa::TCnAAEffect &value);
  TColor BackColor() const;
  void SetBackColor(TColor value);
  // A window description stores the colour only when it is the label's own.
  bool BackColorStored() const;
};

} // namespace widgets
