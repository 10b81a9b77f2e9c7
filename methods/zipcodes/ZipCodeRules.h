#pragma once
#include "platform/framework/PropertyList.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Trap.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tov {

// The rules a list of ZIP codes is checked against, as working values for
// one run of the ZIP page. Parsing with checking off changes them in place.
struct ZipRuleValues {
  bool checkValidity = true;
  bool numericZips = true;
  int32_t valueLength = 5;
  int32_t prefixLeastLength = 2;
};

// The rule values of a method's descriptor ("CheckZipsValidity",
// "NumericZips", "ValueLength", "NumericPrefixLeastLength"). A flag is off
// only when its value is exactly "False"; a length that is empty or not a
// number keeps its default.
ZipRuleValues ReadZipRuleValues(PropertyList& properties);

// Why a list was refused: the id of its message text and, for the messages
// that name a number, that number in words ("" for the others).
struct ZipRefusal {
  std::string messageId;
  std::string numberWord;
};

// What the parser does with a refusal.
using ZipRefusalHandler = std::function<void(const ZipRefusal&)>;

// The refusal's text from the text resources, "%1" replaced by its word.
std::string ZipRefusalText(const ZipRefusal& refusal);
// The ZIP page's way: a message box with the text, title 182 and the
// exclamation icon.
void ShowZipRefusal(const ZipRefusal& refusal);

// Splits text into ZIP codes and checks each against the rules. Codes are
// separated by runs of blanks, commas and semicolons; a CR LF pair counts as
// a blank and "*" is read as the wildcard "%". Returns the codes in the
// order typed (duplicates kept), or no object when the text holds no code or
// a code breaks a rule: the first broken rule is passed to refuse and no
// code is returned at all. A failure is reported at errors under
// "ZipCodesToCollection " or "GetNextZip " and gives no object as well.
CollectionPtr ZipCodesToCollection(std::string text, bool& checkValidity, bool& numericZips, int32_t& valueLength,
                                   int32_t& prefixLeastLength, const ZipRefusalHandler& refuse = ShowZipRefusal,
                                   const ErrorSite& errors = ErrorSite());

// Takes the next code off the front of text (separators before it and the
// one separator after it go too) and adds it to collection: true. False when
// only separators are left, or when the code breaks a rule, which empties
// the collection and is passed to refuse. With checkValidity off the other
// three values are first set to "any characters, any length" (numericZips
// false, prefixLeastLength 0, valueLength 1000) and stay so, leaving only the
// rule that "%" ends its code. Text without a closing separator ends its
// code at its end. Lengths and positions count characters (UTF-8).
bool GetNextZip(std::string& text, const CollectionPtr& collection, bool& checkValidity, bool& numericZips,
                int32_t& valueLength, int32_t& prefixLeastLength, const ZipRefusalHandler& refuse = ShowZipRefusal,
                const ErrorSite& errors = ErrorSite());

} // namespace tov
