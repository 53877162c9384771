#include "compare/normalise_name.h"

#include <algorithm>

#include "compare/file_name.h"
#include "compare/line_text.h"

namespace wordlap {
namespace {

char Cleaned(char c) { return c == '_' || c == '-' ? ' ' : c; }

}  // namespace

NameText NormaliseName(std::string_view file_name, LineSink* sink) {
  return NormaliseName(
      FileName{file_name, ExtensionPart(file_name), file_name.find('.')}, sink);
}

NameText NormaliseName(const FileName& file, LineSink* sink) {
  const std::string_view file_name = file.name;
  const std::string_view extension = file.extension;
  if (sink) sink->Line(LineText("unprocessed: ", file_name));

  std::string_view kept = file_name;
  if (!extension.empty()) {
    // Usually the extension's dot is the name's first one, and then the
    // first occurrence of the extension is the extension itself.
    const std::size_t own_dot = kept.size() - extension.size();
    kept = kept.substr(0, file.first_dot == own_dot
                              ? own_dot
                              : kept.find(extension, file.first_dot));
  }
  if (sink) sink->Line(LineText("no extension: ", kept));

  // Both replacements keep every byte in its place, so one pass over the
  // copy does them together.
  NameText name;
  name.resize_for_overwrite(kept.size());
  std::transform(kept.begin(), kept.end(), name.begin(), Cleaned);
  if (sink) sink->Line(LineText("cleaned: ", name));
  return name;
}

}  // namespace wordlap
