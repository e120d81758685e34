#pragma once

#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <QTimer>

namespace app {

class TForm1;
class TraceWriter;

// Writes the window's visible state to the trace whenever it changes. The state is compared
// after every window step of a scenario and on a short timer, so changes made by timers, device
// events and the user are caught too; a change undone before the next look is not visible and
// is not written.
class StateTrace final : public QObject {
  Q_OBJECT
public:
  static constexpr int PollMilliseconds = 10;

  // Writes the state at once; both must outlive this object or be gone together with it.
  StateTrace(TForm1 &form, TraceWriter &writer);
  ~StateTrace() override;

  // The state as the trace spells it (without `t` and `ev`).
  static QJsonObject Capture(TForm1 &form);
  // Writes the state when it differs from the last one written; true when it wrote.
  bool Check();

private:
  QPointer<TForm1> m_form;
  TraceWriter &m_writer;
  QJsonObject m_last;
  bool m_written = false;
  QTimer m_timer;
};

} // namespace app
