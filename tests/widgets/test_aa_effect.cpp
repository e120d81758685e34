#include "widgets/aa/TCnAAEffect.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

using namespace widgets::aa;

namespace {

struct ReportCase {
  const char *name;
  std::function<void(TCnAAEffect &)> prepare;
  std::function<void(TCnAAEffect &)> act;
  int reports;
};

class Reporting : public testing::TestWithParam<ReportCase> {};

TEST_P(Reporting, ReportsOnlyRealChangesOfLiveSettings) {
  const ReportCase &c = GetParam();
  TCnAAEffect effect;
  if (c.prepare) c.prepare(effect);
  int reports = 0;
  effect.SetOnChanged([&reports] { ++reports; });
  c.act(effect);
  EXPECT_EQ(reports, c.reports);
}

const auto EnableAll = [](TCnAAEffect &e) {
  e.Shadow().SetEnabled(true);
  e.Gradual().SetEnabled(true);
  e.Texture().SetEnabled(true);
};

INSTANTIATE_TEST_SUITE_P(
    Setters, Reporting,
    testing::Values(ReportCase{"SameAlpha", {}, [](TCnAAEffect &e) { e.SetAlpha(100); }, 0},
                    ReportCase{"NewAlpha", {}, [](TCnAAEffect &e) { e.SetAlpha(40); }, 1},
                    ReportCase{
                        "AlphaAboveRangeIsTheSame", {}, [](TCnAAEffect &e) { e.SetAlpha(400); }, 0},
                    ReportCase{"EveryScalar",
                               {},
                               [](TCnAAEffect &e) {
                                 e.SetBlur(5);
                                 e.SetAngle(90);
                                 e.SetNoise(3);
                                 e.SetSpray(2);
                                 e.SetOutline(true);
                                 e.SetHorzMirror(true);
                                 e.SetVertMirror(true);
                               },
                               7},
                    ReportCase{"DisabledShadowStaysQuiet",
                               {},
                               [](TCnAAEffect &e) {
                                 e.Shadow().SetBlur(1);
                                 e.Shadow().SetAlpha(1);
                                 e.Shadow().SetColor(1);
                                 e.Shadow().SetOffsetX(-2);
                                 e.Shadow().SetOffsetY(-2);
                                 e.Gradual().SetStyle(gsCenterToTB);
                                 e.Gradual().SetStartColor(1);
                                 e.Gradual().SetEndColor(1);
                                 e.Texture().SetMode(tmCenter);
                                 e.Texture().SetPicture(QImage(2, 2, QImage::Format_RGB32));
                               },
                               0},
                    ReportCase{"EnabledEffectsReport", EnableAll,
                               [](TCnAAEffect &e) {
                                 e.Shadow().SetOffsetX(-2);
                                 e.Gradual().SetStyle(gsCenterToTB);
                                 e.Texture().SetPicture(QImage(2, 2, QImage::Format_RGB32));
                               },
                               3},
                    ReportCase{"SwitchingAlwaysReports",
                               {},
                               [](TCnAAEffect &e) {
                                 e.Shadow().SetEnabled(true);
                                 e.Shadow().SetEnabled(false);
                                 e.Gradual().SetEnabled(true);
                                 e.Texture().SetEnabled(true);
                                 e.Texture().SetEnabled(true); // no change
                               },
                               4},
                    ReportCase{"CopyingAShadowReportsOnce",
                               {},
                               [](TCnAAEffect &e) {
                                 TCnAAShadow shadow;
                                 shadow.SetOffsetX(5);
                                 e.SetShadow(shadow);
                               },
                               1},
                    ReportCase{"CopyingAnEffectReportsOnce",
                               {},
                               [](TCnAAEffect &e) {
                                 TCnAAEffect other;
                                 other.SetAlpha(3);
                                 other.Gradual().SetEnabled(true);
                                 e.SetGradual(other.Gradual());
                               },
                               1}),
    [](const testing::TestParamInfo<ReportCase> &p) { return std::string(p.param.name); });

// Every setting of an effect, for comparing two.
auto Settings(const TCnAAEffect &e) {
  const TCnAAShadow &s = e.Shadow();
  const TCnAAGradual &g = e.Gradual();
  return std::tuple(e.Alpha(), e.Blur(), e.Angle(), e.Noise(), e.Spray(), e.Outline(),
                    e.HorzMirror(), e.VertMirror(), s.Enabled(), s.Blur(), s.Alpha(), s.Color(),
                    s.OffsetX(), s.OffsetY(), g.Enabled(), g.Style(), g.StartColor(), g.EndColor(),
                    e.Texture().Enabled(), e.Texture().Mode(), e.Texture().Picture());
}

TEST(AAEffect, CopyingTakesEverySetting) {
  TCnAAEffect source;
  source.SetAlpha(40);
  source.SetBlur(5);
  source.SetAngle(-90);
  source.SetNoise(9);
  source.SetSpray(3);
  source.SetOutline(true);
  source.SetHorzMirror(true);
  source.SetVertMirror(true);
  source.Shadow().SetEnabled(true);
  source.Shadow().SetOffsetY(-7);
  source.Shadow().SetColor(0x123456);
  source.Gradual().SetStyle(gsBottomToTop);
  source.Texture().SetMode(tmStretched);
  QImage picture(3, 1, QImage::Format_RGB32);
  picture.fill(Qt::red);
  source.Texture().SetPicture(picture);

  TCnAAEffect copy;
  copy.Assign(source);
  EXPECT_EQ(Settings(copy), Settings(source));
  // The picture is copied, not shared.
  source.Texture().SetPicture(QImage());
  EXPECT_FALSE(copy.Texture().Picture().isNull());
}

class EffectIni : public testing::Test {
protected:
  QString Path() const { return Dir.filePath(QStringLiteral("effect.ini")); }
  void Write(const QByteArray &text) {
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  void Load(TCnAAEffect &effect) {
    const QSettings ini(Path(), QSettings::IniFormat);
    effect.LoadFromIni(ini, QStringLiteral("Label"));
  }

  QTemporaryDir Dir;
};

TEST_F(EffectIni, SavesEveryKeyAsTheFileShows) {
  TCnAAEffect effect;
  effect.SetAlpha(55);
  effect.SetAngle(-30);
  effect.SetOutline(true);
  effect.Shadow().SetEnabled(true);
  effect.Shadow().SetColor(framework::clBtnFace);
  effect.Shadow().SetOffsetX(-3);
  effect.Gradual().SetStyle(gsCenterToLR);
  effect.Texture().SetMode(tmNormal);
  {
    QSettings ini(Path(), QSettings::IniFormat);
    effect.SaveToIni(ini, QStringLiteral("Label"));
  }
  QFile file(Path());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)); // Windows' lines end in CR LF
  const QString text = QString::fromUtf8(file.readAll());
  EXPECT_TRUE(text.startsWith(QStringLiteral("[Label]")));
  for (const char *line :
       {"Alpha=55",          "Blur=0",          "Noise=0",          "Spray=0",
        "Angle=-30",         "Outline=true",    "HorzMirror=false", "VertMirror=false",
        "Shadow=true",       "ShadowAlpha=70",  "ShadowBlur=80",    "ShadowColor=-16777201",
        "ShadowOffsetX=-3",  "ShadowOffsetY=2", "Gradual=false",    "GradualStartColor=16777215",
        "GradualEndColor=0", "GradualStyle=4",  "Texture=false",    "TextureMode=3"})
    EXPECT_TRUE(text.contains(QLatin1String(line) + QLatin1Char('\n'))) << line;

