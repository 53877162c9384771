#include "platform/word_key.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <new>

namespace wordlap::platform {
namespace {

// A run of UTF-16 text on its way through ICU; a word of usual length stays
// inside it.
using Utf16 = SmallVector<UChar, 128>;

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Appends the word with A-Z lowered, in the same pass that looks for a byte
// outside ASCII. False, with `key` as it was, when there is one.
bool AppendAsciiKey(std::string_view word, KeyText& key) {
  const std::size_t start = key.size();
  key.resize_for_overwrite(start + word.size());
  char* out = key.data() + start;
  unsigned char bytes_seen = 0;
  for (const char c : word) {
    bytes_seen |= static_cast<unsigned char>(c);
    *out++ = LowerAscii(c);
  }
  if (bytes_seen < 0x80) return true;
  key.resize_for_overwrite(start);
  return false;
}

// What a run becomes when ICU cannot work on it.
void AppendLowerAscii(std::string_view raw, KeyText& key) {
  for (const char c : raw) key.push_back(LowerAscii(c));
}

void AppendCodePoint(UChar32 c, KeyText& key) {
  char bytes[U8_MAX_LENGTH];
  int32_t length = 0;
  U8_APPEND_UNSAFE(bytes, length, c);  // c is a scalar value or U+DCxx
  key.append(bytes, static_cast<std::size_t>(length));
}

// U+DC00 + byte as UTF-8: a lone surrogate, which well-formed text never
// holds, so an escaped byte can only ever equal the same escaped byte.
void AppendEscapedByte(unsigned char byte, KeyText& key) {
  AppendCodePoint(0xDC00 + byte, key);
}

void AppendUtf16(UChar32 c, Utf16& text) {
  if (U_IS_BMP(c)) {
    text.push_back(static_cast<UChar>(c));
  } else {
    text.push_back(U16_LEAD(c));
    text.push_back(U16_TRAIL(c));
  }
}

// Runs an ICU function of the usual (dest, capacity, &status) shape into
// `out`, growing it once when ICU asks for more room. False on any other
// failure.
template <typename Call>
bool Fill(Utf16& out, std::size_t guess, Call call) {
  out.resize_for_overwrite(guess);
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = call(out.data(), static_cast<int32_t>(out.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    out.resize_for_overwrite(static_cast<std::size_t>(length));
    status = U_ZERO_ERROR;
    length = call(out.data(), static_cast<int32_t>(out.size()), &status);
  }
  if (status == U_MEMORY_ALLOCATION_ERROR) throw std::bad_alloc();
  if (U_FAILURE(status)) return false;
  out.resize_for_overwrite(static_cast<std::size_t>(length));
  return true;
}

bool Normalize(const UNormalizer2* form, const Utf16& in, Utf16& out) {
  return Fill(out, in.size() * 3 + 8,
              [&](UChar* dest, int32_t capacity, UErrorCode* status) {
                return unorm2_normalize(form, in.data(),
                                        static_cast<int32_t>(in.size()), dest,
                                        capacity, status);
              });
}

bool CaseFold(const Utf16& in, Utf16& out) {
  return Fill(out, in.size() * 3 + 8,
              [&](UChar* dest, int32_t capacity, UErrorCode* status) {
                return u_strFoldCase(dest, capacity, in.data(),
                                     static_cast<int32_t>(in.size()),
                                     U_FOLD_CASE_DEFAULT, status);
              });
}

// What Expand writes for one code point of folded text: nothing for a
// default-ignorable one, two letters for a ligature letter, else itself.
// Folding has already turned Œ, Þ, Ĳ and Æ into œ, þ, ĳ and æ.
void AppendExpanded(UChar32 c, FoldRules rules, Utf16& out) {
  const char* letters = nullptr;
  switch (c) {
    case 0x0153:  // œ
      letters = "oe";
      break;
    case 0x00FE:  // þ
      letters = "th";
      break;
    case 0x0133:  // ĳ
      letters = "ij";
      break;
    case 0x00E6:  // æ
      if (!rules.ae_is_letter) letters = "ae";
      break;
  }
  if (letters != nullptr) {
    out.push_back(static_cast<UChar>(letters[0]));
    out.push_back(static_cast<UChar>(letters[1]));
  } else if (c < 0xAD ||
             !u_hasBinaryProperty(c, UCHAR_DEFAULT_IGNORABLE_CODE_POINT)) {
    AppendUtf16(c, out);  // no code point below U+00AD is ignorable
  }
}

void Expand(const Utf16& in, FoldRules rules, Utf16& out) {
  out.clear();
  for (std::size_t i = 0; i < in.size();) {
    UChar32 c;
    U16_NEXT_UNSAFE(in.data(), i, c);  // ICU's output is well-formed
    AppendExpanded(c, rules, out);
  }
}

struct Normalizers {
  const UNormalizer2* nfd = nullptr;
  const UNormalizer2* nfc = nullptr;
};

Normalizers LoadNormalizers() {
  UErrorCode status = U_ZERO_ERROR;
  Normalizers n;
  n.nfd = unorm2_getNFDInstance(&status);
  n.nfc = unorm2_getNFCInstance(&status);
  if (U_FAILURE(status)) return {};
  return n;
}

// Appends NFC(Expand(CaseFold(NFD(run)))) as UTF-8; `raw` is the same run in
// its original UTF-8 bytes, used only if ICU cannot work on it.
void AppendFoldedRun(const Utf16& run, std::string_view raw, FoldRules rules,
                     KeyText& key) {
  static const Normalizers normalizers = LoadNormalizers();
  Utf16 decomposed, folded, expanded, composed;
  if (normalizers.nfd == nullptr ||
      !Normalize(normalizers.nfd, run, decomposed) ||
      !CaseFold(decomposed, folded)) {
    AppendLowerAscii(raw, key);
    return;
  }
  Expand(folded, rules, expanded);
  if (!Normalize(normalizers.nfc, expanded, composed)) {
    AppendLowerAscii(raw, key);
    return;
  }
  for (std::size_t i = 0; i < composed.size();) {
    UChar32 c;
    U16_NEXT_UNSAFE(composed.data(), i, c);
    AppendCodePoint(c, key);
  }
}

}  // namespace

void AppendWordKey(std::string_view word, KeyText& key, FoldRules rules) {
  if (AppendAsciiKey(word, key)) return;
  const auto* bytes = reinterpret_cast<const uint8_t*>(word.data());
  const auto length = static_cast<int32_t>(word.size());
  Utf16 run;
  int32_t run_start = 0;
  const auto flush = [&](int32_t end) {
    if (run.empty()) return;
    AppendFoldedRun(run, word.substr(run_start, end - run_start), rules, key);
    run.clear();
  };
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c >= 0) {
      if (run.empty()) run_start = start;
      AppendUtf16(c, run);
      continue;
    }
    flush(start);
    for (int32_t j = start; j < i; ++j) AppendEscapedByte(bytes[j], key);
  }
  flush(length);
}

std::string WordKey(std::string_view word, FoldRules rules) {
  KeyText key;
  AppendWordKey(word, key, rules);
  return std::string(key);
}

void WordKey(std::string_view word, std::string& key) {
  KeyText text;
  AppendWordKey(word, text);
  key.assign(text.data(), text.size());
}

}  // namespace wordlap::platform
