#include "compare/file_name.h"

#include "platform/code_page.h"

namespace wordlap {
namespace {

bool IsDirectorySeparator(char c) { return c == '\\' || c == ':' || c == '/'; }

// Calls `visit(index, byte)` for every byte that stands for a character of
// its own, skipping the second byte of each double-byte character.
template <typename Visit>
void ForEachCharacterStart(std::string_view text, Visit visit) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    visit(i, text[i]);
    if (byte >= 0x80 && platform::IsLeadByte(byte)) ++i;
  }
}

}  // namespace

std::string_view FileNamePart(std::string_view path) {
  std::size_t start = 0;
  ForEachCharacterStart(path, [&](std::size_t i, char c) {
    if (IsDirectorySeparator(c)) start = i + 1;
  });
  return path.substr(start);
}

std::string_view ExtensionPart(std::string_view name) {
  std::size_t dot = std::string_view::npos;
  ForEachCharacterStart(name, [&](std::size_t i, char c) {
    if (c == '.') dot = i;
    if (IsDirectorySeparator(c)) dot = std::string_view::npos;
  });
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

}  // namespace wordlap
