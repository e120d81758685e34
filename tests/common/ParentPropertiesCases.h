#pragma once

// The rules every control follows for what it takes from its parent, as one set of cases; each
// test program that owns such controls instantiates them with its own. Include once per program.

#include "common/FramedWindow.h"
#include "framework/Inherited.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// `Control` shows a text given by ShowText(); its fill is opaque at (2, 2), clear of the text.
template <class Control> class ParentProperties : public testing::Test {
protected:
  ParentProperties() {
    control.resize(90, control.height());
    control.ShowText(QStringLiteral("WWW"));
  }
  // Where the pixels of `colour` lie in the control as painted now. Anti-aliased text at full
  // coverage comes within a step of its colour.
  QRect Ink(framework::TColor colour) {
    const QImage shot = control.grab().toImage();
    const QColor want = framework::ToQColor(colour);
    const auto near = [](int a, int b) { return std::abs(a - b) <= 1; };
    QRect ink;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x) {
        const QColor c = shot.pixelColor(x, y);
        if (near(c.red(), want.red()) && near(c.green(), want.green()) &&
            near(c.blue(), want.blue()))
          ink |= QRect(x, y, 1, 1);
      }
    return ink;
  }
  QColor Fill() { return control.grab().toImage().pixelColor(2, 2); }
  bool HintShown() {
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), control.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&control, &help);
    QToolTip::hideText();
    return help.isAccepted();
  }

  skin::test::FramedWindow parent{QSize(200, 100)};
  Control control{&parent.form};
};

TYPED_TEST_SUITE_P(ParentProperties);

inline framework::FontDesc Sans(int height, framework::TColor colour) {
  return {QStringLiteral("MS Sans Serif"), height, true, false, false, colour};
}

TYPED_TEST_P(ParentProperties, FontFollowsTheParentsUntilOneIsSet) {
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

TYPED_TEST_P(ParentProperties, ColourFollowsTheParentsUntilOneIsSet) {
  auto &c = this->control;
  // The edit box starts in its own clWindow, the others in their parent's colour.
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

TYPED_TEST_P(ParentProperties, HintShowsAsTheParentDecidesUntilTheControlDoes) {
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

REGISTER_TYPED_TEST_SUITE_P(ParentProperties, FontFollowsTheParentsUntilOneIsSet,
                            ColourFollowsTheParentsUntilOneIsSet,
                            HintShowsAsTheParentDecidesUntilTheControlDoes);

} // namespace
