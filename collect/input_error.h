// A scan input that cannot be used at all (a missing path, an unreadable
// list): the scan does not start.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>

namespace wordlap::collect {

class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Something skipped while collecting paths; the scan goes on.
using WarningSink = std::function<void(const std::string&)>;

}  // namespace wordlap::collect
