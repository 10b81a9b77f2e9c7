#include "methods/zipcodes/ZipCodeRules.h"

#include "pages/modi18N.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/TextReplace.h"
#include "platform/runtime/Variant.h"
#include "store/StrUtils.h"

#include <string_view>

namespace tov {

namespace {

constexpr char kSeparators[] = " ,;";
constexpr char kWildcard = '%';
constexpr char kTitleId[] = "182";

// Working values when checking is off: any characters, any length.
constexpr int32_t kUncheckedValueLength = 1000;

bool IsSeparator(char c) { return c == ' ' || c == ',' || c == ';'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// The second to last byte of a UTF-8 character: not a character of its own.
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

int32_t LengthSetting(PropertyList& properties, const char* name, int32_t defaultValue) {
  const std::string value = properties.GetValue(name);
  if (value.empty()) return defaultValue;
  try {
    return Variant(value).ToLong();
  } catch (const HostError&) {
    // A setting that is not a number keeps the default.
    return defaultValue;
  }
}

} // namespace

ZipRuleValues ReadZipRuleValues(PropertyList& properties) {
  ZipRuleValues values;
  // Only the exact word turns a check off: "false" or "" leave it on.
  values.checkValidity = properties.GetValue("CheckZipsValidity") != "False";
  values.numericZips = properties.GetValue("NumericZips") != "False";
  values.valueLength = LengthSetting(properties, "ValueLength", values.valueLength);
  values.prefixLeastLength = LengthSetting(properties, "NumericPrefixLeastLength", values.prefixLeastLength);
  return values;
}

std::string ZipRefusalText(const ZipRefusal& refusal) {
  std::string text = GetTextResources()->FindString(refusal.messageId);
  if (!refusal.numberWord.empty()) text = ReplaceAll(text, "%1", refusal.numberWord);
  return text;
}

void ShowZipRefusal(const ZipRefusal& refusal) {
  MsgBox(ZipRefusalText(refusal), vbExclamation, GetTextResources()->FindString(kTitleId));
}

namespace {

// GetNextZip on the rest of a text, without its trap: the code and the one
// separator after it are taken off the front of rest.
bool TakeNextZip(std::string_view& rest, Collection& collection, bool& checkValidity, bool& numericZips,
                 int32_t& valueLength, int32_t& prefixLeastLength, const ZipRefusalHandler& refuse) {
  auto refused = [&](const char* messageId, std::string numberWord) {
    // All codes or none: what was accepted before goes too.
    collection.Clear();
    if (refuse) refuse(ZipRefusal{messageId, std::move(numberWord)});
    return false;
  };

  const size_t start = rest.find_first_not_of(kSeparators);
  if (start == std::string_view::npos) {
    rest = std::string_view();
    return false;
  }
  rest.remove_prefix(start);

  if (!checkValidity) {
    numericZips = false;
    prefixLeastLength = 0;
    valueLength = kUncheckedValueLength;
  }

  const size_t n = rest.size();
  size_t end = n;       // byte at which the code ends (its separator)
  long position = 0;    // character position, from 1
  long codeLength = -1; // in characters
  for (size_t b = 0; b < n; ++b) {
    const char c = rest[b];
    if (IsContinuationByte(c)) continue;
    ++position;
    if (c == kWildcard) {
      if (position <= prefixLeastLength) return refused(numericZips ? "181" : "190", NumberToWord(prefixLeastLength));
      if (b + 1 < n && !IsSeparator(rest[b + 1])) return refused("185", std::string());
    } else if (IsSeparator(c)) {
      end = b;
      codeLength = position - 1;
      break;
    } else if (numericZips && !IsDigit(c)) {
      return refused("183", std::string());
    }
  }
  if (codeLength < 0) codeLength = position;

  // Never empty: the rest starts with something other than a separator.
  const std::string code(rest.substr(0, end));
  if (checkValidity) {
    const bool complete = codeLength == valueLength;
    const bool prefix = codeLength < valueLength && code.back() == kWildcard;
    if (!complete && !prefix) return refused(numericZips ? "184" : "191", NumberToWord(valueLength));
  }

  collection.Add(code);
  // Only the one separator: the next call skips any more.
  rest.remove_prefix(end < n ? end + 1 : n);
  return true;
}

// TakeNextZip under the trap of GetNextZip.
bool NextZip(std::string_view& rest, const CollectionPtr& collection, bool& checkValidity, bool& numericZips,
             int32_t& valueLength, int32_t& prefixLeastLength, const ZipRefusalHandler& refuse,
             const ErrorSite& errors) {
  bool finished = false;
  const bool taken = Trap(errors, "GetNextZip ", false, [&] {
    const bool result = TakeNextZip(rest, *Must(collection, "the collection of ZIP codes"), checkValidity,
                                    numericZips, valueLength, prefixLeastLength, refuse);
    finished = true;
    return result;
  });
  // A failure half way keeps the promise of all codes or none.
  if (!finished && collection) collection->Clear();
  return taken;
}

} // namespace

CollectionPtr ZipCodesToCollection(std::string text, bool& checkValidity, bool& numericZips, int32_t& valueLength,
                                   int32_t& prefixLeastLength, const ZipRefusalHandler& refuse,
                                   const ErrorSite& errors) {
  return Trap(errors, "ZipCodesToCollection ", CollectionPtr(), [&] {
    // Lines of the text box are codes of their own.
    text = ReplaceAll(text, "\r\n", " ");
    for (char& c : text)
      if (c == '*') c = kWildcard;
    // Every code ends in a separator.
    text += ' ';
    auto codes = std::make_shared<Collection>();
    std::string_view rest(text);
    while (NextZip(rest, codes, checkValidity, numericZips, valueLength, prefixLeastLength, refuse, errors)) {
    }
    return codes->Count() > 0 ? codes : CollectionPtr();
  });
}

bool GetNextZip(std::string& text, const CollectionPtr& collection, bool& checkValidity, bool& numericZips,
                int32_t& valueLength, int32_t& prefixLeastLength, const ZipRefusalHandler& refuse,
                const ErrorSite& errors) {
  std::string_view rest(text);
  const bool taken =
      NextZip(rest, collection, checkValidity, numericZips, valueLength, prefixLeastLength, refuse, errors);
  text.erase(0, text.size() - rest.size());
  return taken;
}

} // namespace tov
