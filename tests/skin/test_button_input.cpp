#include "ButtonTestHelpers.h"
#include "skin/TsuiEdit.h"

#include <QDialog>
#include <gtest/gtest.h>

using namespace skin;
using namespace skin::test;

namespace {

// A shown window with an edit box, the default button, a Cancel button and a plain one; each
// button counts its clicks.
class ButtonWindow : public testing::Test {
protected:
  ButtonWindow() {
    window.resize(300, 100);
    edit.setGeometry(0, 0, 60, 22);
    int left = 70;
    for (TsuiButton *button : {&pair, &cancel, &plain}) {
      button->setGeometry(left, 0, 60, 27);
      left += 70;
      button->SetOnClick(TNotifyEvent::fromFunction(
          [this](QObject *sender) { ++clicks[static_cast<TsuiButton *>(sender)]; }, &clicks));
    }
    pair.SetCaption(QStringLiteral("&Pair"));
    pair.SetDefault(true);
    cancel.SetCaption(QStringLiteral("Cancel"));
    cancel.SetCancel(true);
    ShowActive(window);
  }
  // Keys go where the focus is and on up to the window, as typed keys do.
  void Type(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = {}) {
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
    Key(*target, QEvent::KeyPress, key, modifiers, text);
    Key(*target, QEvent::KeyRelease, key, modifiers, text);
  }

