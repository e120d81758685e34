#include "app/FormLanguageView.h"

#include "app/FormLayout.h"
#include "framework/Timer.h"
#include "platform/TextDecoding.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiImagePanel.h"
#include "skin/TsuiPopupMenu.h"

#include <QLabel>

namespace app {
namespace {

using receiver::TLngID;

QString decode(const receiver::TermText &text) {
  return platform::DecodeText(text.Bytes, text.CodePage);
}

// Points to pixels at 96 dots per inch, rounded as the platform's MulDiv rounds.
int pointsToHeight(int points) {
  return -((points * 96 + 36) / 72);
}

} // namespace

FormLanguageView::FormLanguageView(FormComponents &components)
    : m_form(components), m_lblCPIFont(layout::CPILabelFont()) {}

void FormLanguageView::SetLanguageItemChecked(TLngID item, bool checked) {
  switch (item) {
  case TLngID::Eng:
    m_form.mniEng->SetChecked(checked);
    break;
  case TLngID::Cht:
    m_form.mniCht->SetChecked(checked);
    break;
  case TLngID::Chs:
    m_form.mniChs->SetChecked(checked);
    break;
  }
}

void FormLanguageView::SetBatteryPictureVisible(TLngID picture, bool visible) {
  switch (picture) {
  case TLngID::Eng:
    m_form.imgBattEng->setVisible(visible);
    break;
  case TLngID::Cht:
    m_form.imgBattCht->setVisible(visible);
    break;
  case TLngID::Chs:
    m_form.imgBattChs->setVisible(visible);
    break;
  }
}

void FormLanguageView::SetCPILabelFontSize(int points) {
  m_lblCPIFont.Height = pointsToHeight(points);
  layout::SetLabelFont(*m_form.lblCPI, m_lblCPIFont);
}

void FormLanguageView::SetCPILabelTop(int top) {
  m_form.lblCPI->move(m_form.lblCPI->x(), top);
}
void FormLanguageView::SetCPIBoxLeft(int left) {
  m_form.edtCPI->move(left, m_form.edtCPI->y());
}
void FormLanguageView::SetCPIBoxHeight(int height) {
  m_form.edtCPI->resize(m_form.edtCPI->width(), height);
}
void FormLanguageView::SetCPILabelCaption(const receiver::TermText &text) {
  m_form.lblCPI->setText(decode(text));
}
void FormLanguageView::SetPairingButtonCaption(const receiver::TermText &text) {
  m_form.btnCombo_Cmd_Soft_Bind_SW->SetCaption(decode(text));
}
void FormLanguageView::SetExitCaption(const receiver::TermText &text) {
  m_form.mniExit->SetCaption(decode(text));
}
void FormLanguageView::SetShowCaption(const receiver::TermText &text) {
  m_form.mniConfigure->SetCaption(decode(text));
}
bool FormLanguageView::PairingTimerRunning() const {
  return m_form.tmrSoftBind->running();
}

} // namespace app
