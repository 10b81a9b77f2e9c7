#pragma once

namespace tov {

// The analysis extension's settings, under the keys they are stored by:
// defined here once for the component and the host alike.

// ExtensionProperties.
inline constexpr char kCurrentExtentKey[] = "CurrentExtent"; // the current study area's name
// Its value once the current study area has been deleted: none is current.
inline constexpr char kNoCurrentExtent[] = ":CurrentExtent";
inline constexpr char kGroupLayerForAnalysisKey[] = "Group Layer For Analysis";
inline constexpr char kStudyAreaNameKey[] = "Study Area Name";
inline constexpr char kDataFormatKey[] = "Data Format";

// ExtensionOptions ("True" or "False").
inline constexpr char kUseGroupLayerForAnalysisKey[] = "Use Group Layer For Analysis";
inline constexpr char kChangeGroupLayerNameKey[] = "ChangeGroupLayerName";

// The start of a group layer named after the study area its analyses belong
// to, the value "Group Layer For Analysis" is given.
inline constexpr char kAnalysesCreatedFor[] = "Analyses created for ";
// The analysis group layer when the settings name none.
inline constexpr char kMyAnalysesGroupName[] = "My Analyses";

} // namespace tov
