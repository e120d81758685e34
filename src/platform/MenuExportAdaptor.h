#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QPointer>
#include <QStringList>

class QMenu;

namespace platform {

// One event of EventGroup: (isvu).
struct MenuEvent {
  int Id = 0;
  QString EventId;
  QDBusVariant Data;
  uint Timestamp = 0;
};

// Stands in for Qt's adaptor of the tray menu it exports (com.canonical.dbusmenu), so that
// GetProperty is answered: Qt's answers nothing any host can read (its reply cannot be written,
// so the caller waits for its time-out). Everything else is handed to Qt's adaptor unchanged, and
// Qt's signals are sent on as Qt would send them: QtDBus routes an interface, and relays the
// signals, of the adaptor added last only.
class MenuExportAdaptor final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
  Q_CLASSINFO("D-Bus Introspection",
              "  <interface name=\"com.canonical.dbusmenu\">\n"
              "    <property access=\"read\" type=\"u\" name=\"Version\"/>\n"
              "    <property access=\"read\" type=\"s\" name=\"TextDirection\"/>\n"
              "    <property access=\"read\" type=\"s\" name=\"Status\"/>\n"
              "    <method name=\"GetLayout\">\n"
              "      <arg direction=\"in\" type=\"i\" name=\"parentId\"/>\n"
              "      <arg direction=\"in\" type=\"i\" name=\"recursionDepth\"/>\n"
              "      <arg direction=\"in\" type=\"as\" name=\"propertyNames\"/>\n"
              "      <arg direction=\"out\" type=\"u\" name=\"revision\"/>\n"
              "      <arg direction=\"out\" type=\"(ia{sv}av)\" name=\"layout\"/>\n"
              "    </method>\n"
              "    <method name=\"GetGroupProperties\">\n"
              "      <arg direction=\"in\" type=\"ai\" name=\"ids\"/>\n"
              "      <arg direction=\"in\" type=\"as\" name=\"propertyNames\"/>\n"
              "      <arg direction=\"out\" type=\"a(ia{sv})\" name=\"properties\"/>\n"
              "    </method>\n"
              "    <method name=\"GetProperty\">\n"
              "      <arg direction=\"in\" type=\"i\" name=\"id\"/>\n"
              "      <arg direction=\"in\" type=\"s\" name=\"name\"/>\n"
              "      <arg direction=\"out\" type=\"v\" name=\"value\"/>\n"
              "    </method>\n"
              "    <method name=\"Event\">\n"
              "      <arg direction=\"in\" type=\"i\" name=\"id\"/>\n"
              "      <arg direction=\"in\" type=\"s\" name=\"eventId\"/>\n"
              "      <arg direction=\"in\" type=\"v\" name=\"data\"/>\n"
              "      <arg direction=\"in\" type=\"u\" name=\"timestamp\"/>\n"
              "    </method>\n"
              "    <method name=\"EventGroup\">\n"
              "      <arg direction=\"in\" type=\"a(isvu)\" name=\"events\"/>\n"
              "      <arg direction=\"out\" type=\"ai\" name=\"idErrors\"/>\n"
              "    </method>\n"
              "    <method name=\"AboutToShow\">\n"
              "      <arg direction=\"in\" type=\"i\" name=\"id\"/>\n"
              "      <arg direction=\"out\" type=\"b\" name=\"needUpdate\"/>\n"
              "    </method>\n"
              "    <method name=\"AboutToShowGroup\">\n"
              "      <arg direction=\"in\" type=\"ai\" name=\"ids\"/>\n"
              "      <arg direction=\"out\" type=\"ai\" name=\"updatesNeeded\"/>\n"
              "      <arg direction=\"out\" type=\"ai\" name=\"idErrors\"/>\n"
              "    </method>\n"
              "    <signal name=\"ItemsPropertiesUpdated\">\n"
              "      <arg direction=\"out\" type=\"a(ia{sv})\" name=\"updatedProps\"/>\n"
              "      <arg direction=\"out\" type=\"a(ias)\" name=\"removedProps\"/>\n"
              "    </signal>\n"
              "    <signal name=\"LayoutUpdated\">\n"
              "      <arg direction=\"out\" type=\"u\" name=\"revision\"/>\n"
              "      <arg direction=\"out\" type=\"i\" name=\"parent\"/>\n"
              "    </signal>\n"
              "    <signal name=\"ItemActivationRequested\">\n"
              "      <arg direction=\"out\" type=\"i\" name=\"id\"/>\n"
              "      <arg direction=\"out\" type=\"u\" name=\"timestamp\"/>\n"
              "    </signal>\n"
              "  </interface>\n")
  Q_PROPERTY(uint Version READ Version)
  Q_PROPERTY(QString TextDirection READ TextDirection)
  Q_PROPERTY(QString Status READ Status)

public:
  static constexpr const char *Interface = "com.canonical.dbusmenu";
  static constexpr const char *Path = "/MenuBar";

  // Takes over the menu object Qt registered at /MenuBar on `connection`; null, and Qt's adaptor
  // left in charge, when there is none, it is taken over already, or Qt's adaptor lacks a call.
  static MenuExportAdaptor *install(const QDBusConnection &connection);

  uint Version() const { return m_qt ? m_qt->property("Version").toUInt() : 0; }
  QString TextDirection() const {
    return m_qt ? m_qt->property("TextDirection").toString() : QString();
  }
  QString Status() const { return m_qt ? m_qt->property("Status").toString() : QString(); }

public slots:
  // Qt's answers, whose types are its own, go out as they are.
  void GetLayout(int parentId, int recursionDepth, const QStringList &propertyNames,
                 const QDBusMessage &message);
  void GetGroupProperties(const QList<int> &ids, const QStringList &propertyNames,
                          const QDBusMessage &message);
  // The value the item's properties give, or the property's default for an item that leaves it
  // out; org.freedesktop.DBus.Error.InvalidArgs for an id no item has or a name no property has.
  void GetProperty(int id, const QString &name, const QDBusMessage &message);
  void Event(int id, const QString &eventId, const QDBusVariant &data, uint timestamp);
  QList<int> EventGroup(const QList<MenuEvent> &events);
  bool AboutToShow(int id);
  QList<int> AboutToShowGroup(const QList<int> &ids, QList<int> &idErrors);

private:
  MenuExportAdaptor(QObject *menu, QObject *qtAdaptor, const QDBusConnection &connection);
  // Calls Qt's adaptor's `name` with `inputs` and answers `message` with its result and its
  // outputs, or with an error when the call cannot be made.
  void forward(const char *name, const QVariantList &inputs, const QDBusMessage &message);
  // Answers `call` from the properties an item's own GetGroupProperties or GetLayout gave.
  void answerProperty(int id, const QString &name, const QDBusMessage &call,
                      const QDBusMessage &properties);

  QPointer<QObject> m_qt;
  QDBusConnection m_connection;
};

} // namespace platform

Q_DECLARE_METATYPE(platform::MenuEvent)
