#include "app/FormAccessibility.h"

#include "app/DesktopTexts.h"
#include "app/FormLayout.h"
#include "app/TForm1.h"
#include "framework/Timer.h"
#include "skin/TsuiButton.h"
#include "skin/TsuiEdit.h"
#include "skin/TsuiForm.h"
#include "widgets/TCnAALabel.h"
#include "widgets/TProgBar.h"
#include "widgets/ThhALed.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace app {
namespace {

using receiver::TLngID;

constexpr LanguageTexts LedName = {u"Connection", u"連線狀態", u"连接状态"};
constexpr LanguageTexts Connected = {u"Connected", u"已連線", u"已连接"};
constexpr LanguageTexts NotConnected = {u"Not connected", u"未連線", u"未连接"};
constexpr LanguageTexts Pairing = {u"Pairing", u"配對中", u"配对中"};
constexpr LanguageTexts GaugeName = {u"Battery level", u"電池電量", u"电池电量"};
constexpr LanguageTexts GaugeValue = {u"Level %1 of %2", u"第 %1 格，共 %2 格",
                                      u"第 %1 格，共 %2 格"};
constexpr LanguageTexts PercentName = {u"Battery", u"電量", u"电量"};
constexpr LanguageTexts NoReading = {u"No reading", u"無讀數", u"无读数"};
constexpr LanguageTexts Ready = {u"Ready", u"就緒", u"就绪"};
constexpr LanguageTexts Unavailable = {u"Unavailable", u"無法使用", u"无法使用"};

enum class Readout { Led, Gauge, Percent, Cpi, PairingButton };

std::optional<Readout> readoutOf(const TForm1 &form, const QWidget *control) {
  if (control == nullptr) return std::nullopt;
  if (control == form.ledDev) return Readout::Led;
  if (control == form.pbMseBattery) return Readout::Gauge;
  if (control == form.lblMseBattery) return Readout::Percent;
  if (control == form.edtCPI) return Readout::Cpi;
  if (control == form.btnCombo_Cmd_Soft_Bind_SW) return Readout::PairingButton;
  return std::nullopt;
}

const TForm1 *formOf(const QWidget *control) {
  return control ? qobject_cast<const TForm1 *>(control->window()) : nullptr;
}

bool pairing(const TForm1 &form) {
  return form.tmrSoftBind != nullptr && form.tmrSoftBind->Enabled();
}

QString name(const TForm1 &form, Readout readout, TLngID language) {
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

QString value(const TForm1 &form, Readout readout, TLngID language) {
  const bool connected = form.ReceiverConnected();
  switch (readout) {
  case Readout::Led:
    if (!connected) return Pick(NotConnected, language);
    return Pick(pairing(form) ? Pairing : Connected, language);
  case Readout::Gauge:
    if (!connected) return Pick(NoReading, language);
    return Pick(GaugeValue, language).arg(form.pbMseBattery->Value()).arg(form.pbMseBattery->Max());
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
    return Pick(pairing(form) ? Pairing : Ready, language);
  }
  return QString();
}

// A readout as assistive technology sees it; the gauge also offers its numbers.
class ReadoutAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
  ReadoutAccessible(QWidget *control, QAccessible::Role role) : QAccessibleWidget(control, role) {}

  QString text(QAccessible::Text kind) const override {
    if (const TForm1 *form = formOf(widget())) {
      const QString text = ReadoutText(*form, widget(), kind);
      if (!text.isNull()) return text;
    }
    return QAccessibleWidget::text(kind);
  }

  void *interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface && role() == QAccessible::ProgressBar)
      return static_cast<QAccessibleValueInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
  }

  QVariant currentValue() const override { return gauge() ? gauge()->Value() : QVariant(); }
  // The gauge only shows; nobody sets it from outside.
  void setCurrentValue(const QVariant &) override {}
  QVariant maximumValue() const override { return gauge() ? gauge()->Max() : QVariant(); }
  QVariant minimumValue() const override { return gauge() ? gauge()->Min() : QVariant(); }
  QVariant minimumStepSize() const override { return 1; }

