#include "app/BatteryHistoryWindow.h"

#include "skin/TsuiForm.h"
#include "skin/TsuiTitleBar.h"
#include "widgets/chart/BatteryChartView.h"
#include "widgets/chart/ChartTexts.h"

#include <QDateTime>
#include <QKeyEvent>

namespace app {

int LocalUtcOffset(std::int64_t unixSeconds) {
  return QDateTime::fromSecsSinceEpoch(unixSeconds).offsetFromUtc();
}

widgets::chart::BatteryChartData ReadBatteryHistory(const BatteryHistorySource &source,
                                                    receiver::TLngID language) {
  widgets::chart::BatteryChartData data;
  if (source.Records) data.Records = source.Records();
  if (source.BatteryChanges) data.BatteryChanges = source.BatteryChanges();
  data.Now = source.Now ? source.Now() : QDateTime::currentSecsSinceEpoch();
  data.UtcOffsetSeconds = LocalUtcOffset(data.Now);
  data.Language = language;
  return data;
}

BatteryHistoryWindow::BatteryHistoryWindow(skin::TsuiUIStyle style,
                                           skin::style::ThemeEntries *theme)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmBatteryHistory"));
  // The main window may be in the tray: closing this one must not end the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  m_frame = skin::TsuiForm::Create(this, style);
  m_frame->setObjectName(QStringLiteral("sfrmBatteryHistory"));
  if (theme) m_frame->SetFileTheme(theme);
  // Only the close button: the chart has one size.
  for (int i = 0; i < m_frame->TitleBarButtons().Count(); ++i) {
    skin::TsuiTitleBarButton *button = m_frame->TitleBarButtons().Items(i);
    button->SetVisible(button->ButtonType() == skin::TsuiTitleBarBtnType::suiClose);
  }
  m_chart = new widgets::chart::BatteryChartView(m_frame);
  m_chart->setObjectName(QStringLiteral("chtBattery"));
  m_chart->SetColors(widgets::chart::StyleChartColors(theme, style));
  m_frame->SetFormPanel(m_chart);
  const skin::FrameInsets in = m_frame->Insets();
  setFixedSize(ChartWidth + in.Left + in.Right,
               ChartHeight + in.Top + in.Bottom + m_frame->TitleBar().height());
  m_frame->FormResized();
  SetLanguage(receiver::TLngID::Eng);
}

BatteryHistoryWindow::~BatteryHistoryWindow() = default;

void BatteryHistoryWindow::SetData(widgets::chart::BatteryChartData value) {
  const receiver::TLngID language = value.Language;
  m_chart->SetData(std::move(value));
  SetLanguage(language);
}

void BatteryHistoryWindow::SetLanguage(receiver::TLngID language) {
  m_frame->SetCaption(widgets::chart::HistoryTitle(language));
  if (m_chart->Data().Language == language) return;
  widgets::chart::BatteryChartData relabelled = m_chart->Data();
  relabelled.Language = language;
  m_chart->SetData(std::move(relabelled));
}

void BatteryHistoryWindow::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

} // namespace app
