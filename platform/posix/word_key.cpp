#include "platform/word_key.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
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

// Appends UTF-16 text as UTF-8. Each UTF-16 unit takes at most three bytes,
// so room is made once and the bytes are written in one loop.
void AppendUtf8(std::u16string_view text, KeyText& key) {
  const std::size_t start = key.size();
  key.resize_for_overwrite(start + 3 * text.size());
  char* const out = key.data() + start;
  std::size_t length = 0;
  for (std::size_t i = 0; i < text.size();) {
    UChar32 c;
    U16_NEXT_UNSAFE(text.data(), i, c);  // well-formed, or a lone U+DCxx
    U8_APPEND_UNSAFE(out, length, c);
  }
  key.resize_for_overwrite(start + length);
}

// U+DC00 + byte as UTF-8: a lone surrogate, which well-formed text never
// holds, so an escaped byte can only ever equal the same escaped byte.
void AppendEscapedByte(unsigned char byte, KeyText& key) {
  const char16_t escape = static_cast<char16_t>(0xDC00 + byte);
  AppendUtf8({&escape, 1}, key);
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

bool Normalize(const UNormalizer2* form, std::u16string_view in, Utf16& out) {
  return Fill(out, in.size() * 3 + 8,
              [&](UChar* dest, int32_t capacity, UErrorCode* status) {
                return unorm2_normalize(form, in.data(),
                                        static_cast<int32_t>(in.size()), dest,
                                        capacity, status);
              });
}

bool CaseFold(std::u16string_view in, Utf16& out) {
  return Fill(out, in.size() * 3 + 8,
              [&](UChar* dest, int32_t capacity, UErrorCode* status) {
                return u_strFoldCase(dest, capacity, in.data(),
                                     static_cast<int32_t>(in.size()),
                                     U_FOLD_CASE_DEFAULT, status);
              });
}

// Drops the default-ignorable code points of folded text and writes each
// ligature letter as its two letters. Folding has already turned Œ, Þ, Ĳ
// and Æ into œ, þ, ĳ and æ. Returns the highest code point it kept.
UChar32 Expand(std::u16string_view in, FoldRules rules, Utf16& out) {
  // No unit becomes more than two.
  out.resize_for_overwrite(2 * in.size());
  std::size_t length = 0;
  UChar32 highest = 0;
  for (std::size_t i = 0; i < in.size();) {
    UChar32 c;
    U16_NEXT_UNSAFE(in.data(), i, c);  // ICU's output is well-formed
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
      out[length++] = static_cast<UChar>(letters[0]);
      out[length++] = static_cast<UChar>(letters[1]);
    } else if (c < 0xAD ||
               !u_hasBinaryProperty(c, UCHAR_DEFAULT_IGNORABLE_CODE_POINT)) {
      U16_APPEND_UNSAFE(out.data(), length, c);  // nothing below U+00AD is
      highest = std::max(highest, c);            // ignorable
    }
  }
  out.resize_for_overwrite(length);
  return highest;
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

// A well-formed stretch of a word.
struct Run {
  std::u16string_view text;
  UChar32 highest = 0;   // its highest code point
  std::string_view raw;  // its UTF-8 bytes, used only if ICU cannot work on it
};

// Latin letters up to U+017F (ASCII, Latin-1, Latin Extended-A) fold to the
// same key with or without their canonical decomposition first: none of them
// is a mark, and none decomposes into a letter that Expand writes out. And
// text without a code point from U+0300 on is in NFC as it is: every
// character below it is a starter that nothing composes with. So a run of
// such letters, the usual accented word, skips both normalisations that do
// not change it (WordKey.SameForEveryCanonicalDecomposition checks every
// character against its decomposition).
constexpr UChar32 kFoldsWithoutDecomposing = 0x0180;
constexpr UChar32 kFirstCombiningMark = 0x0300;

// Appends NFC(Expand(CaseFold(NFD(run)))) as UTF-8.
void AppendFoldedRun(const Run& run, FoldRules rules, KeyText& key) {
  static const Normalizers normalizers = LoadNormalizers();
  Utf16 decomposed, folded, expanded, composed;
  std::u16string_view text = run.text;
  if (run.highest >= kFoldsWithoutDecomposing) {
    if (normalizers.nfd == nullptr ||
        !Normalize(normalizers.nfd, text, decomposed)) {
      AppendLowerAscii(run.raw, key);
      return;
    }
    text = decomposed;
  }
  if (!CaseFold(text, folded)) {
    AppendLowerAscii(run.raw, key);
    return;
  }
  const UChar32 highest = Expand(folded, rules, expanded);
  text = expanded;
  if (highest >= kFirstCombiningMark) {
    if (normalizers.nfc == nullptr ||
        !Normalize(normalizers.nfc, expanded, composed)) {
      AppendLowerAscii(run.raw, key);
      return;
    }
    text = composed;
  }
  AppendUtf8(text, key);
}

}  // namespace

void AppendWordKey(std::string_view word, KeyText& key, FoldRules rules) {
  if (AppendAsciiKey(word, key)) return;
  const auto* bytes = reinterpret_cast<const uint8_t*>(word.data());
  const auto length = static_cast<int32_t>(word.size());
  // A word never has more UTF-16 units than UTF-8 bytes; the runs of the
  // word are decoded one after another into the same room.
  Utf16 units;
  units.resize_for_overwrite(word.size());
  std::size_t run_length = 0;
  int32_t run_start = 0;
  UChar32 highest = 0;
  const auto flush = [&](int32_t end) {
    if (run_length == 0) return;
    AppendFoldedRun({{units.data(), run_length},
                     highest,
                     word.substr(run_start, end - run_start)},
                    rules, key);
    run_length = 0;
    highest = 0;
  };
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c >= 0) {
      if (run_length == 0) run_start = start;
      U16_APPEND_UNSAFE(units.data(), run_length, c);
      highest = std::max(highest, c);
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
