#include "collect/extension_filter.h"

#include <algorithm>

#include "collect/input_error.h"
#include "compare/file_name.h"

namespace wordlap::collect {
namespace {

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

}  // namespace

ExtensionFilter ExtensionFilter::Parse(std::string_view list) {
  ExtensionFilter filter;
  while (true) {
    const std::size_t comma = list.find(',');
    std::string_view item = list.substr(0, comma);
    if (item.starts_with('.')) item.remove_prefix(1);
    if (item.empty()) {
      throw InputError("--ext: empty extension in the list");
    }
    std::string lowered(item);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), LowerAscii);
    filter.extensions_.push_back(std::move(lowered));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return filter;
}

bool ExtensionFilter::Keeps(std::string_view path) const {
  if (extensions_.empty()) return true;
  const std::string_view name = FileNamePart(path);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view extension = name.substr(dot + 1);
  return std::any_of(
      extensions_.begin(), extensions_.end(), [&](const std::string& wanted) {
        return wanted.size() == extension.size() &&
               std::equal(wanted.begin(), wanted.end(), extension.begin(),
                          [](char w, char e) { return w == LowerAscii(e); });
      });
}

}  // namespace wordlap::collect
