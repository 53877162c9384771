#include <string>

#include "compare/percentage.h"
#include "report/pair_formats.h"

namespace wordlap::report {
namespace {

// The length of the well-formed UTF-8 sequence at the start of `text`
// (no overlong forms, no surrogates, nothing above U+10FFFF); 0 if none.
std::size_t SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) {
    return static_cast<unsigned char>(text[i]);
  };
  const unsigned char lead = byte(0);
  std::size_t length;
  unsigned char low = 0x80, high = 0xBF;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

void WriteEscape(OutputStream& out, unsigned value) {
  static constexpr char kHex[] = "0123456789abcdef";
  char text[6] = {'\\',
                  'u',
                  kHex[(value >> 12) & 15],
                  kHex[(value >> 8) & 15],
                  kHex[(value >> 4) & 15],
                  kHex[value & 15]};
  out.Write(std::string_view(text, 6));
}

void WriteString(OutputStream& out, std::string_view text) {
  out.Put('"');
  while (!text.empty()) {
    const auto c = static_cast<unsigned char>(text[0]);
    const std::size_t length = SequenceLength(text);
    if (length == 0) {
      WriteEscape(out, 0xDC00u + c);
      text.remove_prefix(1);
      continue;
    }
    if (c == '"' || c == '\\') {
      out.Put('\\');
      out.Put(static_cast<char>(c));
    } else if (c < 0x20 || c == 0x7F) {
      WriteEscape(out, c);
    } else {
      out.Write(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  out.Put('"');
}

class JsonWriter final : public PairWriter {
 public:
  JsonWriter(const std::vector<std::string>& paths, OutputStream& out)
      : paths_(paths), out_(out) {}

  void Write(const match::NamePartners& partners) override {
    match::ForEachPartner(partners,
                          [&](match::NameId b, const match::Overlap& m) {
                            out_.Write("{\"path_a\":");
                            WriteString(out_, paths_[partners.a]);
                            out_.Write(",\"path_b\":");
                            WriteString(out_, paths_[b]);
                            out_.Write(",\"found\":");
                            out_.Write(std::to_string(m.found));
                            out_.Write(",\"words\":");
                            out_.Write(std::to_string(m.words));
                            out_.Write(",\"percent\":");
                            out_.Write(FormatPercentage(m.found, m.words, "."));
                            out_.Write("}\n");
                            out_.EndRecord();
                          });
  }

 private:
  const std::vector<std::string>& paths_;
  OutputStream& out_;
};

}  // namespace

std::unique_ptr<PairWriter> MakeJsonWriter(
    const std::vector<std::string>& paths, OutputStream& out) {
  return std::make_unique<JsonWriter>(paths, out);
}

}  // namespace wordlap::report
