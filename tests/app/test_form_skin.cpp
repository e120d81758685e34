#include "FormFixture.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiPopupMenu.h"
#include "widgets/THexEdit.h"

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

} // namespace
} // namespace app::test
