#pragma once
#include <string>

namespace tov {

// A layer and one of its fields as written on the command line or in the
// new data set dialog: "LAYER" or "LAYER:FIELD". The field follows the last
// colon, so a layer whose own name holds a colon is written with the field
// after it, or with a trailing colon when there is none ("roads:2020:").
// Blanks around either part are dropped.
struct LayerChoice {
  std::string layer;
  std::string field; // "" when none was given
};

enum class FieldPart { Optional, Required, None };

// Reads one choice given to an option (named in messages, such as
// "--regions"). Raises HostError 5 naming the option when the layer is
// missing, a part holds a control character, the field is missing where it
// is required or given where the option takes none.
LayerChoice ParseLayerChoice(const std::string& text, const std::string& option, FieldPart part);

// "EPSG:N" (any case) with N a positive code; HostError 5 naming the option
// otherwise.
long ParseEpsgCode(const std::string& text, const std::string& option);

// --projection: "auto" (any case) gives 0, "EPSG:N" gives N.
long ParseProjection(const std::string& text);

} // namespace tov
