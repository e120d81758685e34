#pragma once

#include "framework/Colors.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>
#include <span>

namespace framework {

// A rectangle with exclusive right and bottom edges, as the drawing rules count them.
struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const TRect &) const = default;
};

// Where a text box sits in its rectangle, and what an "&" in the text does.
enum class TextAlign { Left, Center, Right };
enum class TextLayout { Top, Center, Bottom };
enum class Mnemonic {
  Underline, // "&x" underlines x, "&&" is one "&"
  Hide,      // the same text without the underline
  Literal,   // "&" is an ordinary character
};

struct TextFormat {
  TextAlign Align = TextAlign::Left;
  TextLayout Layout = TextLayout::Top;
  // A line wider than the rectangle loses characters at its end for "...".
  bool EndEllipsis = false;
  Mnemonic Prefix = Mnemonic::Underline;
};

// The colour of a picture's pixel, for pictures whose corner names their transparent colour;
// black outside the picture.
TColor ImagePixel(const QImage &image, int x, int y);

// Drawing on an image with exact, old-style pixel coverage: a filled rectangle leaves out its
// right column and bottom row, a line leaves out its end point, nothing is anti-aliased unless the
// font asks for it. The image is borrowed and must outlive the canvas; every operation clips to it.
// An 8-bit grey image stays one (the text engine renders its masks there): colours are stored as
// their grey value.
class Canvas {
public:
  explicit Canvas(QImage &image);

  QImage &Image() { return m_image; }
  const QImage &Image() const { return m_image; }
  int Width() const { return m_image.width(); }
  int Height() const { return m_image.height(); }
  bool IsGrey() const { return m_image.format() == QImage::Format_Grayscale8; }

  TColor PenColor() const { return m_penColor; }
  void SetPenColor(TColor c) { m_penColor = c; }
  TColor BrushColor() const { return m_brushColor; }
  void SetBrushColor(TColor c) { m_brushColor = c; }

  // Font for TextOut; Angle in tenths of a degree, counter-clockwise.
  const QFont &Font() const { return m_font; }
  void SetFont(const QFont &font) { m_font = font; }
  TColor FontColor() const { return m_fontColor; }
  void SetFontColor(TColor c) { m_fontColor = c; }
  int FontAngle() const { return m_fontAngle; }
  void SetFontAngle(int tenths) { m_fontAngle = tenths; }

  // Covers Left <= x < Right, Top <= y < Bottom with the brush colour.
  void FillRect(const TRect &r);
  // The border pixels of the same area (columns Left and Right - 1, rows Top and Bottom - 1), pen.
  void FrameRect(const TRect &r);

  QPoint PenPos() const { return m_penPos; }
  void MoveTo(int x, int y) { m_penPos = QPoint(x, y); }
  // From the pen position up to but not including (x, y); the pen then rests there.
  void LineTo(int x, int y);
  void Polyline(std::span<const QPoint> points);

  // Out-of-range reads give black; out-of-range writes are ignored.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor c);

  // Nearest-neighbour scaling, no smoothing. Source pixels of the key colour are left out, so
  // what lies beneath shows through. A null source draws nothing and answers false.
  bool StretchDraw(const TRect &dest, const QImage &source, std::optional<TColor> key = {});
  bool Draw(int x, int y, const QImage &source, std::optional<TColor> key = {});
  // Repeats the source from dest's top-left corner, the last row and column of copies cut at
  // dest's edges.
  bool TileDraw(const TRect &dest, const QImage &source, std::optional<TColor> key = {});

  // Replaces the 4-connected area of `surface`-coloured pixels around (x, y) with `fill`.
  // Answers false when the start is outside the image or not of the surface colour.
  bool FloodFill(int x, int y, TColor surface, TColor fill);

  // (x, y) is the top-left corner of the text box, which turns with the text about that point.
  // The background stays untouched.
  void TextOut(int x, int y, const QString &text);
  // Unrotated size of the text box in the current font.
  QSize TextExtent(const QString &text) const;
  // One unrotated line placed in `r` as `format` says and clipped to it; answers the text box.
  TRect TextRect(const TRect &r, const QString &text, const TextFormat &format = {});

private:
  std::uint32_t Raw(int x, int y) const;
  void SetRaw(int x, int y, std::uint32_t argb);
  // Pixels Left <= x < Right of row y, clipped.
  void FillSpan(int y, int left, int right, std::uint32_t argb);

  QImage &m_image;
  TColor m_penColor = clBlack;
  TColor m_brushColor = clWhite;
  QFont m_font;
  TColor m_fontColor = clBlack;
  int m_fontAngle = 0;
  QPoint m_penPos;
};

} // namespace framework
