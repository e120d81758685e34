#include "app/FormAccessibility.h"

#include "app/DesktopTexts.h"
#include "app/FormLayout.h"
#include "app/TForm1.h"
#include "app/TitleBarAccessibility.h"
#include "framework/ReadOnlyAccessibleText.h"
#include "framework/Timer.h"
#include "platform/AccessibilityBridge.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiForm.h"
#include "skin/TsuiTitleBar.h"
#include "widgets/TCnAALabel.h"
#include "widgets/TProgBar.h"
#include "widgets/ThhALed.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QPointer>

#include <cmath>
#include <utility>

namespace app {
namespace {

using receiver::TLngID;

constexpr LanguageTexts LedName = {u"Connection", u"連線狀態", u"连接状态"};
constexpr LanguageTexts Connected = {u"Connected", u"已連線", u"已连接"};
constexpr LanguageTexts NoReceiver = {u"No receiver", u"無接收器", u"无接收器"};
constexpr LanguageTexts Pairing = {u"Pairing", u"配對中", u"配对中"};
constexpr LanguageTexts GaugeName = {u"Battery level", u"電池電量", u"电池电量"};
constexpr LanguageTexts GaugeLevel = {u"Level %1 of %2", u"第 %1 格，共 %2 格",
                                      u"第 %1 格，共 %2 格"};
constexpr LanguageTexts GaugePercent = {u"%1, %2%", u"%1，%2%", u"%1，%2%"};
constexpr LanguageTexts PercentName = {u"Battery", u"電量", u"电量"};
constexpr LanguageTexts NoReading = {u"No reading", u"無讀數", u"无读数"};
constexpr LanguageTexts Ready = {u"Ready", u"就緒", u"就绪"};
constexpr LanguageTexts Unavailable = {u"Unavailable", u"無法使用", u"无法使用"};

// In the order of AnnouncedReadouts.
enum class Readout { Led, Gauge, Percent, Cpi, PairingButton };

std::array<QWidget *, AnnouncedReadouts::Count> ReadoutControls(const TForm1 &form) {
  return {form.ledDev, form.pbMseBattery, form.lblMseBattery, form.edtCPI,
          form.btnCombo_Cmd_Soft_Bind_SW};
}

std::optional<Readout> ReadoutOf(const TForm1 &form, const QWidget *control) {
  if (control == nullptr) return std::nullopt;
  const auto controls = ReadoutControls(form);
  for (std::size_t i = 0; i < controls.size(); ++i)
    if (controls[i] == control) return static_cast<Readout>(i);
  return std::nullopt;
}

// These readouts give what they show as text; the others in their description.
bool SpeaksText(Readout readout) {
  return readout == Readout::Led || readout == Readout::Percent || readout == Readout::Cpi;
}

const TForm1 *FormOf(const QWidget *control) {
  return control ? qobject_cast<const TForm1 *>(control->window()) : nullptr;
}

bool PairingRuns(const TForm1 &form) {
  return form.tmrSoftBind != nullptr && form.tmrSoftBind->Enabled();
}

QString ReadoutName(const TForm1 &form, Readout readout, TLngID language) {
  switch (readout) {
  case Readout::Led:
    return Pick(LedName, language);
  case Readout::Gauge:
    return Pick(GaugeName, language);
  case Readout::Percent:
    return Pick(PercentName, language);
  case Readout::Cpi:
    return WindowTerm(receiver::TermId::tmCPI, language);
  case Readout::PairingButton:
    // The caption, already in the window's language, without its accelerator mark.
    return QString(form.btnCombo_Cmd_Soft_Bind_SW->Caption()).remove(QLatin1Char('&')).trimmed();
  }
  return QString();
}

QString GaugeValue(const widgets::TProgBar &gauge, TLngID language) {
  const QString level = Pick(GaugeLevel, language).arg(gauge.Value()).arg(gauge.Max());
  // The percentage as the label computes it, which a whole maximum of 0 does not have.
  const auto whole = static_cast<long long>(std::trunc(gauge.Max()));
  if (whole <= 0) return level;
  const long long percent = static_cast<long long>(gauge.Value()) * 100 / whole;
  return Pick(GaugePercent, language).arg(level).arg(percent);
}

QString ReadoutValue(const TForm1 &form, Readout readout, TLngID language) {
  const bool connected = form.ReceiverConnected();
  switch (readout) {
  case Readout::Led:
    if (!connected) return Pick(NoReceiver, language);
    return Pick(PairingRuns(form) ? Pairing : Connected, language);
  case Readout::Gauge:
    if (!connected) return Pick(NoReading, language);
    return GaugeValue(*form.pbMseBattery, language);
  case Readout::Percent: {
    const QString caption = form.lblMseBattery->Caption().trimmed();
    return connected && !caption.isEmpty() ? caption : Pick(NoReading, language);
  }
  case Readout::Cpi: {
    const QString setting = CpiSetting(form.edtCPI->Text(), language);
    return connected && !setting.isEmpty() ? setting : Pick(NoReading, language);
  }
  case Readout::PairingButton:
    if (!form.btnCombo_Cmd_Soft_Bind_SW->isEnabled()) return Pick(Unavailable, language);
    return Pick(PairingRuns(form) ? Pairing : Ready, language);
  }
  return QString();
}

// A readout as assistive technology sees it: the gauge also offers its numbers, the LED, the
// percentage and the CPI box their text, the pairing button a press.
class ReadoutAccessible final : public QAccessibleWidget,
                                public QAccessibleValueInterface,
                                public framework::ReadOnlyAccessibleText {
public:
  ReadoutAccessible(QWidget *control, QAccessible::Role role) : QAccessibleWidget(control, role) {}

  using framework::ReadOnlyAccessibleText::text;

  QString text(QAccessible::Text kind) const override {
    if (const TForm1 *form = FormOf(widget())) {
      const std::optional<Readout> readout = ReadoutOf(*form, widget());
      const QAccessible::Text asked =
          kind == QAccessible::Description && readout && !SpeaksText(*readout) ? QAccessible::Value
                                                                               : kind;
      const QString text = ReadoutText(*form, widget(), asked);
      if (!text.isNull()) return text;
    }
    return QAccessibleWidget::text(kind);
  }

  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    if (role() == QAccessible::EditableText) state.readOnly = true;
    return state;
  }

