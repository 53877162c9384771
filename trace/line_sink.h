// Where the lines of a comparison go: the trace file in the plug-in, standard
// output in `wordlap compare --explain`, a list in the tests.
#pragma once

#include <string_view>

namespace wordlap {

class LineSink {
 public:
  virtual void Line(std::string_view line) = 0;

 protected:
  ~LineSink() = default;
};

}  // namespace wordlap
