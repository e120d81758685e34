#pragma once

#include <stdexcept>

namespace framework {

// A text that does not read as the number asked for; raised to the caller, who decides.
class EConvertError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

} // namespace framework
