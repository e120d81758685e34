#include "app/PaintAhead.h"

#include "framework/Rendered.h"
#include "skin/TsuiButton.h"

#include <QPointer>

#include <algorithm>
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
  // Buttons first: a caption too wide for its button is fitted by trying narrower fonts, the
  // longest drawing of all, which outlasts a pause least when it starts one.
  std::stable_partition(controls->begin(), controls->end(), [](const QPointer<QWidget> &control) {
    return qobject_cast<skin::TsuiButton *>(control.data()) != nullptr;
  });
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
