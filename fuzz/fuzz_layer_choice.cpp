// The layer and field choices of `datasets create` (--regions,
// --codes, --context) and its EPSG codes (--projection, --assume-srs). The
// first byte picks what the rest is given to. A choice read is a
// layer without blanks around it or control characters, a field only where
// the option takes one and always where it needs one, and written back as
// LAYER:FIELD it reads the same; a code read is positive and reads the same
// written as EPSG:N. Anything else is a refusal with a number and a message.
#include "FuzzSupport.h"

#include "host/datasets/LayerChoice.h"

using namespace tov;
using namespace tov::fuzz;

namespace {
bool Clean(const std::string& part) {
  if (!part.empty() && (part.front() == ' ' || part.back() == ' ' || part.front() == '\t' || part.back() == '\t'))
    return false;
  for (unsigned char c : part)
    if (c < 0x20 || c == 0x7f) return false;
  return true;
}

void Choice(const std::string& text, FieldPart part) {
  LayerChoice choice;
  try {
    choice = ParseLayerChoice(text, "--regions", part);
  } catch (const HostError& e) {
    CheckRefusal(e, "ParseLayerChoice");
    return;
  }
  Require(!choice.layer.empty(), "a choice read without a layer");
  Require(Clean(choice.layer) && Clean(choice.field), "blanks around or control characters in what was read");
  if (part == FieldPart::None) Require(choice.field.empty() && choice.layer.size() <= text.size(), "a field where none is taken");
  if (part == FieldPart::Required) Require(!choice.field.empty(), "no field where one is needed");
  if (part == FieldPart::None) return;
  const LayerChoice again = ParseLayerChoice(choice.layer + ":" + choice.field, "--regions", part);
  Require(again.layer == choice.layer && again.field == choice.field, "LAYER:FIELD written back reads otherwise");
}

void Code(const std::string& text, bool projection) {
  long code = 0;
  try {
    code = projection ? ParseProjection(text) : ParseEpsgCode(text, "--assume-srs");
  } catch (const HostError& e) {
    CheckRefusal(e, projection ? "ParseProjection" : "ParseEpsgCode");
    return;
  }
  Require(code > 0 || (projection && code == 0), "a code that is not positive");
  if (code > 0) Require(ParseEpsgCode("EPSG:" + std::to_string(code), "--assume-srs") == code, "EPSG:N reads otherwise");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string text = Text(data + 1, size - 1);
  switch (data[0] % 5) {
  case 0: Choice(text, FieldPart::Optional); break;
  case 1: Choice(text, FieldPart::Required); break;
  case 2: Choice(text, FieldPart::None); break;
  case 3: Code(text, true); break;
  default: Code(text, false); break;
  }
  return 0;
}
