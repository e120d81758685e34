#include "platform/HeadlessTrayBinding.h"

namespace platform {

HeadlessTrayBinding::HeadlessTrayBinding(std::shared_ptr<HeadlessTrayHost> host)
    : m_host(host ? std::move(host) : std::make_shared<HeadlessTrayHost>()) {}

bool HeadlessTrayBinding::record(HeadlessTrayCall::Kind kind, const QIcon &icon, const QString &tip,
                                 bool ok) {
  m_host->calls.push_back({kind, icon, tip, ok});
  return ok;
}

bool HeadlessTrayBinding::add(const QIcon &icon, const QString &tip) {
  if (m_host->present) return record(HeadlessTrayCall::Kind::Add, icon, tip, false);
  m_host->present = true;
  m_host->icon = icon;
  m_host->tip = tip;
  return record(HeadlessTrayCall::Kind::Add, icon, tip, true);
}

bool HeadlessTrayBinding::modify(const QIcon &icon, const QString &tip) {
  if (!m_host->present) return record(HeadlessTrayCall::Kind::Modify, icon, tip, false);
  m_host->icon = icon;
  m_host->tip = tip;
  return record(HeadlessTrayCall::Kind::Modify, icon, tip, true);
}

bool HeadlessTrayBinding::remove() {
  const bool ok = m_host->present;
  m_host->present = false;
  m_host->icon = QIcon();
  m_host->tip.clear();
  return record(HeadlessTrayCall::Kind::Remove, QIcon(), QString(), ok);
}

void HeadlessTrayBinding::injectMouse(TrayMouseMessage message, QPoint position,
                                      Qt::KeyboardModifiers modifiers) {
  m_cursor = position;
  deliverMouse({message, position, modifiers});
}

void HeadlessTrayBinding::injectTaskbarCreated() {
  m_host->present = false;
  m_host->icon = QIcon();
  m_host->tip.clear();
  deliverTaskbarCreated();
}

bool HeadlessTrayBinding::showMessage(const QString &title, const QString &body) {
  if (!m_host->present) return false;
  m_host->messages.emplace_back(title, body);
  return true;
}

} // namespace platform
