#pragma once

#include "framework/Colors.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>
#include <span>
#include <vector>

class QPainter;

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

// The whole number of device pixels a window draws per pixel of its own at a screen's ratio:
// halves round up (1.5 gives 2), never below 1.
int WholeRatio(double devicePixelRatio);
// A picture's own ratio, as whole: 1 for every picture that was not drawn at device pixels.
int ImageRatio(const QImage &image);

// Drawing on an image with exact, old-style pixel coverage: a filled rectangle leaves out its
// right column and bottom row, a line leaves out its end point, nothing is anti-aliased unless the
// font asks for it. The image is borrowed and must outlive the canvas; every operation clips to it.
// An 8-bit grey image stays one (the text engine renders its masks there): colours are stored as
// their grey value.
//
// Coordinates are the drawing's own pixels. An image whose device pixel ratio is r (whole, see
// ImageRatio) has r x r of its pixels to each of them: rectangles, lines and pixels cover whole
// blocks, pictures are scaled by nearest neighbour, text is drawn sharp at r times its size, so
// that at ratio 1 every pixel is what it always was.
class Canvas {
public:
  explicit Canvas(QImage &image);
  // Drawing in `ratio` x `ratio` blocks whatever ratio the image claims; 1 draws in its pixels.
  Canvas(QImage &image, int ratio);

  QImage &Image() { return m_image; }
  const QImage &Image() const { return m_image; }
  int Ratio() const { return m_ratio; }
  // In the drawing's own pixels; the image is Ratio() times as large.
  int Width() const { return m_image.width() / m_ratio; }
  int Height() const { return m_image.height() / m_ratio; }
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

  // Out-of-range reads give black; out-of-range writes are ignored. A read answers the top-left
  // image pixel of the block.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor c);

  // Nearest-neighbour scaling, no smoothing. Source pixels of the key colour are left out, so
  // what lies beneath shows through. A null source draws nothing and answers false.
  bool StretchDraw(const TRect &dest, const QImage &source, std::optional<TColor> key = {});
  // At the source's size in its own pixels (a picture of ratio 2 covers half its width).
  bool Draw(int x, int y, const QImage &source, std::optional<TColor> key = {});
  // Repeats the source from dest's top-left corner, the last row and column of copies cut at
  // dest's edges.
  bool TileDraw(const TRect &dest, const QImage &source, std::optional<TColor> key = {});

  // Replaces the 4-connected area of `surface`-coloured image pixels around the block of (x, y)
  // with `fill`. Answers false when the start is outside the image or not of the surface colour.
  bool FloodFill(int x, int y, TColor surface, TColor fill);

  // (x, y) is the top-left corner of the text box, which turns with the text about that point.
  // The background stays untouched.
  void TextOut(int x, int y, const QString &text);
  // Unrotated size of the text box in the current font.
  QSize TextExtent(const QString &text) const;
  // One unrotated line placed in `r` as `format` says and clipped to it; answers the text box.
  TRect TextRect(const TRect &r, const QString &text, const TextFormat &format = {});

private:
  // Image pixels, unscaled.
  std::uint32_t Raw(int x, int y) const;
  void SetRaw(int x, int y, std::uint32_t argb);
  // Image pixels x1 <= x < x2 of row y, each from `in` at its entry of `columns`; a pixel of
  // `keyRgb`'s colour leaves the one below.
  void PutRow(int y, int x1, int x2, const std::uint32_t *in, const std::vector<int> &columns,
              bool key, std::uint32_t keyRgb);
  // Image pixels Left <= x < Right of image row y, clipped.
  void FillSpan(int y, long long left, long long right, std::uint32_t argb);
  // The image pixels of the drawing's Left <= x < Right, Top <= y < Bottom, clipped.
  void FillBlocks(long long left, long long top, long long right, long long bottom,
                  std::uint32_t argb);
  // Text is laid out in the drawing's pixels whatever ratio the image itself claims.
  void ScaleToRatio(QPainter &painter) const;

  QImage &m_image;
  int m_ratio = 1;
  TColor m_penColor = clBlack;
  TColor m_brushColor = clWhite;
  QFont m_font;
  TColor m_fontColor = clBlack;
  int m_fontAngle = 0;
  QPoint m_penPos;
};

} // namespace framework
