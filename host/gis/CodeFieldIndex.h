#pragma once
#include <string>

class GDALDataset;

namespace tov {

// Indexes the code field of a GeoPackage layer (the ZIP codes of a ZIP
// layer) without regard to case, as LIKE compares. The ZIP method's
// conditions ("ZIP LIKE '100%'") are then answered by a range of the index
// instead of a pass over every row: counting a prefix reads only its rows.
// Made by the sample data build and by `tovana datasets create`; an index
// already there is kept. Raises HostError when the layer or the field is
// missing or the index cannot be written.
void IndexCodeField(GDALDataset& geopackage, const std::string& layer, const std::string& field);

// The name of that index.
std::string CodeFieldIndexName(const std::string& layer, const std::string& field);

} // namespace tov
