#pragma once
#include "host/gis/DirectJson.h"
#include "host/gis/JsonView.h"
#include "host/gis/StrictJson.h"
#include "platform/gis/GisForward.h"

#include <nlohmann/json.hpp>

#include <memory>
#include <sys/stat.h>
#include <string>

namespace tov {

// The JSON form of layers, shared by layer files and the map document.
// Data sources are written with an absolute path and, when an anchor folder
// is given, a path relative to it; reading tries the relative one first so
// that a moved folder still opens. A layer whose data cannot be opened comes
// back without a feature class. Reading takes exactly what Write writes:
// anything else raises JsonFormatError (StrictJson.h) naming the place
// `where` in the file.
class LayerJson {
public:
  // Writes the layer as one value.
  static void Write(const LayerPtr& layer, const std::string& nativeAnchor, JsonTextWriter& out);
  static LayerPtr Read(const JsonValue& j, const std::string& nativeAnchor, const JsonWhere& where);

  // Null for no symbol, or one of a kind it does not know.
  static void WriteSymbol(const SymbolPtr& symbol, JsonTextWriter& out);
  // No object for a symbol written as null.
  static SymbolPtr ReadSymbol(const JsonValue& j, const JsonWhere& where);

  // The text a layer file or map document is stored as: without indentation,
  // since commands read the document whole and it grows with every study
  // area (indented, more than half of it was spaces).
  static std::string Text(const nlohmann::json& j);
  // Writes text to a temporary file beside path and renames it into place.
  static void WriteFileAtomically(const std::string& nativePath, const std::string& text, const char* source);
  // Reads and parses a JSON file; missing or malformed raises.
  static nlohmann::json ReadFile(const std::string& nativePath, const char* source);
  // The file's bytes; a missing or unreadable file raises. `seen`, when
  // given, is the file as it was when read (fstat).
  static std::string ReadText(const std::string& nativePath, const char* source, struct stat* seen = nullptr);
  // Parses what ReadText gave; malformed raises, naming the file.
  static nlohmann::json ParseText(const std::string& text, const std::string& nativePath, const char* source);
  // The same as a view of the text, which must outlive it: what Read takes.
  static std::unique_ptr<JsonView> ParseView(const std::string& text, const std::string& nativePath,
                                             const char* source);
};

} // namespace tov
