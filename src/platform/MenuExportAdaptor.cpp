#include "platform/MenuExportAdaptor.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QMetaClassInfo>
#include <QMetaMethod>
#include <QVariantMap>

#include <array>
#include <optional>

namespace platform {

QDBusArgument &operator<<(QDBusArgument &argument, const MenuEvent &event) {
  argument.beginStructure();
  argument << event.Id << event.EventId << event.Data << event.Timestamp;
  argument.endStructure();
  return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, MenuEvent &event) {
  argument.beginStructure();
  argument >> event.Id >> event.EventId >> event.Data >> event.Timestamp;
  argument.endStructure();
  return argument;
}

namespace {

constexpr const char *InvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";

// What an item that leaves a property out has, as the menu protocol gives it.
QVariant DefaultProperty(const QString &name) {
  static const QVariantMap defaults{
      {QStringLiteral("type"), QStringLiteral("standard")},
      {QStringLiteral("label"), QString()},
      {QStringLiteral("enabled"), true},
      {QStringLiteral("visible"), true},
      {QStringLiteral("icon-name"), QString()},
      {QStringLiteral("icon-data"), QByteArray()},
      {QStringLiteral("toggle-type"), QString()},
      {QStringLiteral("toggle-state"), -1},
      {QStringLiteral("children-display"), QString()},
      {QStringLiteral("disposition"), QStringLiteral("normal")},
      {QStringLiteral("accessible-desc"), QString()},
  };
  return defaults.value(name);
}

// The properties of the item `id` in a(ia{sv}) (GetGroupProperties) or of the root of
// (ia{sv}av) (GetLayout); nothing when no item has the id.
std::optional<QVariantMap> PropertiesOf(int id, const QVariant &answer, bool layout) {
  if (!answer.canConvert<QDBusArgument>()) return std::nullopt;
  const QDBusArgument argument = answer.value<QDBusArgument>();
  const auto readItem = [&argument](int &itemId, QVariantMap &properties) {
    argument.beginStructure();
    argument >> itemId >> properties;
  };
  if (layout) {
    int itemId = -1;
    QVariantMap properties;
    readItem(itemId, properties);
    if (itemId != id) return std::nullopt;
    return properties;
  }
  argument.beginArray();
  while (!argument.atEnd()) {
    int itemId = -1;
    QVariantMap properties;
    readItem(itemId, properties);
    argument.endStructure();
    if (itemId == id) return properties;
  }
  argument.endArray();
  return std::nullopt;
}

} // namespace

MenuExportAdaptor *MenuExportAdaptor::install(const QDBusConnection &connection) {
  qDBusRegisterMetaType<MenuEvent>();
  qDBusRegisterMetaType<QList<MenuEvent>>();
  QObject *menu = connection.objectRegisteredAt(QLatin1String(Path));
  if (!menu) return nullptr;
  QObject *qtAdaptor = nullptr;
  for (QObject *child : menu->children()) {
    if (qobject_cast<MenuExportAdaptor *>(child)) return nullptr; // already in place
    const QMetaObject *meta = child->metaObject();
    const int info = meta->indexOfClassInfo("D-Bus Interface");
    if (qobject_cast<QDBusAbstractAdaptor *>(child) && info >= 0 &&
        qstrcmp(meta->classInfo(info).value(), Interface) == 0)
      qtAdaptor = child;
  }
  if (!qtAdaptor) return nullptr;
  // Every call handed on must be there under its name.
  const QMetaObject *qt = qtAdaptor->metaObject();
  for (const char *call :
       {"GetLayout", "GetGroupProperties", "Event", "AboutToShow", "AboutToShowGroup"}) {
    bool found = false;
    for (int i = qt->methodOffset(); i < qt->methodCount() && !found; ++i)
      found = qt->method(i).name() == call;
    if (!found) return nullptr;
  }
  return new MenuExportAdaptor(menu, qtAdaptor, connection);
}

// Qt's signals reach the bus as QtDBus sends an adaptor's: every argument as its type.
class MenuSignalRelay final : public QObject {
public:
  MenuSignalRelay(QObject &qtAdaptor, QDBusConnection connection, QObject *parent)
      : QObject(parent), m_qt(&qtAdaptor), m_connection(std::move(connection)) {
    const QMetaObject *meta = qtAdaptor.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
      if (meta->method(i).methodType() == QMetaMethod::Signal)
        QMetaObject::connect(&qtAdaptor, i, this, QObject::staticMetaObject.methodCount(),
                             Qt::DirectConnection);
  }

