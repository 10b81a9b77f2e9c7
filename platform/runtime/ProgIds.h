#pragma once

// Every ProgID the component and the host create or register, written once.
// Tests may use the literal texts: a test that spells one differently catches
// a renamed class.
namespace tov {

// Host framework ("TovKernel", "TovDM" and the two resource components).
inline constexpr char kErrorHandlerProgId[] = "TovKernel.TovErrorHandler";
inline constexpr char kTovExtensionProgId[] = "TovKernel.TovExtension";
inline constexpr char kProgressRunnerProgId[] = "TovKernel.ProgressRunner";
inline constexpr char kNameCheckerProgId[] = "TovKernel.NameChecker";
inline constexpr char kTaskPropertySetProgId[] = "TovKernel.TaskPropertySet";
inline constexpr char kFileInfoProgId[] = "TovDM.TovFileInfo";
inline constexpr char kTextResourcesProgId[] = "TovSetupStudyAreaRes.clsFindResource";
inline constexpr char kGuiResourcesProgId[] = "TovSetupStudyAreaGuiRes.clsFindResource";
inline constexpr char kGeocoderProgId[] = "TovGeocoder.TovSinglePointGeocoder";
inline constexpr char kPropertySheetTaskProgId[] = "TovSSAPropertySheet.TovSSAPSTask";
inline constexpr char kFileSystemObjectProgId[] = "Scripting.FileSystemObject";

// Host GIS ("orvaCore").
inline constexpr char kApplicationProgId[] = "orvaCore.Application";
inline constexpr char kMapProgId[] = "orvaCore.Map";
inline constexpr char kMapControlProgId[] = "orvaCore.MapControl";
inline constexpr char kFeatureLayerProgId[] = "orvaCore.FeatureLayer";
inline constexpr char kGroupLayerProgId[] = "orvaCore.GroupLayer";
inline constexpr char kLayerFileProgId[] = "orvaCore.LayerFile";
inline constexpr char kPolygonProgId[] = "orvaCore.Polygon";
inline constexpr char kPolylineProgId[] = "orvaCore.Polyline";
inline constexpr char kPointProgId[] = "orvaCore.Point";
inline constexpr char kEnvelopeProgId[] = "orvaCore.Envelope";
inline constexpr char kGeometryEnumeratorProgId[] = "orvaCore.GeometryEnumerator";
inline constexpr char kQueryFilterProgId[] = "orvaCore.QueryFilter";
inline constexpr char kSpatialFilterProgId[] = "orvaCore.SpatialFilter";
inline constexpr char kSelectionEnvironmentProgId[] = "orvaCore.SelectionEnvironment";
inline constexpr char kGraphicElementProgId[] = "orvaCore.GraphicElement";
inline constexpr char kFieldProgId[] = "orvaCore.Field";
inline constexpr char kFieldsProgId[] = "orvaCore.Fields";
inline constexpr char kGeometryDefProgId[] = "orvaCore.GeometryDef";
inline constexpr char kIndexProgId[] = "orvaCore.Index";
inline constexpr char kRgbColorProgId[] = "orvaCore.RgbColor";
inline constexpr char kSimpleFillSymbolProgId[] = "orvaCore.SimpleFillSymbol";
inline constexpr char kSimpleLineSymbolProgId[] = "orvaCore.SimpleLineSymbol";
inline constexpr char kSimpleMarkerSymbolProgId[] = "orvaCore.SimpleMarkerSymbol";
inline constexpr char kTextSymbolProgId[] = "orvaCore.TextSymbol";
inline constexpr char kSimpleRendererProgId[] = "orvaCore.SimpleRenderer";
inline constexpr char kAnnotationPropertiesProgId[] = "orvaCore.AnnotationProperties";
inline constexpr char kSpatialReferenceFactoryProgId[] = "orvaCore.SpatialReferenceEnvironment";
inline constexpr char kShapefileWorkspaceFactoryProgId[] = "orvaCore.ShapefileWorkspaceFactory";
inline constexpr char kAccessWorkspaceFactoryProgId[] = "orvaCore.AccessWorkspaceFactory";
inline constexpr char kScratchWorkspaceFactoryProgId[] = "orvaCore.ScratchWorkspaceFactory";

// The component's own classes ("TovSSA").
inline constexpr char kSetupStudyAreaMainProgId[] = "TovSSA.TovSetupStudyAreaMain";
inline constexpr char kCurExtentTaskProgId[] = "TovSSA.TovSSACurExtentTask";
inline constexpr char kCurExtentFunctionProgId[] = "TovSSA.TovSSACurExtentFunction";
inline constexpr char kCurSelShapesTaskProgId[] = "TovSSA.TovSSACurSelShapesTask";
inline constexpr char kCurSelShapesFunctionProgId[] = "TovSSA.TovSSACurSelShapesFunction";
inline constexpr char kUseWholeTaskProgId[] = "TovSSA.TovSSAUseWholeTask";
inline constexpr char kUseWholeFunctionProgId[] = "TovSSA.TovSSAUseWholeFunction";
inline constexpr char kSelDrawingTaskProgId[] = "TovSSA.TovSSASelDrawingTask";
inline constexpr char kSelDrawingFunctionProgId[] = "TovSSA.TovSSASelDrawingFunction";
inline constexpr char kSelZipCodesTaskProgId[] = "TovSSA.TovSSASelZipCodesTask";
inline constexpr char kSelZipCodesFunctionProgId[] = "TovSSA.TovSSASelZipCodesFunction";
inline constexpr char kMapListTaskProgId[] = "TovSSA.TovSSAMapListTask";
inline constexpr char kMapListFunctionProgId[] = "TovSSA.TovSSAMapListFunction";
inline constexpr char kSimpleRingTaskProgId[] = "TovSSA.TovSSASimpleRingTask";
inline constexpr char kSimpleRingFunctionProgId[] = "TovSSA.TovSSASimpleRingFunction";
inline constexpr char kOpenExistingSAFuncProgId[] = "TovSSA.TovOpenExistingSAFunc";
inline constexpr char kDeleteExistingSAFuncProgId[] = "TovSSA.TovDeleteExistingSAFunc";

} // namespace tov
