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

// The pair formats (csv, json) write every pair; the group formats (text,
// report, dupes0) write groups.
enum class OutputFormat { kText, kCsv, kJson, kReport, kDuplicatesNul };

constexpr bool IsPairFormat(OutputFormat format) {
  return format == OutputFormat::kCsv || format == OutputFormat::kJson;
}

// Parses "text", "csv", "json", "report" or "dupes0"; false for anything
// else.
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

// The writer of a pair format (csv or json); `paths` are the scanned paths
// by name id and must outlive it. The percentages always use ".", so that
// the numbers read the same in every locale. The group formats are written
// from groups (report/group_formats.h).
std::unique_ptr<PairWriter> MakePairWriter(
    OutputFormat format, const std::vector<std::string>& paths,
    OutputStream& out);

}  // namespace wordlap::report
