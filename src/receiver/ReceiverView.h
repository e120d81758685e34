#pragma once

#include "receiver/Languages.h"

#include <cstdint>
#include <string>

namespace receiver {

// The main window's controls as the receiver logic sees them. Colours are 0x00BBGGRR values.
class ReceiverView {
public:
  virtual ~ReceiverView() = default;

  // ledDev.
  virtual void SetLedValue(bool value) = 0;
  virtual void SetLedTrueColor(std::uint32_t color) = 0;
  virtual void SetLedBlink(bool blink) = 0;

  // edtVID, edtPID, edtCPI.
  virtual void SetVidText(const std::string &text) = 0;
  virtual void SetPidText(const std::string &text) = 0;
  virtual void SetCpiText(const TermText &text) = 0;

  // pbMseBattery.
  virtual double GaugeMin() const = 0;
  virtual double GaugeMax() const = 0;
  virtual void SetGaugeMax(double max) = 0;
  virtual void SetGaugeValue(double value) = 0;
  virtual void SetGaugeColorMin(std::uint32_t color) = 0;
  virtual void SetGaugeColorMax(std::uint32_t color) = 0;

  // lblMseBattery.
  virtual void SetBatteryCaption(const std::string &caption) = 0;

  // btnCombo_Cmd_Soft_Bind_SW. Focusing moves the keyboard focus only when the window can take
  // it (visible and enabled); otherwise it does nothing.
  virtual void SetPairingButtonCaption(const TermText &caption) = 0;
  virtual void SetPairingButtonEnabled(bool enabled) = 0;
  virtual void FocusPairingButton() = 0;

  // DevListBox: only the entry texts; the logic owns the devices behind them.
  virtual void ClearDeviceList() = 0;
  virtual void AddDeviceEntry(const std::string &text) = 0;
};

// A framework timer as the logic drives it: started, stopped, asked whether it runs.
class TimerPort {
public:
  virtual ~TimerPort() = default;
  // Enabled := true; a timer that already runs keeps its count.
  virtual void Start() = 0;
  virtual void Stop() = 0;
  virtual bool Running() const = 0;
};

} // namespace receiver
