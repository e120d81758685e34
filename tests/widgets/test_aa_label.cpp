#include "AATestHelpers.h"
#include "common/ParentPropertiesCases.h"
#include "widgets/TCnAALabel.h"

#include <QPalette>
#include <gtest/gtest.h>

#include <tuple>

using namespace widgets;
using aatest::At;
using aatest::InkBox;
using framework::TColor;

namespace {

const framework::FontDesc WhiteBold{
    QStringLiteral("MS Sans Serif"), -13, true, false, false, framework::clWhite};

// A label on a parent of one colour, in the percentage label's font.
class Label : public testing::Test {
protected:
  Label() {
    Parent.resize(120, 80);
    Parent.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, framework::ToQColor(ParentColor));
    Parent.setPalette(palette);
    Aa = new TCnAALabel(&Parent);
    Aa->SetBounds(10, 10, 27, 16);
    Aa->SetFont(WhiteBold);
  }

  // The size the engine gives the caption in the label's font and quality.
  QSize Measured(const QString &caption) const {
    QImage scratch(1, 1, QImage::Format_RGB32);
    framework::Canvas canvas(scratch);
    canvas.SetFont(framework::MakeFont(Aa->Font()));
    aa::TCnAAFontEx engine(&canvas);
    engine.Mask().SetQuality(Aa->Effect().Quality());
    return engine.MeasureText(caption);
  }
  QImage Paint() { return Aa->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  static constexpr TColor ParentColor = 0x2C191B;
  QWidget Parent;
  TCnAALabel *Aa = nullptr;
};

TEST_F(Label, StartsWithItsConstructionValues) {
  TCnAALabel fresh(&Parent);
  const TCnAAFontEffect &e = fresh.Effect();
  const aa::TCnAAEffect &fx = e.FontEffect();
  const aa::TCnAAShadow &s = fx.Shadow();
  EXPECT_EQ(std::tuple(fresh.size(), fresh.AutoSize(), fresh.Border(), fresh.Caption().isEmpty(),
                       fresh.Ready(), fresh.AutoRefresh(), fresh.UpdateCount()),
            std::tuple(QSize(46, 12), true, 0, true, false, true, 0));
  EXPECT_EQ(std::tuple(e.Transparent(), e.Layout(), e.Alignment(), e.Quality(), e.BackGroundMode(),
                       e.BackGround().isNull(), e.BackColorStored()),
            std::tuple(false, TTextLayout::tlTop, TAlignment::taLeftJustify, TAAQuality::aqNormal,
                       TBackGroundMode::bmCenter, true, false));
  EXPECT_EQ(e.BackColor(), ParentColor); // the parent's colour
  EXPECT_EQ(std::tuple(fx.Alpha(), fx.Blur(), fx.Angle(), fx.Noise(), fx.Spray(), fx.Outline(),
                       fx.HorzMirror(), fx.VertMirror()),
            std::tuple(100, 0, 0, 0, 0, false, false, false));
  EXPECT_EQ(std::tuple(s.Enabled(), s.Blur(), s.Alpha(), s.Color(), s.OffsetX(), s.OffsetY()),
            std::tuple(false, 80, 70, 0x444444u, 2, 2));
  EXPECT_EQ(std::tuple(fx.Gradual().Enabled(), fx.Gradual().Style(), fx.Gradual().StartColor(),
                       fx.Gradual().EndColor(), fx.Texture().Enabled(), fx.Texture().Mode()),
            std::tuple(false, aa::gsLeftToRight, 0xFFFFFFu, 0u, false, aa::tmTiled));
  EXPECT_EQ(std::tuple(fresh.ParentEffect().ParentColor(), fresh.ParentEffect().ParentFont(),
                       fresh.ParentEffect().ParentShowHint(), fresh.Drag().DragKind(),
                       fresh.Drag().DragCursor(), fresh.Drag().DragMode()),
            std::tuple(true, true, true, TDragKind::dkDrag, -12, TDragMode::dmManual));
}

TEST_F(Label, WhileLoadingNothingRefreshesUntilLoadingEnds) {
  Aa->BeginLoading();
  Aa->SetCaption(QStringLiteral("50%"));
  Aa->SetBorder(1);
  EXPECT_TRUE(Aa->OffscreenBitmap().isNull());
  EXPECT_EQ(Aa->size(), QSize(27, 16));
  EXPECT_TRUE(Paint().size() == QSize(27, 16)); // a paint while loading changes nothing
  EXPECT_TRUE(Aa->OffscreenBitmap().isNull());
  Aa->Loaded();
  EXPECT_TRUE(Aa->Ready());
  EXPECT_EQ(Aa->size(), Measured(QStringLiteral("50%")) + QSize(2, 2));
  EXPECT_EQ(Aa->OffscreenBitmap().size(), Aa->size());
}

TEST_F(Label, WithoutLoadingTheFirstPaintMakesItReady) {
  Aa->SetCaption(QStringLiteral("100%"));
  EXPECT_FALSE(Aa->Ready());
  EXPECT_TRUE(Aa->OffscreenBitmap().isNull());
  EXPECT_EQ(Aa->size(), QSize(27, 16));
  Paint();
  EXPECT_TRUE(Aa->Ready());
  EXPECT_EQ(Aa->size(), Measured(QStringLiteral("100%")));
  EXPECT_FALSE(Aa->OffscreenBitmap().isNull());
}

TEST_F(Label, AnOpaqueLabelRendersOnlyOnAChange) {
  Aa->SetCaption(QStringLiteral("50%"));
  Aa->Loaded();
  qint64 key = Aa->OffscreenBitmap().cacheKey();
  const auto rendered = [&] {
    const qint64 now = Aa->OffscreenBitmap().cacheKey();
    const bool changed = now != key;
    key = now;
    return changed;
  };
  struct Step {
    const char *what;
    std::function<void(TCnAALabel &)> act;
    bool renders;
  };
  const Step steps[] = {
      {"paint", [](TCnAALabel &l) { l.grab(); }, false},
      {"same caption", [](TCnAALabel &l) { l.SetCaption(QStringLiteral("50%")); }, false},
      {"disabled shadow", [](TCnAALabel &l) { l.Effect().FontEffect().Shadow().SetBlur(3); },
       false},
      {"same border", [](TCnAALabel &l) { l.SetBorder(0); }, false},
      {"caption", [](TCnAALabel &l) { l.SetCaption(QStringLiteral("83%")); }, true},
      {"alpha", [](TCnAALabel &l) { l.Effect().FontEffect().SetAlpha(60); }, true},
      {"shadow on", [](TCnAALabel &l) { l.Effect().FontEffect().Shadow().SetEnabled(true); }, true},
      {"quality", [](TCnAALabel &l) { l.Effect().SetQuality(TAAQuality::aqHigh); }, true},
      {"layout", [](TCnAALabel &l) { l.Effect().SetLayout(TTextLayout::tlBottom); }, true},
      {"colour", [](TCnAALabel &l) { l.SetColor(0x123456); }, true},
      {"font", [](TCnAALabel &l) { l.SetFont(framework::FontDesc{}); }, true},
      {"border", [](TCnAALabel &l) { l.SetBorder(2); }, true},
      {"auto size", [](TCnAALabel &l) { l.SetAutoSize(true); }, true},
      {"locked",
       [](TCnAALabel &l) {
         l.BeginUpdate();
         l.SetCaption(QStringLiteral("1%"));
       },
       false},
      {"unlocked", [](TCnAALabel &l) { l.EndUpdate(); }, true},
      {"no auto refresh",
       [](TCnAALabel &l) {
         l.SetAutoRefresh(false);
         l.SetCaption(QStringLiteral("2%"));
       },
       false},
  };
  for (const Step &step : steps) {
    step.act(*Aa);
    EXPECT_EQ(rendered(), step.renders) << step.what;
  }
  EXPECT_EQ(Aa->Effect().FontEffect().Shadow().Blur(), 3); // stored while quiet
}

struct SizeCase {
  TAlign align;
  int border;
  bool width;
  bool height;
};

TEST_F(Label, AutoSizeFollowsTheCaptionTheBorderAndTheAlignment) {
  const QSize text = Measured(QStringLiteral("50%"));
  for (const SizeCase &c :
       {SizeCase{TAlign::alNone, 0, true, true}, SizeCase{TAlign::alNone, 3, true, true},
        SizeCase{TAlign::alLeft, 2, true, false}, SizeCase{TAlign::alRight, 2, true, false},
        SizeCase{TAlign::alTop, 2, false, true}, SizeCase{TAlign::alBottom, 2, false, true},
        SizeCase{TAlign::alClient, 2, false, false}}) {
    TCnAALabel label(&Parent);
    label.SetFont(WhiteBold);
    label.SetBounds(0, 0, 70, 40);
    label.SetAlign(c.align);
    label.SetBorder(c.border);
    label.SetCaption(QStringLiteral("50%"));
    label.Loaded();
    EXPECT_EQ(label.size(), QSize(c.width ? text.width() + 2 * c.border : 70,
                                  c.height ? text.height() + 2 * c.border : 40))
        << static_cast<int>(c.align) << " border " << c.border;
  }
}

TEST_F(Label, AlignmentAndLayoutPlaceTheCaptionInsideTheBorder) {
  const QString caption = QStringLiteral("83%");
  const QSize text = Measured(caption);
  // Where the ink lies when the caption's box is at (0, 0).
  Aa->SetColor(framework::clBlack);
  Aa->SetCaption(caption);
  Aa->Loaded();
  const QRect reference = InkBox(Aa->OffscreenBitmap(), framework::clBlack);
  ASSERT_FALSE(reference.isEmpty());

  const int w = 60, h = 40, b = 3;
  struct Place {
    TAlignment alignment;
    TTextLayout layout;
    QPoint at;
  };
  for (const Place &p :
       {Place{TAlignment::taLeftJustify, TTextLayout::tlTop, {b, b}},
        Place{TAlignment::taRightJustify, TTextLayout::tlTop, {w - b - text.width(), b}},
        Place{TAlignment::taCenter,
              TTextLayout::tlCenter,
              {(w - text.width()) / 2, (h - text.height()) / 2}},
        Place{TAlignment::taLeftJustify, TTextLayout::tlBottom, {b, h - b - text.height()}},
        Place{TAlignment::taCenter,
              TTextLayout::tlBottom,
              {(w - text.width()) / 2, h - b - text.height()}}}) {
    Aa->SetAutoSize(false);
    Aa->SetBounds(0, 0, w, h);
    Aa->SetBorder(b);
    Aa->Effect().SetAlignment(p.alignment);
    Aa->Effect().SetLayout(p.layout);
    EXPECT_EQ(InkBox(Aa->OffscreenBitmap(), framework::clBlack), reference.translated(p.at))
        << static_cast<int>(p.alignment) << "/" << static_cast<int>(p.layout);
    EXPECT_EQ(Paint(), Aa->OffscreenBitmap()); // a paint is the bitmap
  }
}

TEST_F(Label, BackgroundModesPlaceThePicture) {
  QImage picture(2, 2, QImage::Format_RGB32);
  picture.fill(framework::ToQRgb(0x0000FF));
  picture.setPixel(1, 1, framework::ToQRgb(0x00FF00));
  Aa->SetAutoSize(false);
  Aa->SetBounds(0, 0, 5, 4);
  Aa->SetColor(0xFF0000);
  Aa->Effect().SetBackGround(picture);
  Aa->Loaded();
  struct Probe {
    TBackGroundMode mode;
    QPoint at;
    TColor expected;
  };
  for (const Probe &p : {Probe{TBackGroundMode::bmNormal, {1, 1}, 0x00FF00},
                         Probe{TBackGroundMode::bmNormal, {2, 2}, 0xFF0000},
                         Probe{TBackGroundMode::bmCenter, {1, 1}, 0x0000FF},
                         Probe{TBackGroundMode::bmCenter, {2, 2}, 0x00FF00},
                         Probe{TBackGroundMode::bmCenter, {0, 0}, 0xFF0000},
                         Probe{TBackGroundMode::bmTiled, {3, 3}, 0x00FF00},
                         Probe{TBackGroundMode::bmTiled, {4, 2}, 0x0000FF},
                         Probe{TBackGroundMode::bmStretched, {4, 3}, 0x00FF00},
                         Probe{TBackGroundMode::bmStretched, {2, 1}, 0x0000FF}}) {
    Aa->Effect().SetBackGroundMode(p.mode);
    Aa->Effect().SetBackGroundMode(p.mode);
    Aa->Effect().FontEffect().SetAlpha(p.at.x() % 2 == 0 ? 99 : 100); // forces a refresh
    EXPECT_EQ(At(Aa->OffscreenBitmap(), p.at.x(), p.at.y()), p.expected)
        << static_cast<int>(p.mode) << " at " << p.at.x() << "," << p.at.y();
  }
  // An icon's transparent pixels show the label's colour.
  QImage icon(2, 2, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  Aa->Effect().SetBackGroundMode(TBackGroundMode::bmStretched);
  Aa->Effect().SetBackGround(icon);
  EXPECT_EQ(At(Aa->OffscreenBitmap(), 2, 2), 0xFF0000u);
}

TEST_F(Label, TransparentTextBlendsOverWhatLiesBeneath) {
  // A sibling below the label covers its right half.
  QWidget below(&Parent);
  below.setGeometry(30, 0, 90, 80);
  below.setAutoFillBackground(true);
  QPalette palette;
  palette.setColor(QPalette::Window, framework::ToQColor(0x00A000));
  below.setPalette(palette);
  Aa->raise();
  Aa->Effect().SetTransparent(true);
  Aa->SetCaption(QStringLiteral("83%"));
  Paint(); // ready, sized
  const QImage drawn = Paint();
  ASSERT_EQ(drawn.size(), Measured(QStringLiteral("83%")));
  int ink = 0;
  for (int y = 0; y < drawn.height(); ++y)
    for (int x = 0; x < drawn.width(); ++x) {
      const TColor beneath = Aa->x() + x >= 30 ? 0x00A000 : ParentColor;
      const TColor c = At(drawn, x, y);
      if (c == beneath) continue;
      ++ink;
      // Text moves each channel of what is beneath towards white.
      EXPECT_GE(framework::GetRValue(c), framework::GetRValue(beneath));
      EXPECT_GE(framework::GetGValue(c), framework::GetGValue(beneath));
      EXPECT_GE(framework::GetBValue(c), framework::GetBValue(beneath));
    }
  EXPECT_GT(ink, 30);
  EXPECT_EQ(At(drawn, drawn.width() - 1, drawn.height() - 1), 0x00A000u);

  Aa->SetCaption(QStringLiteral(" "));
  Paint();
  const QImage space = Paint();
  for (int y = 0; y < space.height(); ++y)
    for (int x = 0; x < space.width(); ++x)
      ASSERT_EQ(At(space, x, y), Aa->x() + x >= 30 ? 0x00A000u : ParentColor) << x << "," << y;
}

TEST_F(Label, CopyingTheEffectTakesPlacementAndBackground) {
  TCnAALabel other(&Parent);
  other.Effect().SetTransparent(true);
  other.Effect().SetAlignment(TAlignment::taCenter);
  other.Effect().SetLayout(TTextLayout::tlBottom);
  other.Effect().SetBackGroundMode(TBackGroundMode::bmTiled);
  other.Effect().SetBackGround(QImage(3, 3, QImage::Format_RGB32));
  Aa->SetEffect(other.Effect());
  const TCnAAFontEffect &e = Aa->Effect();
  EXPECT_EQ(std::tuple(e.Transparent(), e.Alignment(), e.Layout(), e.BackGroundMode(),
                       e.BackGround().size()),
            std::tuple(true, TAlignment::taCenter, TTextLayout::tlBottom, TBackGroundMode::bmTiled,
                       QSize(3, 3)));
}

TEST_F(Label, ACaptionShowingTheNameFollowsIt) {
  Aa->setObjectName(QStringLiteral("AALabel1"));
  EXPECT_EQ(Aa->Caption(), QStringLiteral("AALabel1"));
  Aa->setObjectName(QStringLiteral("lblOther"));
  EXPECT_EQ(Aa->Caption(), QStringLiteral("lblOther"));
  Aa->SetCaption(QStringLiteral("50%"));
  Aa->setObjectName(QStringLiteral("lblThird"));
  EXPECT_EQ(Aa->Caption(), QStringLiteral("50%"));
}

// A ready label; the border keeps the fill's probe clear of the caption.
class ReadyLabel : public TCnAALabel {
public:
  explicit ReadyLabel(QWidget *parent) : TCnAALabel(parent) {
    SetBorder(4);
    Loaded();
  }
  void ShowText(const QString &text) { SetCaption(text); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(AntiAliased, ParentProperties, testing::Types<ReadyLabel>);

} // namespace

TEST_F(Label, DrawnAheadATransparentLabelOnlyMeasuresItsCaptionOnce) {
  Aa->Effect().SetTransparent(true);
  Aa->SetAutoSize(true);
  Aa->SetCaption(QStringLiteral("83%"));
  Aa->Loaded();
  const QRect before = Aa->geometry();
  EXPECT_TRUE(Aa->RenderIfStale());
  EXPECT_EQ(Aa->geometry(), before) << "sized at its paint, from the caption it has then";
  EXPECT_TRUE(Aa->Buffer().isNull()) << "drawn at its paint";
  EXPECT_FALSE(Aa->RenderIfStale());

  // Opaque, it is drawn ahead like any control.
  Aa->Effect().SetTransparent(false);
  Aa->Invalidate();
  EXPECT_TRUE(Aa->RenderIfStale());
  EXPECT_FALSE(Aa->Buffer().isNull());
  EXPECT_FALSE(Aa->RenderIfStale());
}
