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
  } else {
    return false;
  }
  return true;
}

std::unique_ptr<PairWriter> MakePairWriter(
    OutputFormat format, const std::vector<std::string>& paths,
    OutputStream& out, std::string_view decimal_separator) {
  switch (format) {
    case OutputFormat::kCsv:
      return MakeCsvWriter(paths, out);
    case OutputFormat::kJson:
      return MakeJsonWriter(paths, out);
    case OutputFormat::kText:
      break;
  }
  return MakeGroupWriter(paths, out, decimal_separator);
}

}  // namespace wordlap::report
