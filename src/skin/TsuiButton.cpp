#include "skin/TsuiButton.h"

#include "skin/DefaultStyle.h"
#include "skin/style/StyleFacts.h"
#include "skin/style/StyleReads.h"

#include <QFontMetrics>

#include <algorithm>

namespace skin {

namespace {

// Columns kept free between the focus margin and a caption that has to be narrowed.
constexpr int CaptionPadding = 2;

QString Shown(const QString &caption) {
  QString shown;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&') && ++i >= caption.size()) break;
    shown += caption[i];
  }
  return shown;
}

} // namespace

TsuiButton::TsuiButton(QWidget *parent) : TsuiCustomButton(parent) {
  SetUIStyle(DefaultStyle(parent));
}

void TsuiButton::SetFocusedRectMargin(int value) {
  m_focusedRectMargin = value;
  Invalidate();
}

void TsuiButton::SetGlyph(const QImage &value) {
  m_glyph = value.copy();
  Invalidate();
}

void TsuiButton::SetLayout(TButtonLayout value) {
  m_layout = value;
  Invalidate();
}

void TsuiButton::SetSpacing(int value) {
  m_spacing = value;
  Invalidate();
}

void TsuiButton::UIStyleChanged() {
  SetTransparent(
      style::StyleReader(FileTheme(), UIStyle()).Bool(style::StyleEntry::ButtonTransparentBool));
  TsuiCustomButton::UIStyleChanged();
}

QImage TsuiButton::shownGlyph() const {
  return m_glyph.isNull() ? ActionImage() : m_glyph;
}

void TsuiButton::DrawSkin(framework::Canvas &canvas, const QImage &state) {
  DrawCornerStretch(canvas, state, width(), height(), Transparent());
  const QImage glyph = shownGlyph();
  if (glyph.isNull()) return;
  const QFontMetrics metrics(framework::MakeFont(Font()));
  const QSize text(metrics.horizontalAdvance(Shown(Caption())), metrics.height());
  const GlyphPlace place = PlaceGlyph(m_layout, size(), GlyphImageSize(glyph), text, m_spacing);
  m_captionPos = place.Caption;
  const int shift = Pressed() ? 1 : 0;
  DrawGlyph(canvas, glyph, place.Glyph + QPoint(shift, shift), isEnabled());
}

QFont TsuiButton::captionFont(const QFont &font, const QString &caption) const {
  QFont shown = font;
  if (BoldCaptionRequest()) shown.setBold(true);
  return *fittedCaption(shown, caption, std::nullopt);
}

std::optional<QFont> TsuiButton::fittedCaption(const QFont &shown, const QString &caption,
                                               std::optional<int> newTrials) const {
  // The installed families stand in for narrower ones: a caption wider than the button is
  // narrowed until it fits rather than cut at the edges.
  const int room = width() - 2 * (m_focusedRectMargin + CaptionPadding);
  const QString text = Shown(caption);
  // A caption comes back (each pairing toggles it): its fit is kept, and with it the narrowed
  // font's engine, so the trial stretches are not loaded again.
  for (const FittedCaption &fitted : m_fitted)
    if (fitted.Room == room && fitted.Text == text && fitted.Font == shown) return fitted.Shown;
  if (m_trials.Font != shown || m_trials.Text != text) m_trials = {shown, text, {}};
  const auto widthAt = [&](int stretch) -> std::optional<int> {
    for (const auto &[tried, width] : m_trials.Widths)
      if (tried == stretch) return width;
    if (newTrials && (*newTrials)-- == 0) return std::nullopt;
    QFont trial = shown;
    trial.setStretch(stretch);
    m_trials.Widths.emplace_back(stretch, QFontMetrics(trial).horizontalAdvance(text));
    return m_trials.Widths.back().second;
  };
  const std::optional<QFont> fitted = fitCaption(shown, room, widthAt);
  if (fitted) {
    m_fitted[m_nextFitted] = {shown, text, room, *fitted};
    m_nextFitted = (m_nextFitted + 1) % m_fitted.size();
  }
  return fitted;
}

std::optional<QFont> TsuiButton::fitCaption(QFont shown, int room, const WidthAt &widthAt) {
  const std::optional<int> wide = widthAt(shown.stretch());
  if (!wide) return std::nullopt;
  if (room <= 0 || *wide <= room) return shown;
  // The widest stretch from the proportional guess down to half width that fits, else half
  // width. Every stretch tried loads a font of its own, so each guess is corrected by the width
  // the last one measured rather than stepped down one by one.
  int tooWide = std::max(50, room * 100 / *wide) + 1;
  int stretch = tooWide - 1;
  for (std::optional<int> measured = widthAt(stretch); !measured || *measured > room;
       measured = widthAt(stretch)) {
    if (!measured) return std::nullopt;
    tooWide = stretch;
    if (stretch == 50) break;
    stretch = std::clamp(stretch * room / *measured, 50, stretch - 1);
  }
  // A correction may undershoot: the wider stretches up to the first one known too wide.
  while (stretch + 1 < tooWide) {
    const std::optional<int> wider = widthAt(stretch + 1);
    if (!wider) return std::nullopt;
    if (*wider > room) break;
    ++stretch;
  }
  shown.setStretch(stretch);
  return shown;
}

bool TsuiButton::PrepareAhead() {
  // Fitting a caption loads one font per trial stretch, the longest part of drawing a button:
  // ahead of the paint it goes one trial at a time.
  return shownGlyph().isNull() && !Caption().trimmed().isEmpty() &&
         !fittedCaption(framework::MakeFont(Font()), Caption(), 1);
}

void TsuiButton::DrawCaption(framework::Canvas &canvas, const QString &caption) {
  if (shownGlyph().isNull()) {
    canvas.SetFont(captionFont(canvas.Font(), caption));
    TsuiCustomButton::DrawCaption(canvas, caption);
    return;
  }
  if (BoldCaptionRequest()) {
    QFont bold = canvas.Font();
    bold.setBold(true);
    canvas.SetFont(bold);
  }
  const QPoint at = m_captionPos;
  DrawCaptionText(canvas, {at.x(), at.y(), std::max(at.x(), width()), std::max(at.y(), height())},
                  caption, {});
}

void TsuiButton::DrawFocus(framework::Canvas &canvas) {
  const style::ResolvedStyle resolved = style::ResolveStyle(FileTheme(), UIStyle());
  if (style::Facts(resolved.Style).ButtonFocusBold) {
    RequestBoldCaption();
    return;
  }
  const int m = m_focusedRectMargin;
  InvertFocusRect(canvas, {m, m, width() - m, height() - m});
}

} // namespace skin
