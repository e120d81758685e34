#pragma once

#include "app/FormComponents.h"
#include "receiver/Languages.h"
#include "receiver/ReceiverConnection.h"
#include "receiver/ReceiverLogic.h"
#include "receiver/ReceiverView.h"

#include <functional>

namespace framework {
class MessageLoop;
class Timer;
} // namespace framework

namespace app {

// Start and Stop are the timer's Enabled.
class FrameworkTimerPort final : public receiver::TimerPort {
public:
  explicit FrameworkTimerPort(framework::Timer &timer) : m_timer(timer) {}
  void Start() override;
  void Stop() override;
  bool Running() const override;

private:
  framework::Timer &m_timer;
};

// The receiver logic's view of the main window's controls.
class FormReceiverView final : public receiver::ReceiverView {
public:
  // `changed` runs after every change to the LED's value, the battery label and the gauge's
  // colour, the CPI box and the pairing button.
  FormReceiverView(FormComponents &components, std::function<void()> changed)
      : m_form(components), m_changed(std::move(changed)) {}

  void SetLedValue(bool value) override;
  void SetLedTrueColor(std::uint32_t color) override;
  void SetLedBlink(bool blink) override;
  void SetVidText(const std::string &text) override;
  void SetPidText(const std::string &text) override;
  void SetCpiText(const receiver::TermText &text) override;
  double GaugeMin() const override;
  double GaugeMax() const override;
  void SetGaugeMax(double max) override;
  void SetGaugeValue(double value) override;
  void SetGaugeColorMin(std::uint32_t color) override;
  void SetGaugeColorMax(std::uint32_t color) override;
  void SetBatteryCaption(const std::string &caption) override;
  void SetPairingButtonCaption(const receiver::TermText &caption) override;
  void SetPairingButtonEnabled(bool enabled) override;
  void FocusPairingButton() override;
  void ClearDeviceList() override;
  void AddDeviceEntry(const std::string &text) override;

private:
  void Changed() const {
    if (m_changed) m_changed();
  }

  FormComponents &m_form;
  std::function<void()> m_changed;
};

// The window's receiver side: the connection state, the view, the two timer ports and the
// logic, created once the window's components exist. All three must outlive it.
class FormReceiver {
public:
  FormReceiver(FormComponents &components, framework::MessageLoop &loop,
               const receiver::Languages &languages, std::function<void()> readoutsChanged);

  receiver::ReceiverLogic &Logic() { return m_logic; }
  receiver::ReceiverConnection &Connection() { return m_connection; }

private:
  receiver::ReceiverConnection m_connection;
  FormReceiverView m_view;
  FrameworkTimerPort m_status;
  FrameworkTimerPort m_softBind;
  receiver::ReceiverLogic m_logic;
};

} // namespace app
