#pragma once
#include <string>

namespace tov {

// Whether the shapefile `name` in the native folder `folder` has what the
// shapefile driver needs to open it, told from a few header bytes without
// opening it: the .shp, its index (.shx) and its table (.dbf) there and
// readable, each with a header its reader accepts that fits the file's size.
// Cheap enough to ask of every study area of a large analysis. For Update,
// the three files must also be writable, as the driver needs them to be to
// open them for editing.
enum class ShapefileUse { Read, Update };
bool ShapefileLooksWhole(const std::string& folder, const std::string& name, ShapefileUse use = ShapefileUse::Read);

// From now on the shapefiles found whole are remembered in the cache of
// that analysis folder (FilesFoundWhole), and those it remembers are taken
// as whole while their files are unchanged. Without one (""), they are
// remembered for the process only.
void UseShapefileCacheOf(const std::string& analysisFolder);
// Writes what was found since into the cache in use.
void SaveShapefileCache();

} // namespace tov
