#pragma once

#include "platform/TrayBinding.h"

#include <memory>
#include <utility>
#include <vector>

namespace platform {

struct HeadlessTrayCall {
  enum class Kind { Add, Modify, Remove };
  Kind kind = Kind::Add;
  QIcon icon;
  QString tip;
  bool ok = false;
};

// The notification area as a test sees it. Shared, so it can still be inspected after the
// binding is gone.
struct HeadlessTrayHost {
  bool present = false;
  QIcon icon;
  QString tip;
  std::vector<HeadlessTrayCall> calls;
  // Title and body of every message shown.
  std::vector<std::pair<QString, QString>> messages;
};

// A notification area without a desktop: records every call and lets tests play the shell.
class HeadlessTrayBinding final : public TrayBinding {
public:
  explicit HeadlessTrayBinding(
      std::shared_ptr<HeadlessTrayHost> host = std::make_shared<HeadlessTrayHost>());

  bool add(const QIcon &icon, const QString &tip) override;
  bool modify(const QIcon &icon, const QString &tip) override;
  bool remove() override;
  std::optional<QPoint> cursorPosition() const override { return m_cursor; }
  bool available() const override { return m_available; }
  bool showMessage(const QString &title, const QString &body) override;

  const HeadlessTrayHost &host() const { return *m_host; }
  std::shared_ptr<HeadlessTrayHost> sharedHost() const { return m_host; }

  void setCursorPosition(std::optional<QPoint> position) { m_cursor = position; }
  void setAvailable(bool available) { m_available = available; }

  // Moves the cursor to `position` and delivers the message there.
  void injectMouse(TrayMouseMessage message, QPoint position, Qt::KeyboardModifiers modifiers = {});
  // The shell restarted: every icon is gone, then the re-creation is announced.
  void injectTaskbarCreated();

private:
  bool record(HeadlessTrayCall::Kind kind, const QIcon &icon, const QString &tip, bool ok);

  std::shared_ptr<HeadlessTrayHost> m_host;
  std::optional<QPoint> m_cursor = QPoint(0, 0);
  bool m_available = true;
};

} // namespace platform
