#include "app/FormReceiverView.h"

#include "framework/Timer.h"
#include "platform/TextDecoding.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "widgets/TCnAALabel.h"
#include "widgets/THexEdit.h"
#include "widgets/TProgBar.h"
#include "widgets/ThhALed.h"

#include <QListWidget>

namespace app {
namespace {

QString decode(const receiver::TermText &text) {
  return platform::DecodeText(text.Bytes, text.CodePage);
}

} // namespace

void FrameworkTimerPort::Start() {
  m_timer.SetEnabled(true);
}
void FrameworkTimerPort::Stop() {
  m_timer.SetEnabled(false);
}
bool FrameworkTimerPort::Running() const {
  return m_timer.Enabled();
}

void FormReceiverView::SetLedValue(bool value) {
  m_form.ledDev->SetValue(value);
  Changed();
}
void FormReceiverView::SetLedTrueColor(std::uint32_t color) {
  m_form.ledDev->SetTrueColor(color);
}
void FormReceiverView::SetLedBlink(bool blink) {
  m_form.ledDev->SetBlink(blink);
}

void FormReceiverView::SetVidText(const std::string &text) {
  m_form.edtVID->SetText(QString::fromStdString(text));
}
void FormReceiverView::SetPidText(const std::string &text) {
  m_form.edtPID->SetText(QString::fromStdString(text));
}
void FormReceiverView::SetCpiText(const receiver::TermText &text) {
  m_form.edtCPI->SetText(decode(text));
  Changed();
}

double FormReceiverView::GaugeMin() const {
  return m_form.pbMseBattery->Min();
}
double FormReceiverView::GaugeMax() const {
  return m_form.pbMseBattery->Max();
}
void FormReceiverView::SetGaugeMax(double max) {
  m_form.pbMseBattery->SetMax(max);
}
void FormReceiverView::SetGaugeValue(double value) {
  m_form.pbMseBattery->SetValue(value);
}
void FormReceiverView::SetGaugeColorMin(std::uint32_t color) {
  m_form.pbMseBattery->SetColorMin(color);
  // The last step of a battery reading: the colour comes after the label.
  Changed();
}
void FormReceiverView::SetGaugeColorMax(std::uint32_t color) {
  m_form.pbMseBattery->SetColorMax(color);
}

void FormReceiverView::SetBatteryCaption(const std::string &caption) {
  m_form.lblMseBattery->SetCaption(QString::fromStdString(caption));
  Changed();
}

void FormReceiverView::SetPairingButtonCaption(const receiver::TermText &caption) {
  m_form.btnCombo_Cmd_Soft_Bind_SW->SetCaption(decode(caption));
  Changed();
}
void FormReceiverView::SetPairingButtonEnabled(bool enabled) {
  m_form.btnCombo_Cmd_Soft_Bind_SW->setEnabled(enabled);
  Changed();
}
void FormReceiverView::FocusPairingButton() {
  // A hidden or disabled window cannot take the focus; the pairing goes on without it.
  const QWidget *const window = m_form.btnCombo_Cmd_Soft_Bind_SW->window();
  if (!window->isVisible() || !window->isEnabled()) return;
  m_form.btnCombo_Cmd_Soft_Bind_SW->setFocus(Qt::OtherFocusReason);
}

void FormReceiverView::ClearDeviceList() {
  m_form.DevListBox->clear();
}
void FormReceiverView::AddDeviceEntry(const std::string &text) {
  m_form.DevListBox->addItem(QString::fromStdString(text));
}

FormReceiver::FormReceiver(FormComponents &components, framework::MessageLoop &loop,
                           const receiver::Languages &languages,
                           std::function<void()> readoutsChanged)
    : m_connection(loop), m_view(components, std::move(readoutsChanged)),
      m_status(*components.tmrStatus), m_softBind(*components.tmrSoftBind),
      m_logic(*components.JvHidDeviceController1, m_connection, m_view, m_status, m_softBind, loop,
              [&languages](receiver::TermId id) { return languages.Term(id); }) {}

} // namespace app
