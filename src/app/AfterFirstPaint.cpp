#include "app/AfterFirstPaint.h"

#include <QEvent>
#include <QMetaObject>
#include <QWidget>

namespace app {
namespace {

// A child of the window, so that a window that goes first takes the work with it.
class FirstPaintWatch final : public QObject {
public:
  FirstPaintWatch(QWidget &window, std::function<void()> work)
      : QObject(&window), m_work(std::move(work)) {
    if (window.isVisible() && !window.isMinimized())
      // Filters run newest first: this one sees the paint that the window's own filters take.
      window.installEventFilter(this);
    else
      queue();
  }

protected:
  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::Paint) {
      parent()->removeEventFilter(this);
      queue();
    }
    return false;
  }

private:
  void queue() {
    QMetaObject::invokeMethod(
        this,
        [this] {
          const std::function<void()> work = std::move(m_work);
          deleteLater();
          work();
        },
        Qt::QueuedConnection);
  }

  std::function<void()> m_work;
};

} // namespace

void AfterFirstPaint(QWidget &window, std::function<void()> work) {
  new FirstPaintWatch(window, std::move(work));
}

} // namespace app
