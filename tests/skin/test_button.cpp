#include "SkinTestHelpers.h"
#include "skin/TsuiButton.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace skin;
using skin::test::Mouse;

TEST(TsuiButton, ClickRaisesOnClickAndDefaultTakesEnter) {
  QWidget window;
  TsuiButton button(&window);
  int clicks = 0;
  QObject *sender = nullptr;
  const auto counter = [&](QObject *s) {
    ++clicks;
    sender = s;
  };
  button.SetOnClick(TNotifyEvent::fromFunction(counter, &clicks));
  button.Click();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(sender, &button);

  button.SetDefault(true);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  window.show();
  QApplication::sendEvent(&window, &enter);
  EXPECT_EQ(clicks, 2);
  button.SetEnabled(false);
  QApplication::sendEvent(&window, &enter);
  EXPECT_EQ(clicks, 2);
}

TEST(TsuiButton, MouseReleaseOutsideDoesNotClick) {
  QWidget window;
  TsuiButton button(&window);
  button.setGeometry(0, 0, 80, 27);
  int clicks = 0;
  button.SetOnClick(TNotifyEvent::fromFunction([&](QObject *) { ++clicks; }, &clicks));
  window.show();
  Mouse(button, QEvent::MouseButtonPress, QPoint(10, 10));
  EXPECT_TRUE(button.Pressed());
  Mouse(button, QEvent::MouseButtonRelease, QPoint(200, 10));
  EXPECT_EQ(clicks, 0);
  Mouse(button, QEvent::MouseButtonPress, QPoint(10, 10));
  Mouse(button, QEvent::MouseButtonRelease, QPoint(10, 10));
  EXPECT_EQ(clicks, 1);
}

TEST(TsuiButton, WideCaptionIsNarrowedToStayInsideTheButton) {
  QWidget window;
  TsuiButton button(&window);
  button.setGeometry(0, 0, 97, 27);
  button.SetUIStyle(TsuiUIStyle::MacOS);
  button.SetFocusedRectMargin(2);
  button.SetFont(framework::FontDesc{QStringLiteral("MS Sans Serif"), -16, true, false, false,
                                     framework::clBlue});
  const auto captionColumns = [&](const QString &caption) {
    button.SetCaption(caption);
    button.Repaint();
    const QImage &shot = button.Buffer();
    int first = shot.width(), last = -1;
    for (int y = 0; y < shot.height(); ++y)
      for (int x = 0; x < shot.width(); ++x)
        if (shot.pixelColor(x, y) == QColor(Qt::blue)) {
          first = std::min(first, x);
          last = std::max(last, x);
        }
    return std::pair(first, last);
  };
  const auto [first, last] = captionColumns(QStringLiteral("&Connecting"));
  EXPECT_GE(first, 4);
  EXPECT_LE(last, 92);
  EXPECT_GT(last - first, 40);
  // A caption that fits keeps its width.
  const auto [shortFirst, shortLast] = captionColumns(QStringLiteral("CPI"));
  EXPECT_GT(shortFirst, 20);
  EXPECT_LT(shortLast, 76);
}

TEST(TsuiButton, CapsuleStylesShowTheParentInTheCornersAndOthersFillThem) {
  QWidget window;
  TsuiButton button(&window);
  button.setGeometry(0, 0, 80, 27);
  button.SetUIStyle(TsuiUIStyle::MacOS);
  button.Repaint();
  EXPECT_EQ(qAlpha(button.Buffer().pixel(0, 0)), 0);
  EXPECT_EQ(qAlpha(button.Buffer().pixel(40, 13)), 255);
  button.SetUIStyle(TsuiUIStyle::WinXP);
  button.Repaint();
  EXPECT_EQ(button.Buffer().pixelColor(0, 0), button.palette().window().color());
}
