#include "common/ParentPropertiesCases.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace skin;
using framework::FontDesc;

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

using Controls = testing::Types<BareButton, Edit>;
INSTANTIATE_TYPED_TEST_SUITE_P(Skinned, ParentProperties, Controls);

TEST(ParentProperties, ColourFollowedAtCreationOnlyByTheButton) {
  test::FramedWindow parent(QSize(200, 100));
  EXPECT_TRUE(BareButton(&parent.form).ParentColor());
  const TsuiEdit edit(&parent.form);
  EXPECT_FALSE(edit.ParentColor());
  EXPECT_EQ(edit.Color(), framework::clWindow);
}

TEST(TsuiEdit, TheFramesInnerLineIsTheColourShown) {
  test::FramedWindow parent(QSize(200, 100));
  TsuiEdit edit(&parent.form);
  edit.setGeometry(10, 10, 60, 20);
  const auto innerLine = [&] { return edit.grab().toImage().pixelColor(1, 5); };
  edit.SetColor(framework::clAqua);
  EXPECT_EQ(innerLine(), QColor(Qt::cyan));
  edit.SetParentColor(true);
  parent.form.SetColor(framework::clYellow);
  EXPECT_EQ(innerLine(), QColor(Qt::yellow)) << "the parent's, as the background";
}

TEST(TsuiEdit, AutoSizeHeightFollowsTheFontShownWhileSet) {
  const struct {
    bool autoSize;
    FontDesc own, parents;
    // Expected: 0 for the font's line height plus the frame and room, else this height.
    int height;
  } cases[] = {{true, {}, Sans(-30, framework::clBlack), 0},
               {true, Sans(-16, 0), Sans(-30, 0), 0},
               {false, Sans(-16, 0), Sans(-30, 0), 19}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.autoSize << " " << c.own.Height);
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
}

} // namespace
