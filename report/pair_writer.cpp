#include "report/pair_writer.h"

#include "report/pair_formats.h"

namespace wordlap::report {

bool ParseOutputFormat(std::string_view text, OutputFormat& format) {
  if (text == "text") {
    format = OutputFormat::kText;
  } else if (text == "csv") {
    format = OutputFormat::kCsv;
  } else if (text == "json") {
    format = OutputFormat::kJson;
  } else if (text == "report") {
    format = OutputFormat::kReport;
  } else if (text == "dupes0") {
    format = OutputFormat::kDuplicatesNul;
  } else {
    return false;
  }
  return true;
}

std::unique_ptr<PairWriter> MakePairWriter(
    OutputFormat format, const std::vector<std::string>& paths,
    OutputStream& out) {
  if (format == OutputFormat::kCsv) return MakeCsvWriter(paths, out);
  return MakeJsonWriter(paths, out);
}

}  // namespace wordlap::report
