#include "skin/TsuiEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace skin;

namespace {

TEST(TsuiEdit, FrameIsAnOuterLineInBorderColorAndAnInnerLineInColorAroundTheTextArea) {
  const struct {
    framework::TColor color, border;
  } cases[] = {{framework::clMoneyGreen, 8355711}, {framework::clBtnFace, framework::clHighlight}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.border);
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
    int wrong = 0, text = 0, outside = 0;
    for (int y = 0; y < 22; ++y)
      for (int x = 0; x < 53; ++x) {
        const int ring = std::min({x, y, 52 - x, 21 - y});
        const QColor shown = shot.pixelColor(x, y);
        wrong += (ring == 0 && shown != border) || (ring == 1 && shown != inner);
        if (shown == QColor(Qt::red)) ++(edit.TextArea().contains(x, y) ? text : outside);
      }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(text, 20);
    EXPECT_EQ(outside, 0);
  }
}

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
