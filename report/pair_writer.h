// PairWriter: turns the matches of a scan into one of the output formats.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "match/match.h"
#include "report/output_stream.h"

namespace wordlap::report {

enum class OutputFormat { kText, kCsv, kJson };

// Parses "text", "csv" or "json"; false for anything else.
bool ParseOutputFormat(std::string_view text, OutputFormat& format);

struct ScanTotals {
  std::size_t files = 0;
  std::size_t pairs = 0;
};

class PairWriter {
 public:
  virtual ~PairWriter() = default;
  virtual void Begin() {}
  // The matches of one name a, ascending by b; names come ascending.
  virtual void Write(std::span<const match::Match> matches) = 0;
  virtual void End(const ScanTotals&) {}
};

// `paths` are the scanned paths by name id and must outlive the writer.
// The text format writes percentages with `decimal_separator`; CSV and JSON
// always use ".", so that the numbers read the same in every locale.
std::unique_ptr<PairWriter> MakePairWriter(
    OutputFormat format, const std::vector<std::string>& paths,
    OutputStream& out, std::string_view decimal_separator);

}  // namespace wordlap::report
