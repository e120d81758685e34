#include "platform/AccessibilityBridge.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QLatin1StringView>
#include <QVariantMap>

#include <array>
#include <span>

// Exported by Qt D-Bus (no public header): every incoming method call is shown to the hooks in the
// main thread before Qt dispatches it, and the call they see shares its arguments with the one
// dispatched next.
extern Q_DECL_IMPORT void qDBusAddSpyHook(void (*hook)(const QDBusMessage &));

namespace platform {
namespace {

using namespace Qt::StringLiterals;

constexpr auto PropertiesInterface = "org.freedesktop.DBus.Properties"_L1;
constexpr auto AccessiblePath = "/org/a11y/atspi/accessible"_L1;
// The name Qt's bridge gives its connection to the accessibility bus.
constexpr auto BridgeConnection = "a11y"_L1;
constexpr int LocalCallMilliseconds = 1000;

struct InterfaceProperties {
  QLatin1StringView Interface;
  std::span<const QLatin1StringView> Names;
};

// The properties of the AT-SPI interfaces (at-spi2-core's interface descriptions); the adaptor
// answers some, and only those go into the answer.
constexpr std::array AccessibleNames = {"Name"_L1,       "Description"_L1, "Parent"_L1,
                                        "ChildCount"_L1, "Locale"_L1,      "AccessibleId"_L1,
                                        "HelpText"_L1};
constexpr std::array ActionNames = {"NActions"_L1};
constexpr std::array ApplicationNames = {"ToolkitName"_L1, "Version"_L1, "AtspiVersion"_L1,
                                         "Id"_L1};
constexpr std::array TextNames = {"CharacterCount"_L1, "CaretOffset"_L1};
constexpr std::array ValueNames = {"MinimumValue"_L1, "MaximumValue"_L1, "MinimumIncrement"_L1,
                                   "CurrentValue"_L1, "Text"_L1};
constexpr std::array TableNames = {"NRows"_L1,   "NColumns"_L1,      "Caption"_L1,
                                   "Summary"_L1, "NSelectedRows"_L1, "NSelectedColumns"_L1};
constexpr std::array<QLatin1StringView, 0> NoNames = {};

const InterfaceProperties Interfaces[] = {
    {"org.a11y.atspi.Accessible"_L1, AccessibleNames},
    {"org.a11y.atspi.Action"_L1, ActionNames},
    {"org.a11y.atspi.Application"_L1, ApplicationNames},
    {"org.a11y.atspi.Text"_L1, TextNames},
    {"org.a11y.atspi.Value"_L1, ValueNames},
    {"org.a11y.atspi.Table"_L1, TableNames},
    {"org.a11y.atspi.Component"_L1, NoNames},
    {"org.a11y.atspi.EditableText"_L1, NoNames},
};

const InterfaceProperties *FindInterface(const QString &interface) {
  for (const InterfaceProperties &known : Interfaces)
    if (known.Interface == interface) return &known;
  return nullptr;
}

// The adaptor answers Get correctly: each property is asked of it in a call to ourselves, which
// Qt D-Bus delivers in this thread without the bus.
QDBusMessage AnswerGetAll(const QDBusMessage &call, const QDBusConnection &bus) {
  const QString interface = call.arguments().at(0).toString();
  const InterfaceProperties *const known = FindInterface(interface);
  if (known == nullptr)
    return call.createErrorReply(u"org.freedesktop.DBus.Error.UnknownInterface"_s,
                                 u"No properties known for interface '%1'"_s.arg(interface));
  QVariantMap values;
  for (const QLatin1StringView name : known->Names) {
    QDBusMessage get = QDBusMessage::createMethodCall(bus.baseService(), call.path(),
                                                      PropertiesInterface, u"Get"_s);
    get << interface << QString(name);
    const QDBusMessage answer = bus.call(get, QDBus::Block, LocalCallMilliseconds);
    if (answer.type() == QDBusMessage::ReplyMessage && answer.arguments().size() == 1)
      values.insert(name, qvariant_cast<QDBusVariant>(answer.arguments().at(0)).variant());
  }
  // An object without the interface answers none of its properties.
  if (values.isEmpty() && !known->Names.empty())
    return call.createErrorReply(u"org.freedesktop.DBus.Error.UnknownInterface"_s,
                                 u"The object has no interface '%1'"_s.arg(interface));
  return call.createReply(QVariant::fromValue(values));
}

void BeforeDispatch(const QDBusMessage &call) {
  if (call.interface() != PropertiesInterface || !call.path().startsWith(AccessiblePath)) return;
  // Shares the arguments with the call Qt dispatches after this hook.
  QDBusMessage dispatched = call;
  const QList<QVariant> arguments = call.arguments();
  if (call.member() == "GetAll"_L1 && call.signature() == "s"_L1) {
    const QDBusConnection bus(BridgeConnection);
    // Queued before Qt dispatches the call, so this answer goes out first. When it cannot be
    // sent, Qt's own answer below is the caller's (no properties).
    if (bus.isConnected() && call.isReplyRequired()) (void)bus.send(AnswerGetAll(call, bus));
    // With an empty property name the adaptor finds nothing to answer and Qt answers the call
    // again; the bus drops that second answer, since the caller has its answer already.
    dispatched.setArguments({arguments.at(0), QString()});
  } else if (arguments.size() < 2) {
    // Neither names an interface: Qt refuses the call as an unknown method.
    dispatched.setArguments({QString(), QString()});
  }
}

} // namespace

void GuardAccessibilityBridge() {
  static const bool added = [] {
    qDBusAddSpyHook(&BeforeDispatch);
    return true;
  }();
  (void)added;
}

} // namespace platform