  void *interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface && role() == QAccessible::ProgressBar)
      return static_cast<QAccessibleValueInterface *>(this);
    if (type == QAccessible::TextInterface && role() != QAccessible::ProgressBar &&
        role() != QAccessible::Button)
      return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (role() == QAccessible::Button) names.prepend(pressAction());
    return names;
  }
  void doAction(const QString &action) override {
    if (role() != QAccessible::Button || action != pressAction())
      return QAccessibleWidget::doAction(action);
    // After the answer to the call that asked, as a click on the button would come.
    QMetaObject::invokeMethod(
        widget(),
        [button =
             QPointer<skin::TsuiCustomButton>(qobject_cast<skin::TsuiCustomButton *>(widget()))] {
          skin::TsuiCustomButton *const pressed = button.data();
          if (pressed != nullptr && pressed->isEnabled()) pressed->Click();
        },
        Qt::QueuedConnection);
  }
  QStringList keyBindingsForAction(const QString &action) const override {
    if (action == pressAction()) return {};
    return QAccessibleWidget::keyBindingsForAction(action);
  }

  QVariant currentValue() const override { return Gauge() ? Gauge()->Value() : QVariant(); }
  // The gauge only shows; nobody sets it from outside.
  void setCurrentValue(const QVariant &) override {}
  QVariant maximumValue() const override { return Gauge() ? Gauge()->Max() : QVariant(); }
  QVariant minimumValue() const override { return Gauge() ? Gauge()->Min() : QVariant(); }
  QVariant minimumStepSize() const override { return 1; }

protected:
  QString ReadText() const override { return text(QAccessible::Value); }

private:
  const widgets::TProgBar *Gauge() const {
    return qobject_cast<const widgets::TProgBar *>(widget());
  }
};

// The window's frame as assistive technology sees it: without the controls outside the client
// area, which nobody sees and which a screen reader should not read out either.
class FrameAccessible final : public QAccessibleWidget {
public:
  explicit FrameAccessible(QWidget *frame) : QAccessibleWidget(frame, QAccessible::Client) {}

