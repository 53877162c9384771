#include "group/copy_name.h"

#include <string>

namespace wordlap::group {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string LowerAscii(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lowered;
}

// Removes a run of digits at the end of `text`; false when there is none.
bool DropDigits(std::string_view& text) {
  const std::size_t before = text.size();
  while (!text.empty() && IsDigit(text.back())) text.remove_suffix(1);
  return text.size() < before;
}

// "(N)" at the end, the mark of a numbered copy.
bool EndsInNumber(std::string_view text) {
  if (!text.ends_with(')')) return false;
  text.remove_suffix(1);
  return DropDigits(text) && text.ends_with('(');
}

bool EndsInCopy(std::string_view text) {
  std::string_view rest = text;
  // "X copy 2"
  if (DropDigits(rest)) {
    if (!rest.ends_with(' ')) return false;
    rest.remove_suffix(1);
  }
  for (const std::string_view mark : {" copy", "_copy", "-copy"}) {
    if (rest.ends_with(mark) && rest.size() > mark.size()) return true;
  }
  return false;
}

bool StartsWithCopyOf(std::string_view text) {
  if (text.starts_with("copy of ")) return true;
  // "copy (2) of "
  if (!text.starts_with("copy (")) return false;
  text.remove_prefix(6);
  std::size_t digits = 0;
  while (digits < text.size() && IsDigit(text[digits])) ++digits;
  return digits > 0 && text.substr(digits).starts_with(") of ");
}

}  // namespace

bool LooksLikeCopy(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  std::string_view name =
      slash == std::string_view::npos ? path : path.substr(slash + 1);
  // An editor's backup keeps the whole name, extension included.
  if (name.ends_with('~')) return true;
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  const std::string lowered = LowerAscii(name);
  const std::string_view text = lowered;
  return StartsWithCopyOf(text) || EndsInNumber(text) || EndsInCopy(text);
}

}  // namespace wordlap::group
