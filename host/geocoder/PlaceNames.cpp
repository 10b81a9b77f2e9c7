#include "host/geocoder/PlaceNames.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <map>

namespace tov {

namespace {

// Letters and digits only; accents gone, lower case.
std::string StripToAscii(const std::string& utf8) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
  icu::UnicodeString text = icu::UnicodeString::fromUTF8(utf8);
  if (U_SUCCESS(status)) {
    icu::UnicodeString decomposed = nfd->normalize(text, status);
    if (U_SUCCESS(status)) text = decomposed;
  }
  std::string out;
  out.reserve(utf8.size());
  for (int32_t i = 0; i < text.length();) {
    const UChar32 c = text.char32At(i);
    i += U16_LENGTH(c);
    if (u_charType(c) == U_NON_SPACING_MARK) continue; // the accents NFD split off
    if (c == '\'' || c == 0x2019 || c == 0x2018 || c == 0x02BC) continue;
    if (c < 0x80 && u_isalnum(c)) {
      out += static_cast<char>(u_tolower(c));
    } else if (c == 0xDF) {
      out += "ss";
    } else if (u_isalnum(c)) {
      // Letters without an ASCII base ("ø", "ł") keep their lower-case UTF-8.
      icu::UnicodeString one(u_tolower(c));
      one.toUTF8String(out);
    } else {
      out += ' ';
    }
  }
  return out;
}

const std::map<std::string, std::string>& Abbreviations() {
  static const std::map<std::string, std::string> words = {
      {"st", "saint"}, {"ste", "sainte"}, {"ft", "fort"}, {"mt", "mount"}};
  return words;
}

struct StateName {
  const char* code;
  const char* name;
};

constexpr StateName kStates[] = {
    {"AL", "Alabama"},        {"AK", "Alaska"},         {"AZ", "Arizona"},
    {"AR", "Arkansas"},       {"CA", "California"},     {"CO", "Colorado"},
    {"CT", "Connecticut"},    {"DE", "Delaware"},       {"DC", "District of Columbia"},
    {"FL", "Florida"},        {"GA", "Georgia"},        {"HI", "Hawaii"},
    {"ID", "Idaho"},          {"IL", "Illinois"},       {"IN", "Indiana"},
    {"IA", "Iowa"},           {"KS", "Kansas"},         {"KY", "Kentucky"},
    {"LA", "Louisiana"},      {"ME", "Maine"},          {"MD", "Maryland"},
    {"MA", "Massachusetts"},  {"MI", "Michigan"},       {"MN", "Minnesota"},
    {"MS", "Mississippi"},    {"MO", "Missouri"},       {"MT", "Montana"},
    {"NE", "Nebraska"},       {"NV", "Nevada"},         {"NH", "New Hampshire"},
    {"NJ", "New Jersey"},     {"NM", "New Mexico"},     {"NY", "New York"},
    {"NC", "North Carolina"}, {"ND", "North Dakota"},   {"OH", "Ohio"},
    {"OK", "Oklahoma"},       {"OR", "Oregon"},         {"PA", "Pennsylvania"},
    {"RI", "Rhode Island"},   {"SC", "South Carolina"}, {"SD", "South Dakota"},
    {"TN", "Tennessee"},      {"TX", "Texas"},          {"UT", "Utah"},
    {"VT", "Vermont"},        {"VA", "Virginia"},       {"WA", "Washington"},
    {"WV", "West Virginia"},  {"WI", "Wisconsin"},      {"WY", "Wyoming"},
    {"AS", "American Samoa"}, {"GU", "Guam"},           {"MP", "Northern Mariana Islands"},
    {"PR", "Puerto Rico"},    {"VI", "Virgin Islands"}, {"DC", "Washington DC"},
};

} // namespace

std::string FoldPlaceName(const std::string& utf8) {
  std::string folded;
  for (const std::string& word : SplitWords(StripToAscii(utf8))) {
    auto it = Abbreviations().find(word);
    if (!folded.empty()) folded += ' ';
    folded += it == Abbreviations().end() ? word : it->second;
  }
  return folded;
}

std::vector<std::string> SplitWords(const std::string& folded) {
  std::vector<std::string> words;
  std::string word;
  for (char c : folded) {
    if (c == ' ') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      word += c;
    }
  }
  if (!word.empty()) words.push_back(std::move(word));
  return words;
}

std::string StateCode(const std::string& text) {
  static const std::map<std::string, std::string> byFolded = [] {
    std::map<std::string, std::string> map;
    for (const StateName& s : kStates) {
      map[FoldPlaceName(s.code)] = s.code;
      map[FoldPlaceName(s.name)] = s.code;
    }
    return map;
  }();
  auto it = byFolded.find(FoldPlaceName(text));
  return it == byFolded.end() ? std::string() : it->second;
}

} // namespace tov
