#pragma once

#include "skin/ButtonSkin.h"
#include "skin/TsuiCustomButton.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace skin {

// The skinned push button: its style's button picture stretched without distorting the corners,
// an optional glyph beside the caption, and the style's own way of showing the focus.
class TsuiButton : public TsuiCustomButton {
  Q_OBJECT
public:
  explicit TsuiButton(QWidget *parent);

  using TsuiCustomButton::Action;
  using TsuiCustomButton::Cancel;
  using TsuiCustomButton::Default;
  using TsuiCustomButton::FileTheme;
  using TsuiCustomButton::ModalResult;
  using TsuiCustomButton::MouseContinuouslyDownInterval;
  using TsuiCustomButton::OnClick;
  using TsuiCustomButton::OnKeyDown;
  using TsuiCustomButton::OnKeyPress;
  using TsuiCustomButton::OnKeyUp;
  using TsuiCustomButton::OnMouseContinuouslyDown;
  using TsuiCustomButton::OnMouseDown;
  using TsuiCustomButton::OnMouseEnter;
  using TsuiCustomButton::OnMouseExit;
  using TsuiCustomButton::OnMouseMove;
  using TsuiCustomButton::OnMouseUp;
  using TsuiCustomButton::SetAction;
  using TsuiCustomButton::SetCancel;
  using TsuiCustomButton::SetDefault;
  using TsuiCustomButton::SetFileTheme;
  using TsuiCustomButton::SetModalResult;
  using TsuiCustomButton::SetMouseContinuouslyDownInterval;
  using TsuiCustomButton::SetOnClick;
  using TsuiCustomButton::SetOnKeyDown;
  using TsuiCustomButton::SetOnKeyPress;
  using TsuiCustomButton::SetOnKeyUp;
  using TsuiCustomButton::SetOnMouseContinuouslyDown;
  using TsuiCustomButton::SetOnMouseDown;
  using TsuiCustomButton::SetOnMouseEnter;
  using TsuiCustomButton::SetOnMouseExit;
  using TsuiCustomButton::SetOnMouseMove;
  using TsuiCustomButton::SetOnMouseUp;
  using TsuiCustomButton::SetTransparent;
  using TsuiCustomButton::SetUIStyle;
  using TsuiCustomButton::Transparent;
  using TsuiCustomButton::UIStyle;

  int FocusedRectMargin() const { return m_focusedRectMargin; }
  void SetFocusedRectMargin(int value);
  // Owned copy; empty by default. A glyph twice as wide as high holds a normal and a disabled
  // image side by side.
  const QImage &Glyph() const { return m_glyph; }
  void SetGlyph(const QImage &value);
  TButtonLayout Layout() const { return m_layout; }
  void SetLayout(TButtonLayout value);
  int Spacing() const { return m_spacing; }
  void SetSpacing(int value);

protected:
  bool PrepareAhead() override;
  void UIStyleChanged() override;
  void DrawSkin(framework::Canvas &canvas, const QImage &state) override;
  void DrawCaption(framework::Canvas &canvas, const QString &caption) override;
  void DrawFocus(framework::Canvas &canvas) override;

private:
  // The glyph shown: the own one, else the action's.
  QImage shownGlyph() const;
  // The caption font as drawn: bold on request, narrowed to the room the button has.
  QFont captionFont(const QFont &font, const QString &caption) const;
  // `shown` narrowed to the room the button has for `caption`; none when that takes more than
  // `newTrials` widths not measured before.
  std::optional<QFont> fittedCaption(const QFont &shown, const QString &caption,
                                     std::optional<int> newTrials) const;
  // The text's width at a stretch; none when not known yet.
  using WidthAt = std::function<std::optional<int>(int stretch)>;
  // `shown` narrowed until its text fits in `room` columns; none when a width is not known.
  static std::optional<QFont> fitCaption(QFont shown, int room, const WidthAt &widthAt);

  int m_focusedRectMargin = 2;
  QImage m_glyph;
  TButtonLayout m_layout = TButtonLayout::blGlyphLeft;
  int m_spacing = 4;
  // Where the glyph layout puts the caption.
  QPoint m_captionPos;
  // The last captions fitted, replaced oldest first.
  struct FittedCaption {
    QFont Font;
    QString Text;
    int Room = -1;
    QFont Shown;
  };
  mutable std::array<FittedCaption, 4> m_fitted;
  mutable std::size_t m_nextFitted = 0;
  // The widths measured for the caption being fitted, by stretch.
  struct CaptionTrials {
    QFont Font;
    QString Text;
    std::vector<std::pair<int, int>> Widths;
  };
  mutable CaptionTrials m_trials;
};

} // namespace skin
