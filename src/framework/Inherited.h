#pragma once

#include "framework/Colors.h"
#include "framework/Fonts.h"

#include <QWidget>

namespace framework {

// What a control takes from its parent until it is given its own: reading order, font, colour
// and whether its hint shows. Each "follows" flag lives in the widget itself (Qt's own
// inheritance where Qt has one), so every control shares one rule.

// True while the control follows its parent's reading order; giving it its own order ends that.
bool FollowsParentBiDiMode(const QWidget &control);
void SetFollowsParentBiDiMode(QWidget &control, bool value);

// A font as a window description gives it, set on any widget. Qt carries it to the children
// without a font of their own; the description goes along so that they know its name and
// colour, and they hear of a change of colour alone too (QEvent::FontChange).
void SetFontDesc(QWidget &widget, const FontDesc &font);
// The font the widget shows, as a description: its own, else its parent's (a Qt font set without
// a description is read back, in the palette's text colour).
FontDesc FontDescOf(const QWidget &widget);
// True while the control shows its parent's font. Ending it keeps the font shown as its own.
bool FollowsParentFont(const QWidget &control);
void SetFollowsParentFont(QWidget &control, bool value);

// A widget's colour is its palette's Window colour, which Qt hands down to the children that set
// none. True while the control takes its parent's.
bool FollowsParentColor(const QWidget &control);
void SetFollowsParentColor(QWidget &control, bool value);
// Sets the Window colour, which ends following the parent's.
void SetWidgetColor(QWidget &widget, TColor color);
TColor WidgetColor(const QWidget &widget);

// A control's Color property: its own value, kept as given (clBtnFace stays clBtnFace), or its
// parent's while it follows the parent. Ending that keeps the colour shown as its own.
class OwnColor {
public:
  explicit OwnColor(TColor initial) : m_own(initial) {}
  TColor Shown(const QWidget &control) const {
    return FollowsParentColor(control) ? WidgetColor(control) : m_own;
  }
  void Set(QWidget &control, TColor value) {
    m_own = value;
    SetWidgetColor(control, value);
  }
  void SetFollowsParent(QWidget &control, bool value) {
    const TColor shown = Shown(control);
    SetFollowsParentColor(control, value);
    if (!value) m_own = shown;
  }

private:
  TColor m_own;
};

// Whether the widget's hint is shown: its own choice, else its parent's; a window without a
// choice shows none.
bool ShowsHint(const QWidget &widget);
void SetShowsHint(QWidget &widget, bool value);
bool FollowsParentShowHint(const QWidget &control);
// Ending it keeps the current choice as the control's own.
void SetFollowsParentShowHint(QWidget &control, bool value);
// For a control's event(): true when `event` asks for a hint the control does not show; the
// event is then left to the parent, as Qt does for a widget without a tooltip.
bool HintSuppressed(const QWidget &control, QEvent &event);

// The hint properties a control publishes, read and written through the rules above.
template <typename Self> class HintProperties {
public:
  // Whether Hint shows: the parent's choice until one is set.
  bool ShowHint() const { return ShowsHint(widget()); }
  void SetShowHint(bool value) { SetShowsHint(widget(), value); }
  bool ParentShowHint() const { return FollowsParentShowHint(widget()); }
  void SetParentShowHint(bool value) { SetFollowsParentShowHint(widget(), value); }

private:
  const QWidget &widget() const { return static_cast<const Self &>(*this); }
  QWidget &widget() { return static_cast<Self &>(*this); }
};

} // namespace framework