  int childCount() const override { return static_cast<int>(Seen().size()); }
  QAccessibleInterface *child(int index) const override {
    const QList<QWidget *> controls = Seen();
    if (index < 0 || index >= controls.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(controls.at(index));
  }
  int indexOfChild(const QAccessibleInterface *child) const override {
    if (child == nullptr) return -1;
    return static_cast<int>(Seen().indexOf(qobject_cast<QWidget *>(child->object())));
  }

private:
  QList<QWidget *> Seen() const {
    QList<QWidget *> controls;
    for (QWidget *control : widget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
      if (!control->isWindow() && !layout::LiesOutside(*control)) controls.append(control);
    return controls;
  }
};

QAccessibleInterface *ReadoutFactory(const QString &className, QObject *object) {
  auto *const control = qobject_cast<QWidget *>(object);
  if (control == nullptr) return nullptr;
  if (className == QLatin1String(TForm1::staticMetaObject.className()))
    return new QAccessibleWidget(control, QAccessible::Window);
  if (className == QLatin1String(skin::TsuiForm::staticMetaObject.className())) {
    const TForm1 *const form = FormOf(control);
    return form != nullptr && control == form->sfrm1 ? new FrameAccessible(control) : nullptr;
  }
  if (className == QLatin1String(skin::TsuiTitleBar::staticMetaObject.className()))
    return FormOf(control) ? MakeTitleBarAccessible(static_cast<skin::TsuiTitleBar *>(control))
                           : nullptr;
  // Mostly the class decides, not the window: an interface is made once per control and kept,
  // even when it is asked for while the window is still being built. Qt's AT-SPI bridge has no
  // LED role (its indicator role reads as "unknown"): the lamp is a status bar with its state
  // as text.
  if (className == QLatin1String(widgets::ThhALed::staticMetaObject.className()))
    return new ReadoutAccessible(control, QAccessible::StatusBar);
  if (className == QLatin1String(widgets::TProgBar::staticMetaObject.className()))
    return new ReadoutAccessible(control, QAccessible::ProgressBar);
  if (className == QLatin1String(widgets::TCnAALabel::staticMetaObject.className()))
    return new ReadoutAccessible(control, QAccessible::StaticText);
  // The skinned edit has no class name of its own: only the CPI box is taken from Qt's line-edit
  // interface, which the ID boxes keep.
  if (className == QLatin1String("QLineEdit")) {
    const TForm1 *const form = FormOf(control);
    if (form != nullptr && control == form->edtCPI)
      return new ReadoutAccessible(control, QAccessible::EditableText);
  }
  if (className == QLatin1String(skin::TsuiButton::staticMetaObject.className()))
    return new ReadoutAccessible(control, QAccessible::Button);
  return nullptr;
}

void AnnounceTitleBar(const TForm1 &form, AnnouncedReadouts &last) {
  if (form.sfrm1 == nullptr) return;
  skin::TsuiTitleBar &bar = form.sfrm1->TitleBar();
  QString names;
  for (int i = 0; i < bar.Buttons().Count(); ++i)
    names += TitleBarButtonName(bar, i, form.Languages().Language()) + QLatin1Char('\n');
  if (names == last.TitleBarButtons) return;
  last.TitleBarButtons = names;
  if (!QAccessible::isActive()) return;
  QAccessibleInterface *const panel = QAccessible::queryAccessibleInterface(&bar);
  for (int i = 0; panel != nullptr && i < panel->childCount(); ++i) {
    QAccessibleEvent event(panel->child(i), QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
  }
}

} // namespace

void InstallFormAccessibility() {
  static const bool installed = [] {
    platform::GuardAccessibilityBridge();
    QAccessible::installFactory(&ReadoutFactory);
    return true;
  }();
  (void)installed;
}

QString ReadoutText(const TForm1 &form, const QWidget *control, QAccessible::Text kind) {
  const std::optional<Readout> readout = ReadoutOf(form, control);
  if (!readout) return QString();
  const TLngID language = form.Languages().Language();
  switch (kind) {
  case QAccessible::Name:
    return ReadoutName(form, *readout, language);
  case QAccessible::Value:
    return ReadoutValue(form, *readout, language);
  default:
    return QString();
  }
}

void AnnounceReadouts(const TForm1 &form, AnnouncedReadouts &last) {
  const bool active = QAccessible::isActive();
  const auto controls = ReadoutControls(form);
  for (std::size_t i = 0; i < controls.size(); ++i) {
    QWidget *const control = controls[i];
    if (control == nullptr) continue;
    const auto readout = static_cast<Readout>(i);
    const QString name = ReadoutText(form, control, QAccessible::Name);
    if (name != last.Names[i]) {
      last.Names[i] = name;
      if (active) {
        QAccessibleEvent event(control, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
      }
    }
    const QString value = ReadoutText(form, control, QAccessible::Value);
    if (value == last.Values[i]) continue;
    const QString before = std::exchange(last.Values[i], value);
    if (!active) continue;
    if (SpeaksText(readout)) {
      QAccessibleTextUpdateEvent event(control, 0, before, value);
      QAccessible::updateAccessibility(&event);
    }
    if (!SpeaksText(readout)) {
      QAccessibleEvent event(control, QAccessible::DescriptionChanged);
      QAccessible::updateAccessibility(&event);
    }
  }
  if (form.pbMseBattery != nullptr && last.GaugeLevel != form.pbMseBattery->Value()) {
    last.GaugeLevel = form.pbMseBattery->Value();
    if (active) {
      QAccessibleValueChangeEvent event(form.pbMseBattery, *last.GaugeLevel);
      QAccessible::updateAccessibility(&event);
    }
  }
  AnnounceTitleBar(form, last);
}

} // namespace app
