#include "app/StateTrace.h"

#include "app/TForm1.h"
#include "app/TraceWriter.h"
#include "framework/Timer.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "widgets/TCnAALabel.h"
#include "widgets/THexEdit.h"
#include "widgets/TProgBar.h"
#include "widgets/ThhALed.h"

namespace app {
namespace {

QString colorText(framework::TColor color) {
  return QStringLiteral("0x%1")
      .arg(color, 8, 16, QLatin1Char('0'))
      .toUpper()
      .replace(QStringLiteral("0X"), QStringLiteral("0x"));
}

} // namespace

StateTrace::StateTrace(TForm1 &form, TraceWriter &writer) : m_form(&form), m_writer(writer) {
  Check();
  m_timer.setInterval(PollMilliseconds);
  connect(&m_timer, &QTimer::timeout, this, &StateTrace::Check);
  m_timer.start();
}

StateTrace::~StateTrace() {
  Check();
}

QJsonObject StateTrace::Capture(TForm1 &form) {
  QJsonObject state;
  state.insert(QStringLiteral("led"),
               QJsonObject{{QStringLiteral("value"), form.ledDev->Value()},
                           {QStringLiteral("color"), colorText(form.ledDev->TrueColor())},
                           {QStringLiteral("blink"), form.ledDev->Blink()}});
  state.insert(QStringLiteral("vid"), form.edtVID->text());
  state.insert(QStringLiteral("pid"), form.edtPID->text());
  state.insert(QStringLiteral("gauge"),
               QJsonObject{{QStringLiteral("max"), form.pbMseBattery->Max()},
                           {QStringLiteral("value"), form.pbMseBattery->Value()},
                           {QStringLiteral("color"), colorText(form.pbMseBattery->ColorMin())}});
  state.insert(QStringLiteral("label"), form.lblMseBattery->Caption());
  state.insert(QStringLiteral("cpi"), form.edtCPI->text());
  state.insert(QStringLiteral("button"),
               QJsonObject{{QStringLiteral("caption"), form.btnCombo_Cmd_Soft_Bind_SW->Caption()},
                           {QStringLiteral("enabled"), form.btnCombo_Cmd_Soft_Bind_SW->Enabled()}});
  state.insert(QStringLiteral("language"),
               QString::fromUtf8(receiver::LanguageName(form.Languages().Language())));
  state.insert(QStringLiteral("window_visible"), form.isVisible());
  // Shown but minimised is not seen: the window's visibility alone does not tell it.
  state.insert(QStringLiteral("window_minimized"), form.isMinimized());
  QJsonObject trayIcon{{QStringLiteral("battery"), form.TrayBatteryShown().has_value()}};
  if (const std::optional<tray::BatteryIconState> &shown = form.TrayBatteryShown()) {
    trayIcon.insert(QStringLiteral("connected"), shown->Connected);
    if (shown->Connected) {
      trayIcon.insert(QStringLiteral("value"), shown->Value);
      trayIcon.insert(QStringLiteral("max"), shown->Max);
      trayIcon.insert(QStringLiteral("color"), colorText(shown->Color));
    }
  }
  state.insert(QStringLiteral("tray_icon"), trayIcon);
  state.insert(QStringLiteral("timers"),
               QJsonObject{{QStringLiteral("status"), form.tmrStatus->Enabled()},
                           {QStringLiteral("pairing"), form.tmrSoftBind->Enabled()}});
  return state;
}

bool StateTrace::Check() {
  if (!m_form) return false;
  const QJsonObject state = Capture(*m_form);
  if (m_written && state == m_last) return false;
  m_writer.State(state);
  m_last = state;
  m_written = true;
  return true;
}

} // namespace app
