// Joins the pieces of one line of a comparison.
#pragma once

#include <string>
#include <string_view>

namespace wordlap {

template <typename... Pieces>
std::string LineText(const Pieces&... pieces) {
  std::string line;
  line.reserve((std::string_view(pieces).size() + ...));
  (line.append(std::string_view(pieces)), ...);
  return line;
}

}  // namespace wordlap
