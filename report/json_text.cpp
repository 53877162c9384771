#include "report/json_text.h"

namespace wordlap::report {
namespace {

void AppendEscape(std::string& out, unsigned value) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\u00";
  out += kHex[(value >> 4) & 15];
  out += kHex[value & 15];
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view text) {
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

bool IsValidUtf8(std::string_view text) {
  while (!text.empty()) {
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) return false;
    text.remove_prefix(length);
  }
  return true;
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  text.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                       static_cast<unsigned char>(bytes[i + 1]) << 8 |
                       static_cast<unsigned char>(bytes[i + 2]);
    text += kDigits[v >> 18];
    text += kDigits[(v >> 12) & 63];
    text += kDigits[(v >> 6) & 63];
    text += kDigits[v & 63];
  }
  const std::size_t rest = bytes.size() - i;
  if (rest > 0) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    text += kDigits[v >> 18];
    text += kDigits[(v >> 12) & 63];
    text += rest == 2 ? kDigits[(v >> 6) & 63] : '=';
    text += '=';
  }
  return text;
}

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  while (!text.empty()) {
    const auto c = static_cast<unsigned char>(text[0]);
    const std::size_t length = Utf8SequenceLength(text);
    if (length == 0) {
      out += "\xEF\xBF\xBD";  // U+FFFD
      text.remove_prefix(1);
      continue;
    }
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      AppendEscape(out, c);
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  out += '"';
}

void AppendTextField(std::string& out, std::string_view key,
                     std::string_view text) {
  out += '"';
  out += key;
  out += "\":";
  AppendJsonString(out, text);
  if (!IsValidUtf8(text)) {
    out += ",\"";
    out += key;
    out += "_base64\":\"";
    out += Base64(text);
    out += '"';
  }
}

}  // namespace wordlap::report
