#include "host/datasets/LayerChoice.h"

#include "platform/runtime/HostError.h"

#include <cctype>

namespace tov {
namespace {
constexpr char kSource[] = "tovana datasets create";
// Longer than any layer or field name a format allows.
constexpr size_t kMaxLength = 1024;

[[noreturn]] void Refuse(const std::string& option, const std::string& what) {
  throw HostError(err::InvalidCall, kSource, option + ": " + what);
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool HasControl(const std::string& text) {
  for (unsigned char c : text)
    if (c < 0x20 || c == 0x7f) return true;
  return false;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}
} // namespace

LayerChoice ParseLayerChoice(const std::string& text, const std::string& option, FieldPart part) {
  const std::string form = part == FieldPart::None       ? "LAYER"
                           : part == FieldPart::Required ? "LAYER:FIELD"
                                                         : "LAYER or LAYER:FIELD";
  if (text.size() > kMaxLength) Refuse(option, "the text is longer than " + std::to_string(kMaxLength) + " characters");
  if (HasControl(text)) Refuse(option, "\"" + text + "\" holds a control character; give " + form);
  LayerChoice choice;
  const size_t colon = part == FieldPart::None ? std::string::npos : text.rfind(':');
  choice.layer = Trim(text.substr(0, colon));
  if (colon != std::string::npos) choice.field = Trim(text.substr(colon + 1));
  if (choice.layer.empty()) Refuse(option, "no layer is named in \"" + text + "\"; give " + form);
  if (part == FieldPart::Required && choice.field.empty())
    Refuse(option, "no field is named in \"" + text + "\"; give " + form);
  return choice;
}

long ParseEpsgCode(const std::string& text, const std::string& option) {
  const std::string trimmed = Trim(text);
  const std::string form = "give EPSG:N, N the code of a coordinate system (EPSG:27700, say)";
  if (trimmed.size() < 6 || Lower(trimmed.substr(0, 5)) != "epsg:") Refuse(option, "\"" + text + "\" is no EPSG code; " + form);
  const std::string digits = Trim(trimmed.substr(5));
  if (digits.empty() || digits.size() > 9) Refuse(option, "\"" + text + "\" is no EPSG code; " + form);
  long code = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) Refuse(option, "\"" + text + "\" is no EPSG code; " + form);
    code = code * 10 + (c - '0');
  }
  if (code <= 0) Refuse(option, "\"" + text + "\" is no EPSG code; " + form);
  return code;
}

long ParseProjection(const std::string& text) {
  if (Lower(Trim(text)) == "auto") return 0;
  try {
    return ParseEpsgCode(text, "--projection");
  } catch (const HostError&) {
    Refuse("--projection", "\"" + text + "\" is neither auto nor EPSG:N (EPSG:27700, say)");
  }
}

} // namespace tov
