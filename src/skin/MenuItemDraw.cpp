#include "skin/MenuItemDraw.h"

#include <algorithm>

namespace skin {

namespace {

using framework::Canvas;
using framework::TColor;
using framework::TRect;

// The caption starts this far below the item's top.
constexpr int CaptionTop = 4;

QSize textExtent(const QFont &font, const QString &text) {
  QImage scratch(1, 1, QImage::Format_RGB32);
  Canvas canvas(scratch);
  canvas.SetFont(font);
  return canvas.TextExtent(text);
}

int textWidth(const QFont &font, const QString &text) {
  return textExtent(font, text).width();
}

// The top `rows` rows of a picture stretched over r.
void stretchTop(Canvas &canvas, const TRect &r, const QImage &picture, int rows) {
  canvas.StretchDraw(r, picture.copy(0, 0, picture.width(), std::min(rows, picture.height())));
}

void barAndBackground(Canvas &canvas, const TRect &r, const MenuLook &look) {
  TRect rest = r;
  if (look.BarWidth > 0) {
    canvas.SetBrushColor(look.BarColor);
    if (look.RightToLeft) {
      canvas.FillRect({r.Right - look.BarWidth, r.Top, r.Right, r.Bottom});
      rest.Right -= look.BarWidth;
    } else {
      canvas.FillRect({r.Left, r.Top, r.Left + look.BarWidth, r.Bottom});
      rest.Left += look.BarWidth;
    }
  }
  canvas.SetBrushColor(look.Color);
  canvas.FillRect(rest);
}

QImage greyed(const QImage &picture) {
  QImage grey = picture.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < grey.height(); ++y)
    for (int x = 0; x < grey.width(); ++x) {
      const QRgb p = grey.pixel(x, y);
      const int g = qGray(p);
      grey.setPixel(x, y, qRgba(g, g, g, qAlpha(p)));
    }
  return grey;
}

} // namespace

QSize MeasureMenuItem(const MenuLook &look, const MenuItemState &item) {
  const QSize caption = textExtent(look.Font, item.Caption);
  const int width = caption.width() + textWidth(look.Font, item.ShortCut) + look.BarWidth + 40;
  if (item.Separator) return {width, look.SeparatorHeight};
  // The text ends above the bottom row, where a selected item has its frame.
  return {width, std::max(look.ItemHeight, CaptionTop + caption.height() + 1)};
}

void DrawMenuItem(Canvas &canvas, const TRect &r, const MenuLook &look, const MenuItemState &item) {
  const bool rtl = look.RightToLeft;
  if (item.Separator) {
    if (!look.BarBitmap.isNull()) {
      stretchTop(canvas, r, look.BarBitmap, 12);
      return;
    }
    barAndBackground(canvas, r, look);
    canvas.SetPenColor(look.SeparatorColor);
    if (rtl) {
      canvas.MoveTo(r.Left + 2, r.Top + 2);
      canvas.LineTo(r.Right - look.BarWidth - 4, r.Top + 2);
    } else {
      canvas.MoveTo(r.Left + look.BarWidth + 4, r.Top + 2);
      canvas.LineTo(r.Right - 2, r.Top + 2);
    }
    return;
  }

  if (item.Selected && item.Enabled) {
    if (!look.SelectBitmap.isNull()) {
      stretchTop(canvas, r, look.SelectBitmap, 20);
    } else {
      canvas.SetBrushColor(look.SelectedColor);
      canvas.FillRect(r);
      canvas.SetPenColor(look.SelectedBorderColor);
      canvas.FrameRect(r);
    }
  } else if (!look.BarBitmap.isNull()) {
    stretchTop(canvas, r, look.BarBitmap, 20);
  } else {
    barAndBackground(canvas, r, look);
  }

  QFont font = look.Font;
  font.setBold(item.Default);
  canvas.SetFont(font);
  canvas.SetFontColor(!item.Enabled   ? DisabledMenuFontColor
                      : item.Selected ? look.SelectedFontColor
                                      : look.FontColor);
  const TRect captionRect =
      rtl ? TRect{r.Left, r.Top + CaptionTop, r.Right - look.BarWidth - 4, r.Bottom}
          : TRect{r.Left + look.BarWidth + 4, r.Top + CaptionTop, r.Right, r.Bottom};
  canvas.TextRect(captionRect, item.Caption,
                  {rtl ? framework::TextAlign::Right : framework::TextAlign::Left,
                   framework::TextLayout::Top, false, framework::Mnemonic::Underline});
  if (!item.ShortCut.isEmpty()) {
    const int w = canvas.TextExtent(item.ShortCut).width();
    canvas.TextOut(rtl ? r.Left + 16 : r.Right - w - 16, r.Top + CaptionTop, item.ShortCut);
  }

  const int x = rtl ? r.Right - 20 : r.Left + 4;
  if (item.Checked && !item.Image.isNull()) {
    canvas.SetPenColor(framework::clBlack);
    canvas.FrameRect({x - 2, r.Top + 1, x + 17, r.Top + 20});
    canvas.SetBrushColor(look.SelectedColor);
    canvas.FillRect({x - 1, r.Top + 2, x + 16, r.Top + 19});
  } else if (item.Checked && !look.CheckMark.isNull()) {
    canvas.Draw(x, r.Top + 3, item.Enabled ? look.CheckMark : greyed(look.CheckMark),
                framework::clWhite);
  }
  if (!item.Image.isNull())
    canvas.Draw(x, r.Top + 3, item.Enabled ? item.Image : greyed(item.Image));
}

} // namespace skin
