#include "platform/word_key.h"

#include <unicode/ucasemap.h>
#include <unicode/unorm2.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <new>

namespace wordlap::platform {
namespace {

bool IsAscii(std::string_view word) {
  for (const char c : word) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

void AppendLowerAscii(std::string_view text, std::string& key) {
  for (const char c : text) {
    key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
  }
}

// U+DC00 + byte as UTF-8: a lone surrogate, which well-formed text never
// holds, so an escaped byte can only ever equal the same escaped byte.
void AppendEscapedByte(unsigned char byte, std::string& key) {
  const unsigned code = 0xDC00u + byte;
  key += static_cast<char>(0xE0 | (code >> 12));
  key += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  key += static_cast<char>(0x80 | (code & 0x3F));
}

void ThrowOnMemoryError(UErrorCode status) {
  if (status == U_MEMORY_ALLOCATION_ERROR) throw std::bad_alloc();
}

// Runs an ICU function of the usual (dest, capacity, &status) shape into
// `out`, growing it once when ICU asks for more room. False on any other
// failure.
template <typename Call>
bool FillUtf16(std::u16string& out, std::size_t guess, Call call) {
  out.resize(guess);
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = call(out.data(), static_cast<int32_t>(out.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    out.resize(static_cast<std::size_t>(length));
    status = U_ZERO_ERROR;
    length = call(out.data(), static_cast<int32_t>(out.size()), &status);
  }
  ThrowOnMemoryError(status);
  if (U_FAILURE(status)) return false;
  out.resize(static_cast<std::size_t>(length));
  return true;
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

// Appends NFC(full case fold(NFD(run))) as UTF-8; `raw` is the same run in
// its original UTF-8 bytes, used only if ICU cannot work on it.
void AppendFoldedRun(const std::u16string& run, std::string_view raw,
                     std::string& key) {
  static const Normalizers normalizers = LoadNormalizers();
  const auto size = static_cast<int32_t>(run.size());
  const std::size_t guess = run.size() * 3 + 8;
  std::u16string decomposed, folded, composed;
  const bool ok =
      normalizers.nfd != nullptr &&
      FillUtf16(decomposed, guess,
                [&](UChar* dest, int32_t capacity, UErrorCode* status) {
                  return unorm2_normalize(normalizers.nfd, run.data(), size,
                                          dest, capacity, status);
                }) &&
      FillUtf16(folded, guess,
                [&](UChar* dest, int32_t capacity, UErrorCode* status) {
                  return u_strFoldCase(dest, capacity, decomposed.data(),
                                       static_cast<int32_t>(decomposed.size()),
                                       U_FOLD_CASE_DEFAULT, status);
                }) &&
      FillUtf16(composed, guess,
                [&](UChar* dest, int32_t capacity, UErrorCode* status) {
                  return unorm2_normalize(normalizers.nfc, folded.data(),
                                          static_cast<int32_t>(folded.size()),
                                          dest, capacity, status);
                });
  if (!ok) {
    AppendLowerAscii(raw, key);
    return;
  }
  for (std::size_t i = 0; i < composed.size();) {
    UChar32 c;
    U16_NEXT(composed.data(), i, composed.size(), c);
    uint8_t bytes[U8_MAX_LENGTH];
    int32_t length = 0;
    U8_APPEND_UNSAFE(bytes, length, c);  // c is a scalar value from ICU
    key.append(reinterpret_cast<const char*>(bytes),
               static_cast<std::size_t>(length));
  }
}

}  // namespace

void WordKey(std::string_view word, std::string& key) {
  key.clear();
  if (IsAscii(word)) {
    AppendLowerAscii(word, key);
    return;
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(word.data());
  const auto length = static_cast<int32_t>(word.size());
  std::u16string run;
  int32_t run_start = 0;
  const auto flush = [&](int32_t end) {
    if (!run.empty()) {
      AppendFoldedRun(run, word.substr(run_start, end - run_start), key);
      run.clear();
    }
  };
  for (int32_t i = 0; i < length;) {
    const int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    if (c >= 0) {
      if (run.empty()) run_start = start;
      if (U_IS_BMP(c)) {
        run += static_cast<char16_t>(c);
      } else {
        run += static_cast<char16_t>(U16_LEAD(c));
        run += static_cast<char16_t>(U16_TRAIL(c));
      }
      continue;
    }
    flush(start);
    for (int32_t j = start; j < i; ++j) AppendEscapedByte(bytes[j], key);
  }
  flush(length);
}

std::string WordKey(std::string_view word) {
  std::string key;
  WordKey(word, key);
  return key;
}

}  // namespace wordlap::platform