  TCnAAEffect loaded;
  Load(loaded);
  EXPECT_EQ(Settings(loaded), Settings(effect));
}

TEST_F(EffectIni, MissingAndUnreadableKeysKeepTheirValues) {
  Write("[Label]\nAlpha=abc\nBlur=7\nOutline=maybe\nShadowColor=99999999999\nNoise=1,2\n"
        "[Other]\nSpray=9\n");
  TCnAAEffect effect;
  effect.SetSpray(4);
  effect.SetOutline(true);
  Load(effect);
  EXPECT_EQ(effect.Alpha(), 100);
  EXPECT_EQ(effect.Blur(), 7);
  EXPECT_TRUE(effect.Outline());
  EXPECT_EQ(effect.Shadow().Color(), 0x444444u);
  EXPECT_EQ(effect.Noise(), 0);
  EXPECT_EQ(effect.Spray(), 4); // another section's key
}

TEST_F(EffectIni, OutOfRangeValuesComeIntoRange) {
  Write("[Label]\nGradualStyle=6\nTextureMode=4\nAlpha=500\nAngle=-1000\nShadowOffsetX=21\n"
        "Noise=300\nHorzMirror=1\n");
  TCnAAEffect effect;
  effect.Gradual().SetStyle(gsBottomToTop);
  effect.Texture().SetMode(tmCenter);
  Load(effect);
  EXPECT_EQ(effect.Gradual().Style(), gsLeftToRight);
  EXPECT_EQ(effect.Texture().Mode(), tmTiled);
  EXPECT_EQ(effect.Alpha(), 100);
  EXPECT_EQ(effect.Angle(), -360);
  EXPECT_EQ(effect.Shadow().OffsetX(), 20);
  EXPECT_EQ(effect.Noise(), 255);
  EXPECT_TRUE(effect.HorzMirror());

  Write("[Label]\nGradualStyle=-1\nTextureMode=-5\n");
  effect.Gradual().SetStyle(gsBottomToTop);
  effect.Texture().SetMode(tmCenter);
  Load(effect);
  EXPECT_EQ(effect.Gradual().Style(), gsLeftToRight);
  EXPECT_EQ(effect.Texture().Mode(), tmTiled);
}

} // namespace
