#include "host/geocoder/AddressMatcher.h"

#include "host/geocoder/PlaceNames.h"

#include <cctype>

namespace tov {

namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool AllDigits(const std::string& text, size_t from, size_t count) {
  if (from + count > text.size()) return false;
  for (size_t i = from; i < from + count; ++i)
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  return true;
}

// "10001" or "10001-1234" gives "10001"; anything else "".
std::string ZipOf(const std::string& word) {
  if (word.size() == 5 && AllDigits(word, 0, 5)) return word;
  if (word.size() == 10 && AllDigits(word, 0, 5) && word[5] == '-' && AllDigits(word, 6, 4)) return word.substr(0, 5);
  return std::string();
}

std::vector<std::string> SplitParts(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t comma = text.find(',', start);
    std::string part = Trim(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (!part.empty()) parts.push_back(part);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return parts;
}

// A street part begins with a house number: "350 5th Ave", "12-14 Main St".
bool LooksLikeStreet(const std::string& part) {
  if (part.empty() || !std::isdigit(static_cast<unsigned char>(part[0]))) return false;
  const size_t blank = part.find(' ');
  return blank != std::string::npos && blank + 1 < part.size();
}

bool IsCountry(const std::string& part) {
  const std::string folded = FoldPlaceName(part);
  return folded == "usa" || folded == "us" || folded == "united states" || folded == "united states of america";
}

std::string Thousands(uint64_t n) {
  std::string digits = std::to_string(n), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

std::string PlaceLabel(const GazetteerEntry& e) {
  std::string label = e.name + (e.state.empty() ? "" : ", " + e.state);
  if (e.population > 0) label += " (pop. " + Thousands(e.population) + ")";
  return label;
}

std::string ZipLabel(const GazetteerEntry& e) { return "ZIP " + e.name + (e.state.empty() ? "" : ", " + e.state); }

std::string Label(const GazetteerEntry& e) {
  switch (e.kind) {
  case GazetteerEntry::Kind::Zip: return ZipLabel(e);
  case GazetteerEntry::Kind::Code: return "Code " + e.name;
  case GazetteerEntry::Kind::Region: return e.name + " (region)";
  default: return PlaceLabel(e);
  }
}

GeocodeCandidate Candidate(const GazetteerEntry& e, const char* status) {
  return GeocodeCandidate{Label(e), status, e.latitude, e.longitude};
}

// Splits a trailing state off a part without a comma ("Springfield IL",
// "Portland New Hampshire"): the longest ending of up to three words that
// names a state, with words left before it.
bool SplitTrailingState(const std::string& part, std::string& place, std::string& state) {
  std::vector<std::string> words;
  size_t start = 0;
  while (start < part.size()) {
    const size_t blank = part.find(' ', start);
    const size_t end = blank == std::string::npos ? part.size() : blank;
    if (end > start) words.push_back(part.substr(start, end - start));
    start = end + 1;
  }
  for (size_t n = std::min<size_t>(3, words.size() - (words.empty() ? 0 : 1)); n >= 1; --n) {
    std::string ending;
    for (size_t i = words.size() - n; i < words.size(); ++i) ending += (ending.empty() ? "" : " ") + words[i];
    const std::string code = StateCode(ending);
    if (code.empty()) continue;
    place.clear();
    for (size_t i = 0; i + n < words.size(); ++i) place += (place.empty() ? "" : " ") + words[i];
    state = code;
    return true;
  }
  return false;
}

} // namespace

GeocodeMatch AddressMatcher::Match(const std::string& text) const {
  GeocodeMatch match;
  std::vector<std::string> parts = SplitParts(text);
  if (parts.empty()) {
    match.message = "Type a ZIP code, a place such as \"Springfield, IL\" or an address, then press Find.";
    return match;
  }

  // The whole text a postal code of the data set other than a ZIP code
  // ("LS1", "h2x").
  const std::string whole = Trim(text);
  if (const GazetteerEntry* code = m_gazetteer->FindZip(whole); code && code->kind == GazetteerEntry::Kind::Code) {
    match.candidates.push_back(Candidate(*code, kGeocodeSucceeded));
    match.message = "Code " + code->name + " found: the point lies inside that code's area.";
    return match;
  }

  // A ZIP code ends the text: "10001", "..., NY 10118".
  std::string zip;
  {
    std::string& last = parts.back();
    const size_t blank = last.rfind(' ');
    const std::string word = blank == std::string::npos ? last : last.substr(blank + 1);
    zip = ZipOf(word);
    if (!zip.empty()) {
      last = blank == std::string::npos ? std::string() : Trim(last.substr(0, blank));
      if (last.empty()) parts.pop_back();
    }
  }
  const GazetteerEntry* zipEntry = zip.empty() ? nullptr : m_gazetteer->FindZip(zip);

  while (parts.size() > 1 && IsCountry(parts.back())) parts.pop_back();
  // A state after a comma: "Springfield, IL", "Brooklyn, New York".
  std::string state;
  if (parts.size() > 1) {
    state = StateCode(parts.back());
    if (!state.empty()) parts.pop_back();
  }

  // The place: the last part that names one, the state's when there is one.
  std::vector<const GazetteerEntry*> places;
  size_t placePart = parts.size();
  for (size_t i = parts.size(); i-- > 0 && places.empty();) {
    if (LooksLikeStreet(parts[i])) continue;
    places = m_gazetteer->FindPlaces(parts[i], state);
    std::string name, trailingState;
    if (places.empty() && state.empty() && SplitTrailingState(parts[i], name, trailingState))
      places = m_gazetteer->FindPlaces(name, trailingState);
    if (!places.empty()) placePart = i;
  }
  // Parts before the place (a street, a building), or text beside a ZIP code
  // that names no place, are more than the gazetteer can locate: the point
  // stands for them but is not theirs.
  const bool partial = places.empty() ? !parts.empty() : placePart > 0;

  if (parts.empty()) {
    // Only a ZIP code.
    if (zipEntry) {
      match.candidates.push_back(Candidate(*zipEntry, kGeocodeSucceeded));
      match.message = "ZIP " + zip + " found: the point is the centre of that ZIP area.";
    } else {
      match.message = "ZIP " + zip + " is not in the gazetteer.";
    }
    return match;
  }
  if (partial && zipEntry) {
    match.candidates.push_back(Candidate(*zipEntry, kGeocodeInvalid));
    match.message = "The address was read as ZIP " + zip + ": the point is the centre of that ZIP area, not the door.";
    return match;
  }
  if (partial && !places.empty()) {
    for (const GazetteerEntry* p : places) match.candidates.push_back(Candidate(*p, kGeocodeInvalid));
    match.message = places.size() == 1
                        ? "The address was read as " + places[0]->name + ", " + places[0]->state +
                              ": the point is the centre of that place, not the door."
                        : std::to_string(places.size()) +
                              " places match the address: the point is the centre of the place you choose, not the door.";
    return match;
  }
  if (zipEntry) {
    // A place with its ZIP code: the ZIP area is the finer of the two.
    match.candidates.push_back(Candidate(*zipEntry, kGeocodeSucceeded));
    match.message = "ZIP " + zip + " found: the point is the centre of that ZIP area.";
    return match;
  }
  if (places.empty()) {
    // No place of that name: one of the data set's regions ("Kent", "Kings, NY").
    const std::vector<const GazetteerEntry*> regions =
        zip.empty() ? m_gazetteer->FindRegions(whole) : std::vector<const GazetteerEntry*>();
    if (!regions.empty()) {
      for (const GazetteerEntry* r : regions) match.candidates.push_back(Candidate(*r, kGeocodeSucceeded));
      match.message = "Region " + regions[0]->name + " found: the point lies inside it.";
      return match;
    }
    if (!zip.empty())
      match.message = "Neither ZIP " + zip + " nor a place of this address is in the gazetteer.";
    else if (m_gazetteer->PlaceCount() == 0)
      match.message = "This gazetteer holds ZIP codes only: type a five-digit ZIP code.";
    else
      match.message = "Nothing in the gazetteer matches \"" + Trim(text) + "\".";
    return match;
  }
  for (const GazetteerEntry* p : places) match.candidates.push_back(Candidate(*p, kGeocodeSucceeded));
  match.message = places.size() == 1 ? std::string("1 place matches.")
                                     : std::to_string(places.size()) + " places match: choose one.";
  return match;
}

} // namespace tov
