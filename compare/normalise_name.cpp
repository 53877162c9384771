#include "compare/normalise_name.h"

#include <algorithm>

#include "compare/file_name.h"
#include "compare/line_text.h"

namespace wordlap {

std::string NormaliseName(std::string_view file_name, LineSink* sink) {
  if (sink) sink->Line(LineText("unprocessed: ", file_name));

  std::string_view kept = file_name;
  const std::string_view extension = ExtensionPart(file_name);
  if (!extension.empty()) kept = kept.substr(0, kept.find(extension));
  if (sink) sink->Line(LineText("no extension: ", kept));

  std::string name(kept);
  std::replace(name.begin(), name.end(), '_', ' ');
  std::replace(name.begin(), name.end(), '-', ' ');
  if (sink) sink->Line(LineText("cleaned: ", name));
  return name;
}

}  // namespace wordlap
