#include "framework/ConvertError.h"
#include "skin/TsuiButton.h"
#include "widgets/THexEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <gtest/gtest.h>

using widgets::THexEdit;

namespace {

void Type(QWidget &widget, int key, const QString &text,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(&widget, &press);
}

struct FilterCase {
  const char *name;
  bool isFilter;
  int key;
  QString text;
  Qt::KeyboardModifiers modifiers;
  QString expected; // after typing into "1"
};

class HexFilter : public testing::TestWithParam<FilterCase> {};

TEST_P(HexFilter, DropsTypedCharactersOtherThanHexDigitsAndBackspace) {
  const FilterCase c = GetParam();
  QApplication::clipboard()->setText(QStringLiteral("zz"));
  THexEdit edit(nullptr);
  edit.SetIsFilter(c.isFilter);
  edit.SetText(QStringLiteral("1"));
  edit.end(false);
  Type(edit, c.key, c.text, c.modifiers);
  EXPECT_EQ(edit.Text(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, HexFilter,
    testing::Values(FilterCase{"digit", true, Qt::Key_7, "7", {}, "17"},
                    FilterCase{"lowerHex", true, Qt::Key_A, "a", {}, "1a"},
                    FilterCase{"upperHex", true, Qt::Key_F, "F", {}, "1F"},
                    FilterCase{"g", true, Qt::Key_G, "g", {}, "1"},
                    FilterCase{"space", true, Qt::Key_Space, " ", {}, "1"},
                    FilterCase{"backspace", true, Qt::Key_Backspace, QString(QChar(8)), {}, ""},
                    // U+0141's low byte is "A": the whole character decides.
                    FilterCase{"nonLatin", true, Qt::Key_unknown, QString(QChar(0x0141)), {}, "1"},
                    // Control characters typed with Ctrl are characters too: Ctrl+V pastes nothing.
                    FilterCase{"ctrlV", true, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier,
                               "1"},
                    FilterCase{"ctrlVUnfiltered", false, Qt::Key_V, QString(QChar(0x16)),
                               Qt::ControlModifier, "1zz"},
                    FilterCase{"gUnfiltered", false, Qt::Key_G, "g", {}, "1g"},
                    FilterCase{"keyWithoutText", true, Qt::Key_Home, {}, {}, "1"}),
    [](const auto &param) { return std::string(param.param.name); });

TEST(THexEdit, PastedTextIsNotFiltered) {
  QApplication::clipboard()->setText(QStringLiteral("xyz"));
  THexEdit edit(nullptr);
  edit.paste();
  EXPECT_EQ(edit.Text(), QStringLiteral("xyz"));
}

TEST(THexEdit, EnterStillReachesTheWindowsDefaultButton) {
  QWidget window;
  THexEdit edit(&window);
  skin::TsuiButton button(&window);
  button.setGeometry(50, 0, 60, 27);
  button.SetDefault(true);
  int clicks = 0;
  button.SetOnClick(skin::TNotifyEvent::fromFunction([&](QObject *) { ++clicks; }, &clicks));
  window.show();
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  edit.setFocus();
  Type(edit, Qt::Key_Return, QStringLiteral("\r"));
  EXPECT_EQ(clicks, 1);
}

// A descendant puts its own step in front of the filter.
class LoggingHexEdit : public THexEdit {
public:
  using THexEdit::THexEdit;
  int keys = 0;

protected:
  bool HexWndProc(QEvent *event) override {
    if (event->type() == QEvent::KeyPress) ++keys;
    return THexEdit::HexWndProc(event);
  }
};

TEST(THexEdit, ItsEventHookCanBeReplaced) {
  LoggingHexEdit edit(nullptr);
  Type(edit, Qt::Key_G, QStringLiteral("g"));
  Type(edit, Qt::Key_B, QStringLiteral("b"));
  EXPECT_EQ(edit.keys, 2);
  EXPECT_EQ(edit.Text(), QStringLiteral("b"));
}

struct ValueCase {
  const char *text;
  std::int64_t value;
};

class HexValue : public testing::TestWithParam<ValueCase> {};

TEST_P(HexValue, ReadsTheTextAsHexadecimal) {
  THexEdit edit(nullptr);
  edit.SetText(QString::fromLatin1(GetParam().text));
  EXPECT_EQ(edit.GetValue(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, HexValue,
                         testing::Values(ValueCase{"", 0}, ValueCase{"1A", 26}, ValueCase{"1a", 26},
                                         ValueCase{"0001", 1}, ValueCase{"046D", 0x046D},
                                         ValueCase{"FFFFFFFF", 0xFFFFFFFF}));

class BadHexValue : public testing::TestWithParam<const char *> {};

TEST_P(BadHexValue, RaisesAConversionErrorToTheCaller) {
  THexEdit edit(nullptr);
  edit.SetText(QString::fromLatin1(GetParam()));
  EXPECT_THROW(edit.GetValue(), framework::EConvertError);
}

INSTANTIATE_TEST_SUITE_P(Texts, BadHexValue,
                         testing::Values("zz", "1G", " 1", "-1", "0x1A", "1FFFFFFFF"));

TEST(THexEdit, SetValueWritesUpperCaseWithoutLeadingZerosAndNothingUpToZero) {
  THexEdit edit(nullptr);
  edit.SetReadOnly(true);
  const std::pair<std::int64_t, const char *> cases[] = {
      {1, "1"}, {26, "1A"}, {4096, "1000"}, {0x046D, "46D"}, {0, ""}, {-5, ""}};
  for (const auto &[value, text] : cases) {
    edit.SetValue(value);
    EXPECT_EQ(edit.Text(), QString::fromLatin1(text)) << value;
  }
}

} // namespace