  QWidget window;
  TsuiEdit edit{&window};
  TsuiButton pair{&window};
  TsuiButton cancel{&window};
  TsuiButton plain{&window};
  std::map<TsuiButton *, int> clicks;
};

TEST_F(ButtonWindow, SpacePressesTheFocusedButtonAndClicksOnRelease) {
  plain.setFocus();
  Key(plain, QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  EXPECT_TRUE(plain.Pressed());
  EXPECT_EQ(clicks[&plain], 0);
  // Holding the key repeats presses, and the repeats' releases click nothing.
  QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
  QApplication::sendEvent(&plain, &repeat);
  EXPECT_EQ(clicks[&plain], 0);
  Key(plain, QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  EXPECT_FALSE(plain.Pressed());
  EXPECT_EQ(clicks[&plain], 1);
}

TEST_F(ButtonWindow, EnterClicksTheActiveDefaultWhereverTheFocusIs) {
  edit.setFocus();
  ASSERT_TRUE(edit.hasFocus());
  EXPECT_TRUE(pair.ActiveDefault());
  Type(Qt::Key_Return);
  EXPECT_EQ(clicks[&pair], 1);
  // A focused button takes Enter itself, at once.
  plain.setFocus();
  EXPECT_FALSE(pair.ActiveDefault());
  EXPECT_TRUE(plain.ActiveDefault());
  Key(plain, QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(clicks[&plain], 1);
  EXPECT_EQ(clicks[&pair], 1);
  // Back in the edit box, the default button is the default again; with Ctrl held it is not.
  edit.setFocus();
  EXPECT_TRUE(pair.ActiveDefault());
  Type(Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(clicks[&pair], 1);
  pair.SetEnabled(false);
  Type(Qt::Key_Return);
  EXPECT_EQ(clicks[&pair], 1);
}

TEST_F(ButtonWindow, SettingDefaultAsksTheWindowsFocusAgain) {
  plain.setFocus();
  cancel.SetDefault(true);
  EXPECT_FALSE(cancel.ActiveDefault());
  edit.setFocus();
  EXPECT_TRUE(cancel.ActiveDefault());
  EXPECT_TRUE(pair.ActiveDefault());
  pair.SetDefault(false);
  EXPECT_FALSE(pair.ActiveDefault());
}

TEST_F(ButtonWindow, EscapeClicksTheCancelButtonAndAltTheAccelerator) {
  edit.setFocus();
  Type(Qt::Key_Escape);
  EXPECT_EQ(clicks[&cancel], 1);
  plain.setFocus();
  Type(Qt::Key_Escape);
  EXPECT_EQ(clicks[&cancel], 2);
  EXPECT_EQ(clicks[&plain], 0);
  // The accelerator alone while a button has the focus; typed into an edit box it is text.
  Type(Qt::Key_P, Qt::NoModifier, QStringLiteral("p"));
  EXPECT_EQ(clicks[&pair], 1);
  edit.setFocus();
  Type(Qt::Key_P, Qt::NoModifier, QStringLiteral("p"));
  EXPECT_EQ(clicks[&pair], 1);
  EXPECT_EQ(edit.text(), QStringLiteral("p"));
  Type(Qt::Key_P, Qt::AltModifier);
  EXPECT_EQ(clicks[&pair], 2);
}

TEST_F(ButtonWindow, DoubleClickIsTwoClicks) {
  Mouse(plain, QEvent::MouseButtonPress, QPoint(5, 5));
  Mouse(plain, QEvent::MouseButtonRelease, QPoint(5, 5));
  Mouse(plain, QEvent::MouseButtonDblClick, QPoint(5, 5));
  Mouse(plain, QEvent::MouseButtonRelease, QPoint(5, 5));
  EXPECT_EQ(clicks[&plain], 2);
  EXPECT_TRUE(plain.hasFocus());
}

TEST_F(ButtonWindow, MouseStatesFollowEnterMovesAndLeave) {
  int entered = 0, left = 0;
  plain.SetOnMouseEnter(TNotifyEvent::fromFunction([&](QObject *) { ++entered; }, &entered));
  plain.SetOnMouseExit(TNotifyEvent::fromFunction([&](QObject *) { ++left; }, &left));
  Enter(plain);
  EXPECT_TRUE(plain.MouseOver());
  Mouse(plain, QEvent::MouseButtonPress, QPoint(5, 5));
  EXPECT_TRUE(plain.Pressed());
  // Dragged out, the button lets go of its pressed look and its repeating.
  Mouse(plain, QEvent::MouseMove, QPoint(65, 5));
  EXPECT_FALSE(plain.Pressed());
  EXPECT_FALSE(plain.MouseOver());
  EXPECT_EQ(plain.RepeatTimer(), nullptr);
  // Released back over the button, the press still clicks.
  Mouse(plain, QEvent::MouseButtonRelease, QPoint(5, 5));
  EXPECT_EQ(clicks[&plain], 1);
  Mouse(plain, QEvent::MouseButtonPress, QPoint(5, 5));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&plain, &leave);
  EXPECT_FALSE(plain.Pressed());
  EXPECT_EQ(plain.RepeatTimer(), nullptr);
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(left, 1);
  Mouse(plain, QEvent::MouseButtonRelease, QPoint(200, 5));
  EXPECT_EQ(clicks[&plain], 1);
}

TEST_F(ButtonWindow, AnActionSuppliesCaptionAndStateAndRunsWithoutOnClick) {
  QAction action(QStringLiteral("&Go"), &window);
  int runs = 0;
  QObject::connect(&action, &QAction::triggered, [&] { ++runs; });
  TsuiButton go(&window);
  go.SetAction(&action);
  EXPECT_EQ(go.Caption(), QStringLiteral("&Go"));
  action.setEnabled(false);
  EXPECT_FALSE(go.Enabled());
  action.setEnabled(true);
  go.Click();
  EXPECT_EQ(runs, 1);
  // An OnClick of its own wins over the action.
  go.SetOnClick(TNotifyEvent::fromFunction([](QObject *) {}, &runs));
  go.Click();
  EXPECT_EQ(runs, 1);
}

TEST_F(ButtonWindow, AutoRepeatTicksWhileHeldAndStopsAtTheClick) {
  // A zero or negative interval makes a timer that never fires by itself.
  for (const auto &[interval, timerInterval] : {std::pair{100, 100}, {0, 0}, {-5, 0}}) {
    SCOPED_TRACE(interval);
    const int clicked = clicks[&plain];
    int ticks = 0;
    plain.SetMouseContinuouslyDownInterval(interval);
    plain.SetOnMouseContinuouslyDown(
        TNotifyEvent::fromFunction([&](QObject *) { ++ticks; }, &ticks));
    EXPECT_EQ(plain.RepeatTimer(), nullptr);
    Mouse(plain, QEvent::MouseButtonPress, QPoint(5, 5));
    framework::Timer *timer = plain.RepeatTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->Interval(), timerInterval);
    EXPECT_EQ(timer->running(), timerInterval > 0);
    timer->tick();
    timer->tick();
    EXPECT_EQ(ticks, 2);
    Mouse(plain, QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_EQ(plain.RepeatTimer(), nullptr);
    EXPECT_EQ(clicks[&plain], clicked + 1);
  }
}

TEST(TsuiButton, ClickHandsItsModalResultToItsDialog) {
  const struct {
    int modalResult;
    bool handlerTakesItBack;
    int result;
    bool closes;
  } cases[] = {{2, false, 2, true}, {0, false, 0, false}, {2, true, 0, false}};
  for (const auto &c : cases) {
    QDialog dialog;
    TsuiButton button(&dialog);
    button.SetModalResult(c.modalResult);
    if (c.handlerTakesItBack)
      button.SetOnClick(TNotifyEvent::fromFunction([&](QObject *) { dialog.setResult(0); }, &c));
    dialog.setResult(7);
    dialog.setModal(true);
    dialog.show();
    button.Click();
    EXPECT_EQ(dialog.result(), c.result) << c.modalResult << c.handlerTakesItBack;
    EXPECT_EQ(dialog.isVisible(), !c.closes) << c.modalResult << c.handlerTakesItBack;
  }
}

} // namespace
