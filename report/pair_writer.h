// PairWriter: turns the matches of a scan into one of the output formats.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "match/name_classes.h"
#include "match/partners.h"
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
  // The partners of one name a; names come ascending.
  virtual void Write(const match::NamePartners& partners) = 0;
  virtual void End(const ScanTotals&) {}
};

// `paths` are the scanned paths by name id and `classes` those whose
// member lists the partners' runs view; both must outlive the writer. The
// text format writes percentages with `decimal_separator`; CSV and JSON
// always use ".", so that the numbers read the same in every locale.
std::unique_ptr<PairWriter> MakePairWriter(
    OutputFormat format, const std::vector<std::string>& paths,
    const match::NameClasses& classes, OutputStream& out,
    std::string_view decimal_separator);

}  // namespace wordlap::report