  // The connections above reach here, past QObject's own methods.
  int qt_metacall(QMetaObject::Call call, int id, void **argv) override {
    id = QObject::qt_metacall(call, id, argv);
    if (id < 0 || call != QMetaObject::InvokeMetaMethod) return id;
    if (QObject *const qt = m_qt.data(); id == 0 && qt != nullptr)
      relay(qt->metaObject()->method(senderSignalIndex()), argv);
    return id - 1;
  }

private:
  void relay(const QMetaMethod &signal, void **argv) {
    QDBusMessage message = QDBusMessage::createSignal(QLatin1String(MenuExportAdaptor::Path),
                                                      QLatin1String(MenuExportAdaptor::Interface),
                                                      QString::fromLatin1(signal.name()));
    QVariantList arguments;
    for (int i = 0; i < signal.parameterCount(); ++i)
      arguments << QVariant(signal.parameterMetaType(i), argv[i + 1]);
    message.setArguments(arguments);
    m_connection.send(message);
  }

  QPointer<QObject> m_qt;
  QDBusConnection m_connection;
};

MenuExportAdaptor::MenuExportAdaptor(QObject *menu, QObject *qtAdaptor,
                                     const QDBusConnection &connection)
    : QDBusAbstractAdaptor(menu), m_qt(qtAdaptor), m_connection(connection) {
  new MenuSignalRelay(*qtAdaptor, connection, this);
}

void MenuExportAdaptor::forward(const char *name, const QVariantList &inputs,
                                const QDBusMessage &message) {
  message.setDelayedReply(true);
  QObject *const qt = m_qt.data();
  const QMetaObject *meta = qt != nullptr ? qt->metaObject() : nullptr;
  QMetaMethod method;
  for (int i = meta ? meta->methodOffset() : 0; meta && i < meta->methodCount(); ++i)
    if (meta->method(i).name() == name) method = meta->method(i);
  // Storage for every parameter, of Qt's types; the inputs first.
  constexpr int MaxParameters = 4;
  bool callable = method.isValid() && method.parameterCount() <= MaxParameters &&
                  inputs.size() <= method.parameterCount();
  QVariantList values;
  for (int i = 0; callable && i < method.parameterCount(); ++i) {
    // An output's type is named with its '&', and has no meta type of its own.
    QByteArray type = method.parameterTypes().at(i);
    if (type.endsWith('&')) type.chop(1);
    const QMetaType metaType = QMetaType::fromName(type);
    QVariant value = i < inputs.size() ? inputs.at(i) : QVariant(metaType);
    callable = metaType.isValid() && value.convert(metaType);
    values << value;
  }
  QVariant result = callable && method.returnMetaType().id() != QMetaType::Void
                        ? QVariant(method.returnMetaType())
                        : QVariant();
  if (callable) {
    // QGenericArgument keeps the name's pointer only.
    const QList<QByteArray> names = method.parameterTypes();
    std::array<QGenericArgument, MaxParameters> arguments{};
    for (int i = 0; i < values.size(); ++i)
      arguments[static_cast<std::size_t>(i)] =
          QGenericArgument(names.at(i).constData(), values[i].data());
    callable = method.invoke(
        m_qt, Qt::DirectConnection,
        QGenericReturnArgument(method.typeName(), result.isValid() ? result.data() : nullptr),
        arguments[0], arguments[1], arguments[2], arguments[3]);
  }
  if (!callable) {
    m_connection.send(
        message.createErrorReply(QDBusError::Failed, QStringLiteral("the menu is gone")));
    return;
  }
  QVariantList reply;
  if (result.isValid()) reply << result;
  for (int i = static_cast<int>(inputs.size()); i < values.size(); ++i)
    reply << values.at(i);
  m_connection.send(message.createReply(reply));
}

void MenuExportAdaptor::GetLayout(int parentId, int recursionDepth,
                                  const QStringList &propertyNames, const QDBusMessage &message) {
  forward("GetLayout", {parentId, recursionDepth, propertyNames}, message);
}

void MenuExportAdaptor::GetGroupProperties(const QList<int> &ids, const QStringList &propertyNames,
                                           const QDBusMessage &message) {
  forward("GetGroupProperties", {QVariant::fromValue(ids), propertyNames}, message);
}

void MenuExportAdaptor::GetProperty(int id, const QString &name, const QDBusMessage &message) {
  message.setDelayedReply(true);
  // Qt's answers are read back as the bus carries them: their types are Qt's own. The root
  // (id 0) is no item and has its properties in the layout only.
  QDBusMessage ask = QDBusMessage::createMethodCall(
      m_connection.baseService(), QLatin1String(Path), QLatin1String(Interface),
      id == 0 ? QStringLiteral("GetLayout") : QStringLiteral("GetGroupProperties"));
  if (id == 0)
    ask << 0 << 0 << QStringList();
  else
    ask << QVariant::fromValue(QList<int>{id}) << QStringList();
  auto *watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(ask), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, id, name, message](QDBusPendingCallWatcher *done) {
            done->deleteLater();
            answerProperty(id, name, message, done->reply());
          });
}

