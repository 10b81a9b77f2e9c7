#pragma once
// The reads of a feature class that is a table of a PostGIS database, by
// statements of the host's own: the driver would fetch every column. The
// class's other reads are the same for every kind of workspace.
#include <ogrsf_frmts.h>

#include <memory>
#include <string>
#include <vector>

namespace tov {

class HostFeatureClass;

// The ids of the rows that pass the condition ("" for all), in id order; a
// condition the server refuses raises.
std::vector<long> PostgisIds(const HostFeatureClass& table, const std::string& where);

// The rows that pass the condition with only the columns listed in
// subFields (as HostFeatureClass::Lists reads it), each a row of the
// table's own layout with the columns not read left unset.
std::vector<std::unique_ptr<OGRFeature>> PostgisRows(const HostFeatureClass& table, const std::string& where,
                                                     const std::string& subFields);

// Whether the table has a spatial (GiST) index.
bool PostgisHasSpatialIndex(const HostFeatureClass& table);

} // namespace tov
