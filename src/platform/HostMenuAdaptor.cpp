#include "platform/HostMenuAdaptor.h"
#include "platform/HostMenuRequests.h"
#include "platform/MenuExportAdaptor.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMetaType>
#include <QMenu>
#include <QMetaClassInfo>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QSystemTrayIcon>

#include <optional>

namespace platform {

namespace {

// One picture as the item's pictures are sent; only its D-Bus type is needed, for an empty list.
struct Pixels {
  int width = 0;
  int height = 0;
  QByteArray argb;
};

} // namespace
} // namespace platform

Q_DECLARE_METATYPE(platform::Pixels)

namespace platform {

namespace {

QDBusArgument &operator<<(QDBusArgument &argument, const Pixels &pixels) {
  argument.beginStructure();
  argument << pixels.width << pixels.height << pixels.argb;
  argument.endStructure();
  return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, Pixels &pixels) {
  argument.beginStructure();
  argument >> pixels.width >> pixels.height >> pixels.argb;
  argument.endStructure();
  return argument;
}

} // namespace

// Qt's value goes out as it is; the empty value gives QtDBus the type's signature.
QDBusArgument &operator<<(QDBusArgument &argument, const ForwardedImages &images) {
  if (images.value.isValid()) {
    argument.appendVariant(images.value);
  } else {
    argument.beginArray(QMetaType::fromType<Pixels>());
    argument.endArray();
  }
  return argument;
}

QDBusArgument &operator<<(QDBusArgument &argument, const ForwardedToolTip &tip) {
  if (tip.value.isValid()) {
    argument.appendVariant(tip.value);
  } else {
    argument.beginStructure();
    argument << QString() << ForwardedImages{} << QString() << QString();
    argument.endStructure();
  }
  return argument;
}

// Never read back: hosts only read these.
const QDBusArgument &operator>>(const QDBusArgument &argument, ForwardedImages &images) {
  images.value = argument.asVariant();
  return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, ForwardedToolTip &tip) {
  tip.value = argument.asVariant();
  return argument;
}

namespace {

constexpr const char *InterfaceInfo = "D-Bus Interface";
constexpr const char *Interface = "org.kde.StatusNotifierItem";
// Qt gives each tray icon a bus connection of its own, named like the item's bus name; a
// program makes a handful of icons in its life, tests a few more.
constexpr int MaxIcons = 64;

bool servesItem(const QObject &child) {
  const QMetaObject *meta = child.metaObject();
  const int info = meta->indexOfClassInfo(InterfaceInfo);
  return qobject_cast<const QDBusAbstractAdaptor *>(&child) && info >= 0 &&
         qstrcmp(meta->classInfo(info).value(), Interface) == 0;
}

// The connection Qt made for the icon that exports `hostMenu`.
std::optional<QDBusConnection> itemConnection(QMenu &hostMenu) {
  // Qt's menu object is a plain QObject subclass, so its address is its QObject's; its class is
  // not among Qt's public headers.
  const void *exported = hostMenu.platformMenu();
  if (!exported) return std::nullopt;
  const qint64 pid = QCoreApplication::applicationPid();
  for (int icon = 1; icon <= MaxIcons; ++icon) {
    const QDBusConnection connection(
        QStringLiteral("%1-%2-%3").arg(QLatin1String(Interface)).arg(pid).arg(icon));
    if (connection.isConnected() &&
        static_cast<const void *>(connection.objectRegisteredAt("/MenuBar")) == exported)
      return connection;
  }
  return std::nullopt;
}

// The object Qt registered for the icon that exports `hostMenu`.
QObject *registeredItem(QMenu &hostMenu) {
  const std::optional<QDBusConnection> connection = itemConnection(hostMenu);
  return connection ? connection->objectRegisteredAt("/StatusNotifierItem") : nullptr;
}

// Whether `to` has every method, signal and property `from` adds to its base, alike.
bool covers(const QMetaObject &to, const QMetaObject &from) {
  for (int i = from.methodOffset(); i < from.methodCount(); ++i) {
    const QMetaMethod method = from.method(i);
    const int at = to.indexOfMethod(method.methodSignature().constData());
    if (at < 0 || to.method(at).methodType() != method.methodType() ||
        to.method(at).access() != method.access())
      return false;
  }
  // The same D-Bus type for each property: the values are Qt's, sent as they are.
  for (int i = from.propertyOffset(); i < from.propertyCount(); ++i) {
    const QMetaProperty property = from.property(i);
    const int at = to.indexOfProperty(property.name());
    if (at < 0) return false;
    const char *signature = QDBusMetaType::typeToSignature(property.metaType());
    const char *other = QDBusMetaType::typeToSignature(to.property(at).metaType());
    if (!signature || !other || qstrcmp(signature, other) != 0) return false;
  }
  return true;
}

} // namespace

HostMenuAdaptor *HostMenuAdaptor::install(QMenu &hostMenu, ContextMenuHandler onContextMenu) {
  qDBusRegisterMetaType<Pixels>();
  qDBusRegisterMetaType<ForwardedImages>();
  qDBusRegisterMetaType<ForwardedToolTip>();
  QObject *item = registeredItem(hostMenu);
  if (!item) return nullptr;
  QObject *qtAdaptor = nullptr;
  for (QObject *child : item->children()) {
    if (qobject_cast<HostMenuAdaptor *>(child)) return nullptr; // already in place
    if (servesItem(*child)) qtAdaptor = child;
  }
  // Anything Qt's adaptor serves and this one lacks would vanish from the bus; the reverse
  // would serve nothing.
  if (!qtAdaptor || !covers(staticMetaObject, *qtAdaptor->metaObject()) ||
      !covers(*qtAdaptor->metaObject(), staticMetaObject))
    return nullptr;
  auto *adaptor = new HostMenuAdaptor(item, qtAdaptor, std::move(onContextMenu));
  if (adaptor->relaySignals(*qtAdaptor)) return adaptor;
  // QtDBus takes the adaptor on only when the event loop runs next, so Qt's stays in charge.
  delete adaptor;
  return nullptr;
}

HostMenuAdaptor::HostMenuAdaptor(QObject *item, QObject *qtAdaptor,
                                 ContextMenuHandler onContextMenu)
    : QDBusAbstractAdaptor(item), m_qt(qtAdaptor), m_onContextMenu(std::move(onContextMenu)) {}

bool HostMenuAdaptor::relaySignals(QObject &qtAdaptor) {
  // QtDBus relays only the signals of the adaptor in charge: Qt's now reach hosts through ours.
  const QMetaObject &from = *qtAdaptor.metaObject();
  for (int i = from.methodOffset(); i < from.methodCount(); ++i) {
    const QMetaMethod signal = from.method(i);
    if (signal.methodType() != QMetaMethod::Signal) continue;
    const QMetaMethod relay =
        metaObject()->method(metaObject()->indexOfSignal(signal.methodSignature().constData()));
    if (!connect(&qtAdaptor, signal, this, relay)) return false;
  }
  return true;
}

QVariant HostMenuAdaptor::forwarded(const char *name) const {
  return m_qt ? m_qt->property(name) : QVariant();
}

void HostMenuAdaptor::ContextMenu(int x, int y) {
  if (m_onContextMenu) m_onContextMenu(QPoint(x, y));
  if (m_qt) QMetaObject::invokeMethod(m_qt, "ContextMenu", Q_ARG(int, x), Q_ARG(int, y));
}

void HostMenuAdaptor::Activate(int x, int y) {
  if (m_qt) QMetaObject::invokeMethod(m_qt, "Activate", Q_ARG(int, x), Q_ARG(int, y));
}

void HostMenuAdaptor::SecondaryActivate(int x, int y) {
  if (m_qt) QMetaObject::invokeMethod(m_qt, "SecondaryActivate", Q_ARG(int, x), Q_ARG(int, y));
}

void HostMenuAdaptor::Scroll(int delta, const QString &orientation) {
  if (m_qt)
    QMetaObject::invokeMethod(m_qt, "Scroll", Q_ARG(int, delta), Q_ARG(QString, orientation));
}

void HostMenuAdaptor::ProvideXdgActivationToken(const QString &token) {
  if (m_qt) QMetaObject::invokeMethod(m_qt, "ProvideXdgActivationToken", Q_ARG(QString, token));
}

bool TakeOverHostMenuRequests(QMenu &hostMenu, std::function<void(QPoint)> requested) {
  // The menu's calls are answered in full whether or not the item can be taken over.
  if (const std::optional<QDBusConnection> connection = itemConnection(hostMenu))
    MenuExportAdaptor::install(*connection);
  return HostMenuAdaptor::install(hostMenu, std::move(requested)) != nullptr;
}

bool HostDrawsTheMenu(QSystemTrayIcon &icon, QMenu &hostMenu) {
  // Qt gives a menu its D-Bus counterpart only on a StatusNotifierItem; that tells the kinds
  // apart as Qt itself decided. An XEmbed icon must have no menu, or Qt would show it.
  icon.setContextMenu(&hostMenu);
  const bool exported = hostMenu.platformMenu() != nullptr;
  if (!exported) icon.setContextMenu(nullptr);
  return exported;
}

} // namespace platform
