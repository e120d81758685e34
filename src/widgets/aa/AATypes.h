#pragma once

#include <cstdint>
#include <stdexcept>

namespace widgets::aa {

enum class TAAQuality { aqHigh, aqNormal, aqLow, aqNone };
// Ordinals matter: the initialisation file stores styles and modes as numbers.
enum TGradualStyle : std::uint8_t {
  gsLeftToRight,
  gsRightToLeft,
  gsTopToBottom,
  gsBottomToTop,
  gsCenterToLR,
  gsCenterToTB
};
enum TTextureMode : std::uint8_t { tmTiled, tmStretched, tmCenter, tmNormal };
enum class TBackGroundMode { bmTiled, bmStretched, bmCenter, bmNormal };

enum class TTextLayout { tlTop, tlCenter, tlBottom };

inline constexpr int MaxGradualStyle = gsCenterToTB;
inline constexpr int MaxTextureMode = tmNormal;

// The supersampling factor of a quality.
constexpr int QualityScale(TAAQuality quality) {
  switch (quality) {
  case TAAQuality::aqHigh:
    return 4;
  case TAAQuality::aqNormal:
    return 3;
  case TAAQuality::aqLow:
    return 2;
  case TAAQuality::aqNone:
    return 1;
  }
  return 1;
}

// Integer division rounding toward minus infinity, as the blends require for negative steps.
constexpr int FloorDiv(int a, int b) {
  const int q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// a / b rounded to the nearest integer, halves to the even neighbour (a >= 0, b > 0).
constexpr int RoundHalfEven(int a, int b) {
  int q = a / b;
  const int twice = 2 * (a % b);
  if (twice > b || (twice == b && q % 2 != 0)) ++q;
  return q;
}

// What the engine raises on misuse by a caller; normal rendering never raises it.
class AAError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

} // namespace widgets::aa
