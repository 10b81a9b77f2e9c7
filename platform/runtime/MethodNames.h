#pragma once

// The names of the data set descriptors the component and the host look up,
// written once: the "SetupStudyArea" task and its creation methods. A study
// area's record keeps its method's name ("TYPE"), so these never change.
// Descriptor names are compared exactly.
namespace tov {

inline constexpr char kSetupTaskName[] = "SetupStudyArea";

inline constexpr char kCurrentExtentMethod[] = "SetupStudyArea.CurrentExtent";
inline constexpr char kSelectedShapesMethod[] = "SetupStudyArea.SelectedShapes";
inline constexpr char kUseWholeMethod[] = "SetupStudyArea.UseWhole";
inline constexpr char kZipCodesMethod[] = "SetupStudyArea.WildCard";
inline constexpr char kMapListMethod[] = "SetupStudyArea.MapList";
inline constexpr char kSimpleRingMethod[] = "SetupStudyArea.SimpleRing";
inline constexpr char kDrawnAreaMethod[] = "SetupStudyArea.DrawOwn";

} // namespace tov
