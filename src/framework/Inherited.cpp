#include "framework/Inherited.h"

#include <QApplication>
#include <QEvent>
#include <QFontInfo>
#include <QPalette>
#include <QVariant>

Q_DECLARE_METATYPE(framework::FontDesc)

namespace framework {

namespace {

constexpr const char *FontDescProperty = "quelvaneFontDesc";
constexpr const char *ShowHintProperty = "quelvaneShowHint";

// Qt hands nothing down to a window unless asked to.
bool InheritsFromParent(const QWidget &widget) {
  return widget.parentWidget() &&
         (!widget.isWindow() || widget.testAttribute(Qt::WA_WindowPropagation));
}

FontDesc ReadBack(const QWidget &widget) {
  const QFont font = widget.font();
  FontDesc desc;
  desc.Name = font.families().value(0, font.family());
  desc.Height = -QFontInfo(font).pixelSize();
  desc.Bold = font.bold();
  desc.Italic = font.italic();
  desc.Underline = font.underline();
  desc.Color = FromQColor(widget.palette().color(QPalette::WindowText));
  return desc;
}

// Qt tells the children of a font change only when the Qt font changes; a description that
// differs in colour alone is news to them too.
void TellFollowers(QWidget &widget) {
  for (QObject *child : widget.children()) {
    auto *w = qobject_cast<QWidget *>(child);
    if (!w || !InheritsFromParent(*w) || w->testAttribute(Qt::WA_SetFont)) continue;
    QEvent change(QEvent::FontChange);
    QCoreApplication::sendEvent(w, &change);
    TellFollowers(*w);
  }
}

} // namespace

bool FollowsParentBiDiMode(const QWidget &control) {
  return !control.testAttribute(Qt::WA_SetLayoutDirection);
}

void SetFollowsParentBiDiMode(QWidget &control, bool value) {
  if (value)
    control.unsetLayoutDirection();
  else
    control.setLayoutDirection(control.layoutDirection());
}

void SetFontDesc(QWidget &widget, const FontDesc &font) {
  const QFont before = widget.font();
  // Stored first: Qt tells the children while setFont runs, and they read it then.
  widget.setProperty(FontDescProperty, QVariant::fromValue(font));
  widget.setFont(MakeFont(font));
  if (widget.font() == before) TellFollowers(widget);
}

FontDesc FontDescOf(const QWidget &widget) {
  if (widget.testAttribute(Qt::WA_SetFont)) {
    const QVariant stored = widget.property(FontDescProperty);
    // A Qt font set since replaces the description.
    if (stored.canConvert<FontDesc>() && MakeFont(stored.value<FontDesc>()) == widget.font())
      return stored.value<FontDesc>();
    return ReadBack(widget);
  }
  if (!InheritsFromParent(widget)) return ReadBack(widget);
  return FontDescOf(*widget.parentWidget());
}

bool FollowsParentFont(const QWidget &control) {
  return !control.testAttribute(Qt::WA_SetFont);
}

void SetFollowsParentFont(QWidget &control, bool value) {
  if (value == FollowsParentFont(control)) return;
  if (!value) return SetFontDesc(control, FontDescOf(control));
  control.setProperty(FontDescProperty, QVariant());
  control.setFont(QFont());
}

bool FollowsParentColor(const QWidget &control) {
  return !control.palette().isBrushSet(QPalette::Active, QPalette::Window);
}

void SetFollowsParentColor(QWidget &control, bool value) {
  if (value == FollowsParentColor(control)) return;
  if (!value) return SetWidgetColor(control, WidgetColor(control));
  // Qt cannot unset one colour: the palette is built again from the others that were set.
  const QPalette own = control.palette();
  QPalette kept;
  for (const QPalette::ColorGroup group :
       {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      const auto r = static_cast<QPalette::ColorRole>(role);
      if (r != QPalette::Window && own.isBrushSet(group, r))
        kept.setBrush(group, r, own.brush(group, r));
    }
  control.setPalette(kept);
}

void SetWidgetColor(QWidget &widget, TColor color) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, ToQColor(color));
  widget.setPalette(palette);
}

TColor WidgetColor(const QWidget &widget) {
  return FromQColor(widget.palette().color(QPalette::Window));
}

bool ShowsHint(const QWidget &widget) {
  const QVariant own = widget.property(ShowHintProperty);
  if (own.isValid()) return own.toBool();
  return InheritsFromParent(widget) && ShowsHint(*widget.parentWidget());
}

void SetShowsHint(QWidget &widget, bool value) {
  widget.setProperty(ShowHintProperty, value);
}

bool FollowsParentShowHint(const QWidget &control) {
  return !control.property(ShowHintProperty).isValid();
}

void SetFollowsParentShowHint(QWidget &control, bool value) {
  if (value == FollowsParentShowHint(control)) return;
  if (value)
    control.setProperty(ShowHintProperty, QVariant());
  else
    SetShowsHint(control, ShowsHint(control));
}

bool HintSuppressed(const QWidget &control, QEvent &event) {
  if (event.type() != QEvent::ToolTip || ShowsHint(control)) return false;
  event.ignore();
  return true;
}

} // namespace framework
