#include "FormFixture.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiPopupMenu.h"
#include "skin/TsuiTitleBar.h"
#include "widgets/THexEdit.h"

#include <QCoreApplication>
#include <QMouseEvent>

namespace app::test {
namespace {

using skin::TsuiUIStyle;

// The styles the controls keep, whatever the frame shows.
void ExpectOwnStyles(const TForm1 &form) {
  for (const skin::TsuiButton *button :
       {form.btnCombo_Cmd_Soft_Bind_SW, form.btnSystemStatus, form.btnBattery, form.btnCPI})
    EXPECT_EQ(button->UIStyle(), TsuiUIStyle::MacOS) << button->objectName().toStdString();
  for (const skin::TsuiEdit *edit :
       std::initializer_list<const skin::TsuiEdit *>{form.edtCPI, form.edtPID, form.edtVID})
    EXPECT_EQ(edit->UIStyle(), TsuiUIStyle::MacOS) << edit->objectName().toStdString();
  EXPECT_EQ(form.pmnTray->UIStyle(), TsuiUIStyle::WinXP);
}

TEST_F(FormFixture, ButtonsAndEditsStayMacOSAndTheMenuWinXPWhateverTheFrameShows) {
  const auto form = Create();
  EXPECT_EQ(form->sfrm1->UIStyle(), TsuiUIStyle::Protein);
  ExpectOwnStyles(*form);
  for (const TsuiUIStyle style :
       {TsuiUIStyle::WinXP, TsuiUIStyle::DeepBlue, TsuiUIStyle::BlueGlass, TsuiUIStyle::MacOS}) {
    form->sfrm1->SetUIStyle(style);
    ExpectOwnStyles(*form);
  }
}

// The pixels the title bar shows at `rect`, against `picture` with its bottom-left colour left out
// (the buttons are transparent): true when every other pixel is the picture's.
bool ShowsPicture(const QImage &shown, const QRect &rect, const QImage &picture) {
  const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
  const QRgb key = opaque.pixel(0, opaque.height() - 1);
  if (rect.size() != opaque.size()) return false;
  for (int y = 0; y < opaque.height(); ++y)
    for (int x = 0; x < opaque.width(); ++x)
      if (opaque.pixel(x, y) != key &&
          (shown.pixel(rect.left() + x, rect.top() + y) | 0xFF000000u) != opaque.pixel(x, y))
        return false;
  return true;
}

TEST_F(FormFixture, TheCustomTitleButtonShowsTheMinimisePicturesInItsThreeStates) {
  const auto form = Create();
  skin::TsuiTitleBar &bar = form->sfrm1->TitleBar();
  const skin::TsuiTitleBarButton &minimise = *form->sfrm1->TitleBarButtons().Items(3);
  const QRect custom = bar.ButtonRect(4);
  ASSERT_FALSE(custom.isEmpty());
  ASSERT_NE(minimise.PicNormal(), minimise.PicMouseOn());
  ASSERT_NE(minimise.PicMouseOn(), minimise.PicMouseDown());
  const QPointF over = custom.center();

  EXPECT_TRUE(ShowsPicture(bar.grab().toImage(), custom, minimise.PicNormal()));
  QMouseEvent move(QEvent::MouseMove, over, bar.mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QCoreApplication::sendEvent(&bar, &move);
  EXPECT_TRUE(ShowsPicture(bar.grab().toImage(), custom, minimise.PicMouseOn()));
  QMouseEvent press(QEvent::MouseButtonPress, over, bar.mapToGlobal(over), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&bar, &press);
  EXPECT_TRUE(ShowsPicture(bar.grab().toImage(), custom, minimise.PicMouseDown()));
}

} // namespace
} // namespace app::test
