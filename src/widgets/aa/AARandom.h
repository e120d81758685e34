#pragma once

#include <cstdint>
#include <random>

namespace widgets::aa {

// The uniform source behind noise and spray. Any sequence will do; a seed makes a test repeatable.
class AARandom {
public:
  explicit AARandom(std::uint32_t seed = 0x5EEDu) : m_engine(seed) {}

  // 0 .. n - 1, and 0 for n <= 0.
  int operator()(int n) {
    if (n <= 0) return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(m_engine);
  }

private:
  std::minstd_rand m_engine;
};

} // namespace widgets::aa
