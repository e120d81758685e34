#pragma once

#include "framework/Canvas.h"
#include "widgets/aa/AARandom.h"
#include "widgets/aa/TCnAABlend.h"
#include "widgets/aa/TCnAAEffect.h"
#include "widgets/aa/TCnAAMask.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <memory>

namespace widgets::aa {

// The size of a string in output pixels and, for rotated text, where its top-left corner lies
// inside that box.
struct TextMetrics {
  QSize Size;
  QPoint Start;
};

// The text engine on a borrowed canvas: it measures and masks text in the canvas's font and
// angle (tenths of a degree). Its brush is the canvas's brush colour, clear unless asked.
class TCnAAFont {
public:
  explicit TCnAAFont(framework::Canvas *canvas = nullptr) : m_canvas(canvas) {}
  virtual ~TCnAAFont() = default;
  TCnAAFont(const TCnAAFont &) = delete;
  TCnAAFont &operator=(const TCnAAFont &) = delete;

  framework::Canvas *Canvas() const { return m_canvas; }
  void SetCanvas(framework::Canvas *canvas) { m_canvas = canvas; }
  TCnAAMask &Mask() { return m_mask; }
  const TCnAAMask &Mask() const { return m_mask; }
  TCnAABlend &Blend() { return m_blend; }
  bool BrushClear() const { return m_brushClear; }
  void SetBrushClear(bool value) { m_brushClear = value; }

  // 0 x 0 without a canvas.
  virtual QSize MeasureText(const QString &text) const;
  int MeasureWidth(const QString &text) const { return MeasureText(text).width(); }
  int MeasureHeight(const QString &text) const { return MeasureText(text).height(); }

protected:
  // Size and start point in `font` at the canvas's current angle.
  TextMetrics Measure(const QString &text, const QFont &font) const;
  // The canvas's brush colour while the brush is not clear.
  std::optional<framework::TColor> brushColor() const;

  framework::Canvas *m_canvas;
  TCnAAMask m_mask;
  TCnAABlend m_blend;
  bool m_brushClear = true;
};

// The engine with its effects: rotation, shadow, mask transforms and fills.
class TCnAAFontEx : public TCnAAFont {
public:
  explicit TCnAAFontEx(framework::Canvas *canvas = nullptr);

  TCnAAEffect &Effect() { return *m_effect; }
  const TCnAAEffect &Effect() const { return *m_effect; }
  AARandom &Random() { return m_random; }

  // With the effect's angle, grown by the shadow's offsets while the shadow is on.
  QSize MeasureText(const QString &text) const override;
  // Draws `text` with every effect, its box's top-left corner at (x, y). On a canvas of a larger
  // ratio the whole work is done at that size in the image's own pixels.
  void RenderText(int x, int y, const QString &text);

private:
  void Fill(QPoint at);

  std::unique_ptr<TCnAAEffect> m_effect;
  TCnAAMask m_shadowMask;
  AARandom m_random;
};

} // namespace widgets::aa