void MenuExportAdaptor::answerProperty(int id, const QString &name, const QDBusMessage &call,
                                       const QDBusMessage &properties) {
  const bool layout = id == 0;
  const QList<QVariant> arguments = properties.arguments();
  const std::optional<QVariantMap> item =
      properties.type() == QDBusMessage::ReplyMessage && arguments.size() == (layout ? 2 : 1)
          ? PropertiesOf(id, arguments.constLast(), layout)
          : std::nullopt;
  if (!item) {
    m_connection.send(call.createErrorReply(QLatin1String(InvalidArgs),
                                            QStringLiteral("no menu item has the id %1").arg(id)));
    return;
  }
  QVariant value = item->value(name);
  if (!value.isValid()) value = DefaultProperty(name);
  if (!value.isValid()) {
    m_connection.send(call.createErrorReply(
        QLatin1String(InvalidArgs), QStringLiteral("a menu item has no property %1").arg(name)));
    return;
  }
  m_connection.send(call.createReply(QVariant::fromValue(QDBusVariant(value))));
}

void MenuExportAdaptor::Event(int id, const QString &eventId, const QDBusVariant &data,
                              uint timestamp) {
  if (m_qt)
    QMetaObject::invokeMethod(m_qt, "Event", Q_ARG(int, id), Q_ARG(QString, eventId),
                              Q_ARG(QDBusVariant, data), Q_ARG(uint, timestamp));
}

QList<int> MenuExportAdaptor::EventGroup(const QList<MenuEvent> &events) {
  // Qt's own takes them one by one, and finds no errors either.
  for (const MenuEvent &event : events)
    Event(event.Id, event.EventId, event.Data, event.Timestamp);
  return {};
}

bool MenuExportAdaptor::AboutToShow(int id) {
  bool update = false;
  if (m_qt)
    QMetaObject::invokeMethod(m_qt, "AboutToShow", Q_RETURN_ARG(bool, update), Q_ARG(int, id));
  return update;
}

QList<int> MenuExportAdaptor::AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors) {
  QList<int> updates;
  if (m_qt)
    QMetaObject::invokeMethod(m_qt, "AboutToShowGroup", Q_RETURN_ARG(QList<int>, updates),
                              Q_ARG(QList<int>, ids), Q_ARG(QList<int> &, idErrors));
  return updates;
}

} // namespace platform
