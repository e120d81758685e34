#include "widgets/aa/AARandom.h"
#include "widgets/aa/TCnAAMask.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace widgets::aa {

void TCnAAMask::Outline() {
  if (m_width < 3 || m_height < 3) return;
  const TCnAAMask source(*this);
  for (int y = 1; y < m_height - 1; ++y) {
    const std::uint8_t *above = source.ScanLine(y - 1);
    const std::uint8_t *below = source.ScanLine(y + 1);
    const std::uint8_t *row = source.ScanLine(y);
    std::uint8_t *out = ScanLine(y);
    for (int x = 1; x < m_width - 1; ++x) {
      const int edge = std::abs(below[x] - above[x]) + std::abs(row[x + 1] - row[x - 1]) +
                       std::abs(below[x - 1] - above[x + 1]) +
                       std::abs(below[x + 1] - above[x - 1]);
      out[x] = static_cast<std::uint8_t>(std::min(edge >> 2, 255));
    }
  }
}

void TCnAAMask::Spray(int range, AARandom &rnd) {
  if (m_width == 0 || m_height == 0) return;
  for (int y = 0; y < m_height; ++y) {
    std::uint8_t *out = ScanLine(y);
    for (int x = 0; x < m_width; ++x) {
      const int d = rnd(range + 1);
      const int dx = d - rnd(2 * d);
      const int dy = d - rnd(2 * d);
      const int sx = std::clamp(x + dx, 0, m_width - 1);
      const int sy = std::clamp(y + dy, 0, m_height - 1);
      out[x] = ScanLine(sy)[sx];
    }
  }
}

namespace {

// The five sample positions along an axis of n pixels around v, kept inside 0 .. n - 1.
std::array<int, 5> Window(int v, int n) {
  std::array<int, 5> offsets{-2, -1, 0, 1, 2};
  if (v == 0)
    offsets = {0, 0, 0, 1, 2};
  else if (v == 1)
    offsets = {-1, -1, 0, 1, 2};
  else if (v == n - 2)
    offsets = {-2, -1, 0, 1, 1};
  else if (v == n - 1)
    offsets = {-2, -1, 0, 0, 0};
  std::array<int, 5> positions{};
  for (std::size_t i = 0; i < offsets.size(); ++i)
    positions[i] = std::clamp(v + offsets[i], 0, n - 1);
  return positions;
}

} // namespace

void TCnAAMask::Blur(int strength) {
  if (m_width == 0 || m_height == 0) return;
  strength = std::clamp(strength, 0, 100);
  if (strength == 0) return;
  const int k = RoundHalfEven(strength * 255, 100);
  const TCnAAMask source(*this);
  std::vector<std::array<int, 5>> columns(static_cast<std::size_t>(m_width));
  for (int x = 0; x < m_width; ++x)
    columns[static_cast<std::size_t>(x)] = Window(x, m_width);
  for (int y = 0; y < m_height; ++y) {
    const std::array<int, 5> rows = Window(y, m_height);
    std::uint8_t *out = ScanLine(y);
    const std::uint8_t *original = source.ScanLine(y);
    for (int x = 0; x < m_width; ++x) {
      int sum = 0;
      for (const int sy : rows) {
        const std::uint8_t *line = source.ScanLine(sy);
        for (const int sx : columns[static_cast<std::size_t>(x)])
          sum += line[sx];
      }
      const int blurred = RoundHalfEven(sum, 25);
      const int m = original[x];
      out[x] = static_cast<std::uint8_t>(k == 255 ? blurred : m + FloorDiv((blurred - m) * k, 256));
    }
  }
}

void TCnAAMask::MirrorHorz() {
  for (int y = 0; y < m_height; ++y) {
    std::uint8_t *row = ScanLine(y);
    std::reverse(row, row + m_width);
  }
}

void TCnAAMask::MirrorVert() {
  for (int top = 0, bottom = m_height - 1; top < bottom; ++top, --bottom)
    std::swap_ranges(ScanLine(top), ScanLine(top) + m_stride, ScanLine(bottom));
}

} // namespace widgets::aa