private:
  const widgets::TProgBar *gauge() const {
    return qobject_cast<const widgets::TProgBar *>(widget());
  }
};

// The window's frame as assistive technology sees it: without the controls outside the client
// area, which nobody sees and which a screen reader should not read out either.
class FrameAccessible final : public QAccessibleWidget {
public:
  explicit FrameAccessible(QWidget *frame) : QAccessibleWidget(frame, QAccessible::Client) {}

  int childCount() const override { return static_cast<int>(seen().size()); }
  QAccessibleInterface *child(int index) const override {
    const QList<QWidget *> controls = seen();
    if (index < 0 || index >= controls.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(controls.at(index));
  }
  int indexOfChild(const QAccessibleInterface *child) const override {
    if (child == nullptr) return -1;
    return static_cast<int>(seen().indexOf(qobject_cast<QWidget *>(child->object())));
  }

private:
  QList<QWidget *> seen() const {
    QList<QWidget *> controls;
    for (QWidget *control : widget()->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
      if (!control->isWindow() && !layout::LiesOutside(*control)) controls.append(control);
    return controls;
  }
};

QAccessibleInterface *readoutFactory(const QString &className, QObject *object) {
  auto *const control = qobject_cast<QWidget *>(object);
  if (control == nullptr) return nullptr;
  if (className == QLatin1String(skin::TsuiForm::staticMetaObject.className())) {
    const TForm1 *const form = formOf(control);
    return form != nullptr && control == form->sfrm1 ? new FrameAccessible(control) : nullptr;
  }
  // Mostly the class decides, not the window: an interface is made once per control and kept,
  // even when it is asked for while the window is still being built.
  if (className == QLatin1String(widgets::ThhALed::staticMetaObject.className()))
    return new ReadoutAccessible(control, QAccessible::Indicator);
  if (className == QLatin1String(widgets::TProgBar::staticMetaObject.className()))
    return new ReadoutAccessible(control, QAccessible::ProgressBar);
  if (className == QLatin1String(widgets::TCnAALabel::staticMetaObject.className()))
    return new ReadoutAccessible(control, QAccessible::StaticText);
  // The skinned edit has no class name of its own: only the CPI box is taken from Qt's line-edit
  // interface, which the ID boxes keep.
  if (className == QLatin1String("QLineEdit")) {
    const TForm1 *const form = formOf(control);
    if (form != nullptr && control == form->edtCPI)
      return new ReadoutAccessible(control, QAccessible::EditableText);
  }
  if (className == QLatin1String(skin::TsuiButton::staticMetaObject.className()))
    return new ReadoutAccessible(control, QAccessible::Button);
  return nullptr;
}

} // namespace

void InstallFormAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(&readoutFactory);
    return true;
  }();
  (void)installed;
}

QString ReadoutText(const TForm1 &form, const QWidget *control, QAccessible::Text kind) {
  const std::optional<Readout> readout = readoutOf(form, control);
  if (!readout) return QString();
  const TLngID language = form.Languages().Language();
  switch (kind) {
  case QAccessible::Name:
    return name(form, *readout, language);
  case QAccessible::Value:
    return value(form, *readout, language);
  default:
    return QString();
  }
}

void AnnounceReadouts(const TForm1 &form) {
  if (!QAccessible::isActive()) return;
  for (QWidget *control :
       {static_cast<QWidget *>(form.ledDev), static_cast<QWidget *>(form.pbMseBattery),
        static_cast<QWidget *>(form.lblMseBattery), static_cast<QWidget *>(form.edtCPI),
        static_cast<QWidget *>(form.btnCombo_Cmd_Soft_Bind_SW)}) {
    if (control == nullptr) continue;
    QAccessibleValueChangeEvent event(control, ReadoutText(form, control, QAccessible::Value));
    QAccessible::updateAccessibility(&event);
  }
}

} // namespace app
