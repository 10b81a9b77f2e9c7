#include "host/framework/UnicodeNames.h"

#include <algorithm>

#include <unicode/normalizer2.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

namespace tov {

bool IsValidUtf8(const std::string& text) {
  const auto* s = reinterpret_cast<const uint8_t*>(text.data());
  const int32_t length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(s, i, length, c);
    if (c < 0) return false;
  }
  return true;
}

std::string NfcName(const std::string& utf8) {
  // Plain ASCII is its own normal form: most names, asked for every layer a pass looks at.
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) return utf8;
  if (!IsValidUtf8(utf8)) return utf8;
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) return utf8;
  const icu::UnicodeString text = icu::UnicodeString::fromUTF8(utf8);
  if (nfc->isNormalized(text, status) && U_SUCCESS(status)) return utf8;
  status = U_ZERO_ERROR;
  const icu::UnicodeString normalized = nfc->normalize(text, status);
  if (U_FAILURE(status)) return utf8;
  std::string out;
  normalized.toUTF8String(out);
  return out;
}

} // namespace tov
