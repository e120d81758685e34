#include "SkinTestHelpers.h"
#include "framework/Inherited.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace skin;
using framework::FontDesc;
using framework::TColor;

namespace {

// An opaque button without its skin: only the fill and the caption are drawn.
class BareButton : public TsuiButton {
public:
  explicit BareButton(QWidget *parent) : TsuiButton(parent) { SetTransparent(false); }
  void ShowText(const QString &text) { SetCaption(text); }

protected:
  void DrawSkin(framework::Canvas &, const QImage &) override {}
};

class Edit : public TsuiEdit {
public:
  explicit Edit(QWidget *parent) : TsuiEdit(parent) {}
  void ShowText(const QString &text) { SetText(text); }
};

template <class Control> class ParentProperties : public testing::Test {
protected:
  ParentProperties() {
    control.resize(90, control.height());
    control.ShowText(QStringLiteral("WWW"));
  }
  // Where the pixels of `colour` lie in the control as painted now.
  QRect Ink(TColor colour) {
    const QImage shot = control.grab().toImage();
    QRect ink;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        if (shot.pixelColor(x, y) == framework::ToQColor(colour)) ink |= QRect(x, y, 1, 1);
    return ink;
  }
  // The fill, away from the frame line and the centred text.
  QColor Fill() { return control.grab().toImage().pixelColor(2, 2); }
  bool HintShown() {
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), control.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&control, &help);
    QToolTip::hideText();
    return help.isAccepted();
  }

  test::FramedWindow parent{QSize(200, 100)};
  Control control{&parent.form};
};

using Controls = testing::Types<BareButton, Edit>;
TYPED_TEST_SUITE(ParentProperties, Controls);

FontDesc Sans(int height, TColor colour) {
  return {QStringLiteral("MS Sans Serif"), height, true, false, false, colour};
}

TYPED_TEST(ParentProperties, FontFollowsTheParentsUntilOneIsSet) {
  auto &c = this->control;
  EXPECT_TRUE(c.ParentFont());
  framework::SetFontDesc(this->parent.form, Sans(-11, framework::clRed));
  EXPECT_EQ(c.Font(), Sans(-11, framework::clRed));
  const int small = this->Ink(framework::clRed).height();
  framework::SetFontDesc(this->parent.form, Sans(-20, framework::clRed));
  EXPECT_GT(this->Ink(framework::clRed).height(), small) << "drawn again in the larger font";
  // A description differing only in colour leaves Qt's font as it was.
  framework::SetFontDesc(this->parent.form, Sans(-20, framework::clLime));
  EXPECT_FALSE(this->Ink(framework::clLime).isEmpty());

  c.SetFont(Sans(-11, framework::clBlue));
  EXPECT_FALSE(c.ParentFont());
  framework::SetFontDesc(this->parent.form, Sans(-20, framework::clRed));
  EXPECT_EQ(c.Font(), Sans(-11, framework::clBlue));
  EXPECT_TRUE(this->Ink(framework::clRed).isEmpty());
  EXPECT_FALSE(this->Ink(framework::clBlue).isEmpty());

  c.SetParentFont(true);
  EXPECT_EQ(c.Font(), Sans(-20, framework::clRed));
  EXPECT_FALSE(this->Ink(framework::clRed).isEmpty());
}

TYPED_TEST(ParentProperties, ColourFollowsTheParentsUntilOneIsSet) {
  auto &c = this->control;
  // The edit box starts in its own clWindow, the button in its parent's colour.
  c.SetParentColor(true);
  this->parent.form.SetColor(framework::clYellow);
  EXPECT_EQ(c.Color(), framework::clYellow);
  EXPECT_EQ(this->Fill(), QColor(Qt::yellow));

  c.SetColor(framework::clAqua);
  EXPECT_FALSE(c.ParentColor());
  this->parent.form.SetColor(framework::clSilver);
  EXPECT_EQ(this->Fill(), QColor(Qt::cyan));

  c.SetParentColor(true);
  EXPECT_EQ(c.Color(), framework::ColorToRGB(framework::clSilver));
  EXPECT_EQ(this->Fill(), framework::ToQColor(framework::clSilver));
}

TYPED_TEST(ParentProperties, HintShowsAsTheParentDecidesUntilTheControlDoes) {
  auto &c = this->control;
  c.SetHint(QStringLiteral("hint"));
  EXPECT_TRUE(c.ParentShowHint());
  EXPECT_FALSE(this->HintShown()) << "the window shows no hints unless asked";
  framework::SetShowsHint(this->parent.window, true);
  EXPECT_TRUE(this->HintShown());

  c.SetShowHint(false);
  EXPECT_FALSE(c.ParentShowHint());
  EXPECT_FALSE(this->HintShown());

  c.SetParentShowHint(true);
  EXPECT_TRUE(this->HintShown());
}

TEST(ParentProperties, ColourFollowedAtCreationOnlyByTheButton) {
  test::FramedWindow parent(QSize(200, 100));
  EXPECT_TRUE(BareButton(&parent.form).ParentColor());
  const TsuiEdit edit(&parent.form);
  EXPECT_FALSE(edit.ParentColor());
  EXPECT_EQ(edit.Color(), framework::clWindow);
}

struct AutoSizeCase {
  const char *name;
  bool autoSize;
  FontDesc own, parents;
  // Expected: 0 for the font's line height plus the frame and room, else this height.
  int height;
};

class EditAutoSize : public testing::TestWithParam<AutoSizeCase> {};

TEST_P(EditAutoSize, HeightFollowsTheFontShownWhileSet) {
  const AutoSizeCase c = GetParam();
  QWidget parent;
  TsuiEdit edit(&parent);
  edit.SetAutoSize(c.autoSize);
  edit.resize(53, 19);
  framework::SetFontDesc(parent, c.parents);
  if (c.own != FontDesc{}) edit.SetFont(c.own);
  const QFont shown = framework::MakeFont(edit.Font());
  EXPECT_EQ(edit.height(), c.height ? c.height : QFontMetrics(shown).height() + 8);
  edit.SetAutoSize(true);
  EXPECT_EQ(edit.height(), QFontMetrics(shown).height() + 8) << "switched on: sized at once";
}

INSTANTIATE_TEST_SUITE_P(
    Fonts, EditAutoSize,
    testing::Values(AutoSizeCase{"parentsFont", true, {}, Sans(-30, framework::clBlack), 0},
                    AutoSizeCase{"ownFont", true, Sans(-16, 0), Sans(-30, 0), 0},
                    AutoSizeCase{"offKeepsTheHeight", false, Sans(-16, 0), Sans(-30, 0), 19}),
    [](const auto &param) { return std::string(param.param.name); });

} // namespace
