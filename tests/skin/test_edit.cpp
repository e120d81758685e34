#include "skin/TsuiEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace skin;

namespace {

struct FrameCase {
  const char *name;
  framework::TColor color, border;
};

class EditFrame : public testing::TestWithParam<FrameCase> {};

TEST_P(EditFrame, OuterLineInBorderColorInnerLineInColorAroundTheTextArea) {
  const FrameCase c = GetParam();
  QWidget parent;
  TsuiEdit edit(&parent);
  edit.SetAutoSize(false);
  edit.setGeometry(0, 0, 53, 22);
  edit.SetColor(c.color);
  edit.SetBorderColor(c.border);
  // A tall red text would reach the frame if the text area were not kept inside it.
  edit.SetFont({QStringLiteral("MS Sans Serif"), -30, true, false, false, framework::clRed});
  edit.SetText(QStringLiteral("WWWWWWWW"));
  EXPECT_EQ(edit.TextArea(), QRect(2, 2, 49, 18));
  const QImage shot = edit.grab().toImage();
  const QColor border = framework::ToQColor(c.border), inner = framework::ToQColor(c.color);
  int wrong = 0;
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 53; ++x) {
      const int ring = std::min({x, y, 52 - x, 21 - y});
      if (ring == 0 && shot.pixelColor(x, y) != border) ++wrong;
      if (ring == 1 && shot.pixelColor(x, y) != inner) ++wrong;
    }
  EXPECT_EQ(wrong, 0);
  int text = 0, outside = 0;
  for (int y = 0; y < 22; ++y)
    for (int x = 0; x < 53; ++x)
      if (shot.pixelColor(x, y) == QColor(Qt::red))
        ++(edit.TextArea().contains(x, y) ? text : outside);
  EXPECT_GT(text, 20);
  EXPECT_EQ(outside, 0);
}

INSTANTIATE_TEST_SUITE_P(Colours, EditFrame,
                         testing::Values(FrameCase{"moneyGreen", framework::clMoneyGreen, 8355711},
                                         FrameCase{"systemColours", framework::clBtnFace,
                                                   framework::clHighlight}),
                         [](const auto &param) { return std::string(param.param.name); });

// Records the border colour the style had set when StyleApplied ran.
class StyledEdit : public TsuiEdit {
public:
  using TsuiEdit::TsuiEdit;
  std::vector<framework::TColor> applied;

protected:
  void StyleApplied() override { applied.push_back(BorderColor()); }
};

TEST(TsuiEdit, StyleSetsTheBorderColourBeforeStyleApplied) {
  StyledEdit edit(nullptr);
  edit.applied.clear();
  edit.SetUIStyle(TsuiUIStyle::MacOS);
  edit.SetUIStyle(TsuiUIStyle::WinXP);
  EXPECT_EQ(edit.applied, (std::vector<framework::TColor>{0x7F7F7F, 0x686868}));
}

TEST(TsuiEdit, CharCaseAppliesToTypedAndSetText) {
  TsuiEdit edit(nullptr);
  edit.SetCharCase(TEditCharCase::ecUpperCase);
  QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QApplication::sendEvent(&edit, &a);
  edit.SetText(edit.Text() + QStringLiteral("bc"));
  EXPECT_EQ(edit.Text(), QStringLiteral("ABC"));
}

TEST(TsuiEdit, KeyPressHandlerCanChangeOrSwallowTheCharacter) {
  TsuiEdit edit(nullptr);
  int changes = 0;
  edit.SetOnChange(TNotifyEvent::fromFunction([&](QObject *) { ++changes; }, &changes));
  edit.SetOnKeyPress(TKeyPressEvent::fromFunction(
      [](QObject *, QChar &key) { key = key == QLatin1Char('x') ? QChar() : key.toUpper(); },
      &changes));
  for (const char *typed : {"a", "x", "b"}) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString::fromLatin1(typed));
    QApplication::sendEvent(&edit, &key);
  }
  EXPECT_EQ(edit.Text(), QStringLiteral("AB"));
  EXPECT_EQ(changes, 2);
}

} // namespace
