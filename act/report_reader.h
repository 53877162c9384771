// Reads a whole report and checks its form before anything is acted on: the
// header's version, every line a JSON object with the fields the actions
// need, and an end line whose counts agree with the groups read.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

#include "act/report.h"

namespace wordlap::act {

// A report that cannot be acted on; the message names the line.
class ReportError : public std::runtime_error {
 public:
  ReportError(std::size_t line, const std::string& message)
      : std::runtime_error("line " + std::to_string(line) + ": " + message),
        line_(line) {}
  std::size_t line() const { return line_; }

 private:
  std::size_t line_;
};

inline constexpr unsigned kReportVersion = 1;

// Throws ReportError.
Report ParseReport(std::string_view text);

}  // namespace wordlap::act
