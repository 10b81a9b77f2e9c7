#pragma once
#include <string>
#include <vector>

namespace tov {

// How the geocoder compares names: "St. Louis", "saint louis" and
// "SAINT-LOUIS" are one name, and so are "Cañon City" and "Canon City".
// Folding drops accents and case, turns punctuation into blanks (apostrophes
// vanish: "O'Fallon" = "OFallon"), writes the usual abbreviations out
// ("St" saint, "Ste" sainte, "Ft" fort, "Mt" mount) and leaves single blanks
// between words. Text that is not UTF-8 folds byte by byte in ASCII.
std::string FoldPlaceName(const std::string& utf8);

// The words of a folded name.
std::vector<std::string> SplitWords(const std::string& folded);

// The two-letter postal code of a state, the District of Columbia or a
// territory given by its code or its full name in any case ("ny", "New
// York"); "" when the text names none.
std::string StateCode(const std::string& text);

} // namespace tov
