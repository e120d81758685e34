#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

#include <initializer_list>

class QWidget;

namespace framework {

enum class TAnchorKind { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };

// Which parent edges a control keeps its distance to; {akLeft, akTop} by default.
class TAnchors {
public:
  constexpr TAnchors() = default;
  constexpr TAnchors(std::initializer_list<TAnchorKind> kinds) : m_bits(0) {
    for (TAnchorKind k : kinds)
      m_bits |= static_cast<int>(k);
  }
  static constexpr TAnchors None() {
    TAnchors none;
    none.m_bits = 0;
    return none;
  }
  constexpr bool Has(TAnchorKind k) const { return (m_bits & static_cast<int>(k)) != 0; }
  constexpr bool operator==(const TAnchors &) const = default;

private:
  int m_bits = static_cast<int>(TAnchorKind::akLeft) | static_cast<int>(TAnchorKind::akTop);
};

// Moves and sizes a control when its parent resizes, by its anchors. The distances are those of
// the control's last placement by anything else, so a control placed after its anchors keeps
// the new place. An axis anchored on neither side keeps the control's centre at the same fraction
// of the parent. A control placed by other rules (docking) turns it off.
class Anchoring : public QObject {
public:
  explicit Anchoring(QWidget &control);

  TAnchors Anchors() const { return m_anchors; }
  void SetAnchors(TAnchors value);
  bool Active() const { return m_active; }
  void SetActive(bool value);

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  void watch();
  void remember();
  void follow(const QWidget &parent);

  QWidget &m_control;
  QPointer<QWidget> m_parent;
  TAnchors m_anchors;
  bool m_active = true;
  // The last outside placement and the parent's size then.
  QRect m_place;
  QSize m_room;
  // What was set last, and the parent's size since.
  QRect m_placed;
  QSize m_lastRoom;
};

} // namespace framework
