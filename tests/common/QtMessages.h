#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace testcommon {

// Collects what Qt says while it lives: the program prints each of Qt's messages as a line of its
// own, so a step that must stay quiet is checked against this list.
class QtMessages {
public:
  QtMessages() : m_previous(qInstallMessageHandler(&QtMessages::collect)) { current() = this; }
  ~QtMessages() {
    qInstallMessageHandler(m_previous);
    current() = nullptr;
  }
  QtMessages(const QtMessages &) = delete;
  QtMessages &operator=(const QtMessages &) = delete;

  const QStringList &Said() const { return m_said; }

private:
  static QtMessages *&current() {
    static QtMessages *messages = nullptr;
    return messages;
  }
  static void collect(QtMsgType, const QMessageLogContext &, const QString &text) {
    if (current()) current()->m_said.append(text);
  }

  QtMessageHandler m_previous;
  QStringList m_said;
};

} // namespace testcommon
