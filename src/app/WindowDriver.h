#pragma once

#include "app/Simulation.h"

#include <QPointer>

namespace app {

class TForm1;
class StateTrace;

// Carries out a scenario's window steps on the main window, as a user would: clicks on
// controls, menu items and title-bar buttons, tray mouse actions and screenshots.
class WindowDriver final : public ScenarioWindowDriver {
public:
  // `trace` (optional) is told after every step so the resulting state is written at once.
  explicit WindowDriver(TForm1 &form, StateTrace *trace = nullptr);

  bool Click(const std::string &control) override;
  bool Menu(const std::string &item) override;
  bool Tray(TrayAction action) override;
  bool TitleButton(int index) override;
  bool Screenshot(const QString &path) override;

private:
  bool done(bool result);
  void sendTray(TrayAction action);

  QPointer<TForm1> m_form;
  StateTrace *m_trace;
};

} // namespace app
