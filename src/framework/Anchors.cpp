#include "framework/Anchors.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace framework {

Anchoring::Anchoring(QWidget &control) : QObject(&control), m_control(control) {
  m_control.installEventFilter(this);
  watch();
  remember();
}

void Anchoring::SetAnchors(TAnchors value) {
  m_anchors = value;
  remember();
}

void Anchoring::SetActive(bool value) {
  m_active = value;
  remember();
}

void Anchoring::watch() {
  QWidget *parent = m_control.parentWidget();
  QWidget *old = m_parent.data();
  if (parent == old) return;
  if (old) old->removeEventFilter(this);
  m_parent = parent;
  if (parent) parent->installEventFilter(this);
}

void Anchoring::remember() {
  m_place = m_placed = m_control.geometry();
  const QWidget *parent = m_parent.data();
  m_room = m_lastRoom = parent ? parent->size() : QSize();
}

namespace {

// One axis: the new start and length of a span that was `start`, `length` in `room`.
std::pair<int, int> Span(int start, int length, int room, int newRoom, bool near, bool far) {
  if (near && far) return {start, std::max(0, length + newRoom - room)};
  if (far) return {start + newRoom - room, length};
  if (near || room <= 0) return {start, length};
  const int centre = (2 * start + length) * newRoom / room;
  return {(centre - length) / 2, length};
}

} // namespace

void Anchoring::follow(const QWidget &parent) {
  const QSize now = parent.size();
  // Placed from outside since the last resize: that place, in the parent's size of then.
  if (m_control.geometry() != m_placed) {
    m_place = m_control.geometry();
    m_room = m_lastRoom;
  }
  m_lastRoom = now;
  if (m_anchors == TAnchors()) {
    m_placed = m_control.geometry();
    return;
  }
  // From the outside placement, not the last step, so repeated resizes do not add up rounding.
  const auto [x, w] = Span(m_place.x(), m_place.width(), m_room.width(), now.width(),
                           m_anchors.Has(TAnchorKind::akLeft), m_anchors.Has(TAnchorKind::akRight));
  const auto [y, h] = Span(m_place.y(), m_place.height(), m_room.height(), now.height(),
                           m_anchors.Has(TAnchorKind::akTop), m_anchors.Has(TAnchorKind::akBottom));
  m_control.setGeometry(x, y, w, h);
  // The control may hold its size within limits.
  m_placed = m_control.geometry();
}

bool Anchoring::eventFilter(QObject *watched, QEvent *event) {
  if (watched == &m_control && event->type() == QEvent::ParentChange) {
    watch();
    remember();
  } else if (watched == m_parent.data() && event->type() == QEvent::Resize) {
    if (m_active)
      follow(*m_parent.data());
    else
      remember();
  }
  return QObject::eventFilter(watched, event);
}

} // namespace framework
