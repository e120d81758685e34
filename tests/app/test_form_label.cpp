#include "FormFixture.h"
#include "framework/Canvas.h"
#include "widgets/TCnAALabel.h"

#include <QImage>

using namespace app;
using namespace app::test;

namespace {

framework::TColor At(const QImage &image, QPoint p) {
  return framework::FromQRgb(image.pixel(p));
}

TEST_F(FormFixture, ThePercentageLabelIsWhiteTextOverTheBatteryAtTheSizeOfItsCaption) {
  const auto form = Create();
  widgets::TCnAALabel &label = *form->lblMseBattery;
  // Without a receiver the start-up leaves a single space; a readout sets the percentage.
  EXPECT_EQ(label.Caption(), QStringLiteral(" "));
  label.SetCaption(QStringLiteral("83%"));
  EXPECT_TRUE(label.Effect().Transparent());
  EXPECT_EQ(label.Effect().Quality(), widgets::TAAQuality::aqNormal);
  EXPECT_FALSE(label.ParentEffect().ParentFont());
  EXPECT_EQ(label.Font(), (framework::FontDesc{QStringLiteral("MS Sans Serif"), -13, true, false,
                                               false, framework::clWhite}));

  form->show();
  form->grab(); // the first paint sizes the label
  QImage scratch(1, 1, QImage::Format_RGB32);
  framework::Canvas canvas(scratch);
  canvas.SetFont(framework::MakeFont(label.Font()));
  widgets::aa::TCnAAFontEx engine(&canvas);
  engine.Mask().SetQuality(widgets::aa::TAAQuality::aqNormal);
  EXPECT_EQ(label.size(), engine.MeasureText(QStringLiteral("83%")));
  EXPECT_EQ(label.pos(), QPoint(151, 179));

  const QImage with = form->grab().toImage();
  label.hide();
  const QImage without = form->grab().toImage();
  label.show();
  const QPoint origin = label.mapTo(form.get(), QPoint(0, 0));
  int ink = 0;
  int white = 0;
  for (int y = 0; y < label.height(); ++y)
    for (int x = 0; x < label.width(); ++x) {
      const QPoint p = origin + QPoint(x, y);
      const framework::TColor beneath = At(without, p);
      const framework::TColor shown = At(with, p);
      if (shown == beneath) continue;
      ++ink;
      EXPECT_GT(framework::GetRValue(shown), framework::GetRValue(beneath));
      EXPECT_GT(framework::GetGValue(shown), framework::GetGValue(beneath));
      EXPECT_GT(framework::GetBValue(shown), framework::GetBValue(beneath));
      // aqNormal's full ink is 254 of 255: 253 of the way to white.
      if (framework::GetRValue(shown) >= 0xF0 && framework::GetGValue(shown) >= 0xF0 &&
          framework::GetBValue(shown) >= 0xF0)
        ++white;
    }
  EXPECT_GT(ink, 40);
  EXPECT_GT(white, 10);

  // Its size follows the caption.
  const QSize measured = label.size();
  label.SetCaption(QStringLiteral("100%"));
  form->grab();
  EXPECT_GT(label.width(), measured.width());
  label.SetCaption(QStringLiteral(" "));
  form->grab();
  EXPECT_LT(label.width(), measured.width());
  EXPECT_EQ(label.height(), measured.height());
  form->close();
}

} // namespace
