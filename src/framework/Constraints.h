#pragma once

#include <QSize>

#include <algorithm>

namespace framework {

// Size limits of a control; 0 leaves a side unlimited.
struct TSizeConstraints {
  int MinWidth = 0;
  int MinHeight = 0;
  int MaxWidth = 0;
  int MaxHeight = 0;

  bool operator==(const TSizeConstraints &) const = default;

  QSize Clamp(QSize size) const {
    return {clamp(size.width(), MinWidth, MaxWidth), clamp(size.height(), MinHeight, MaxHeight)};
  }

private:
  static int clamp(int value, int min, int max) {
    if (max > 0) value = std::min(value, std::max(max, min));
    return std::max(value, min);
  }
};

} // namespace framework
