#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QPoint>
#include <QPointer>
#include <QVariant>

#include <functional>

class QMenu;

namespace platform {

// Values read from Qt's adaptor, written to the bus as the D-Bus types named: Qt's own types for
// the icon's pictures and the tooltip are not public.
struct ForwardedImages { // a(iiay)
  QVariant value;
};
struct ForwardedToolTip { // (sa(iiay)ss)
  QVariant value;
};

// Stands in for Qt's own StatusNotifierItem adaptor on Qt's item object, so that a host's
// ContextMenu(x, y) reaches us with its position: Qt's adaptor drops it. Everything else is
// handed to Qt's adaptor unchanged, so hosts read the same values and get the same signals.
// QtDBus routes an interface to the adaptor added last, so this one, a later child of the same
// object, takes over the interface from Qt's.
class HostMenuAdaptor final : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
  // The interface as Qt's adaptor describes it, without its annotations naming Qt's types.
  Q_CLASSINFO("D-Bus Introspection",
              "  <interface name=\"org.kde.StatusNotifierItem\">\n"
              "    <property access=\"read\" type=\"s\" name=\"Category\"/>\n"
              "    <property access=\"read\" type=\"s\" name=\"Id\"/>\n"
              "    <property access=\"read\" type=\"s\" name=\"Title\"/>\n"
              "    <property access=\"read\" type=\"s\" name=\"Status\"/>\n"
              "    <property access=\"read\" type=\"o\" name=\"Menu\"/>\n"
              "    <property access=\"read\" type=\"b\" name=\"ItemIsMenu\"/>\n"
              "    <property access=\"read\" type=\"s\" name=\"IconName\"/>\n"
              "    <property access=\"read\" type=\"a(iiay)\" name=\"IconPixmap\"/>\n"
              "    <property access=\"read\" type=\"s\" name=\"OverlayIconName\"/>\n"
              "    <property access=\"read\" type=\"a(iiay)\" name=\"OverlayIconPixmap\"/>\n"
              "    <property access=\"read\" type=\"s\" name=\"AttentionIconName\"/>\n"
              "    <property access=\"read\" type=\"a(iiay)\" name=\"AttentionIconPixmap\"/>\n"
              "    <property access=\"read\" type=\"s\" name=\"AttentionMovieName\"/>\n"
              "    <property access=\"read\" type=\"(sa(iiay)ss)\" name=\"ToolTip\"/>\n"
              "    <method name=\"ProvideXdgActivationToken\">\n"
              "      <arg direction=\"in\" type=\"s\" name=\"token\"/>\n"
              "    </method>\n"
              "    <method name=\"ContextMenu\">\n"
              "      <arg direction=\"in\" type=\"i\" name=\"x\"/>\n"
              "      <arg direction=\"in\" type=\"i\" name=\"y\"/>\n"
              "    </method>\n"
              "    <method name=\"Activate\">\n"
              "      <arg direction=\"in\" type=\"i\" name=\"x\"/>\n"
              "      <arg direction=\"in\" type=\"i\" name=\"y\"/>\n"
              "    </method>\n"
              "    <method name=\"SecondaryActivate\">\n"
              "      <arg direction=\"in\" type=\"i\" name=\"x\"/>\n"
              "      <arg direction=\"in\" type=\"i\" name=\"y\"/>\n"
              "    </method>\n"
              "    <method name=\"Scroll\">\n"
              "      <arg direction=\"in\" type=\"i\" name=\"delta\"/>\n"
              "      <arg direction=\"in\" type=\"s\" name=\"orientation\"/>\n"
              "    </method>\n"
              "    <signal name=\"NewTitle\"/>\n"
              "    <signal name=\"NewIcon\"/>\n"
              "    <signal name=\"NewAttentionIcon\"/>\n"
              "    <signal name=\"NewOverlayIcon\"/>\n"
              "    <signal name=\"NewMenu\"/>\n"
              "    <signal name=\"NewToolTip\"/>\n"
              "    <signal name=\"NewStatus\">\n"
              "      <arg type=\"s\" name=\"status\"/>\n"
              "    </signal>\n"
              "  </interface>\n")
  Q_PROPERTY(QString Category READ Category)
  Q_PROPERTY(QString Id READ Id)
  Q_PROPERTY(QString Title READ Title)
  Q_PROPERTY(QString Status READ Status)
  Q_PROPERTY(QDBusObjectPath Menu READ Menu)
  Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu)
  Q_PROPERTY(QString IconName READ IconName)
  Q_PROPERTY(ForwardedImages IconPixmap READ IconPixmap)
  Q_PROPERTY(QString OverlayIconName READ OverlayIconName)
  Q_PROPERTY(ForwardedImages OverlayIconPixmap READ OverlayIconPixmap)
  Q_PROPERTY(QString AttentionIconName READ AttentionIconName)
  Q_PROPERTY(ForwardedImages AttentionIconPixmap READ AttentionIconPixmap)
  Q_PROPERTY(QString AttentionMovieName READ AttentionMovieName)
  Q_PROPERTY(ForwardedToolTip ToolTip READ ToolTip)

public:
  using ContextMenuHandler = std::function<void(QPoint)>;

  // Takes over the item Qt registered for the icon whose exported menu is `hostMenu`; called
  // with each host's ContextMenu position before Qt reports the activation. Null, and Qt's
  // adaptor left in charge, when the item cannot be found or Qt's adaptor serves anything this
  // one does not.
  static HostMenuAdaptor *install(QMenu &hostMenu, ContextMenuHandler onContextMenu);

  QString Category() const { return forwarded("Category").value<QString>(); }
  QString Id() const { return forwarded("Id").value<QString>(); }
  QString Title() const { return forwarded("Title").value<QString>(); }
  QString Status() const { return forwarded("Status").value<QString>(); }
  QDBusObjectPath Menu() const { return forwarded("Menu").value<QDBusObjectPath>(); }
  bool ItemIsMenu() const { return forwarded("ItemIsMenu").value<bool>(); }
  QString IconName() const { return forwarded("IconName").value<QString>(); }
  ForwardedImages IconPixmap() const { return {forwarded("IconPixmap")}; }
  QString OverlayIconName() const { return forwarded("OverlayIconName").value<QString>(); }
  ForwardedImages OverlayIconPixmap() const { return {forwarded("OverlayIconPixmap")}; }
  QString AttentionIconName() const { return forwarded("AttentionIconName").value<QString>(); }
  ForwardedImages AttentionIconPixmap() const { return {forwarded("AttentionIconPixmap")}; }
  QString AttentionMovieName() const { return forwarded("AttentionMovieName").value<QString>(); }
  ForwardedToolTip ToolTip() const { return {forwarded("ToolTip")}; }

public slots:
  void ContextMenu(int x, int y);
  void Activate(int x, int y);
  void SecondaryActivate(int x, int y);
  void Scroll(int delta, const QString &orientation);
  void ProvideXdgActivationToken(const QString &token);

signals:
  void NewTitle();
  void NewIcon();
  void NewAttentionIcon();
  void NewOverlayIcon();
  void NewMenu();
  void NewToolTip();
  void NewStatus(const QString &status);

private:
  HostMenuAdaptor(QObject *item, QObject *qtAdaptor, ContextMenuHandler onContextMenu);
  QVariant forwarded(const char *name) const;
  bool relaySignals(QObject &qtAdaptor);

  QPointer<QObject> m_qt;
  ContextMenuHandler m_onContextMenu;
};

} // namespace platform

Q_DECLARE_METATYPE(platform::ForwardedImages)
Q_DECLARE_METATYPE(platform::ForwardedToolTip)
