#include "compare/comma_text.h"

#include "platform/code_page.h"

namespace wordlap {
namespace {

bool NeedsQuotes(std::string_view entry) {
  for (std::size_t i = 0; i < entry.size(); ++i) {
    const auto byte = static_cast<unsigned char>(entry[i]);
    if ((byte >= 1 && byte <= 32) || byte == '"' || byte == ',') return true;
    if (byte >= 0x80 && platform::IsLeadByte(byte)) ++i;
  }
  return false;
}

void AppendQuoted(std::string_view entry, std::string& text) {
  text += '"';
  for (const char c : entry) {
    if (c == '"') text += '"';
    text += c;
  }
  text += '"';
}

}  // namespace

std::string CommaText(const WordList& list) {
  if (list.Count() == 1 && list[0].empty()) return "\"\"";
  std::string text;
  for (std::size_t i = 0; i < list.Count(); ++i) {
    if (i > 0) text += ',';
    if (NeedsQuotes(list[i])) {
      AppendQuoted(list[i], text);
    } else {
      text += list[i];
    }
  }
  return text;
}

}  // namespace wordlap
