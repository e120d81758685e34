#include "app/PaintAhead.h"

#include "framework/Rendered.h"

#include <QPointer>

#include <memory>
#include <vector>

namespace app {

std::function<bool()> PaintAhead(QWidget &window) {
  auto controls = std::make_shared<std::vector<QPointer<QWidget>>>();
  for (QWidget *child : window.findChildren<QWidget *>()) {
    const QRect area(child->mapTo(&window, QPoint(0, 0)), child->size());
    if (dynamic_cast<framework::RenderTarget *>(child) && window.rect().intersects(area))
      controls->emplace_back(child);
  }
  // From the first again each time: a control drawn already may have gone stale meanwhile.
  return [controls] {
    for (const QPointer<QWidget> &control : *controls)
      if (auto *target = dynamic_cast<framework::RenderTarget *>(control.data());
          target && target->RenderIfStale())
        return true;
    return false;
  };
}

} // namespace app
