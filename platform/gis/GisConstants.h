#pragma once

namespace tov {

// Geometry and shape type codes.
enum GeometryTypeCode : long {
  geometryNull = 0,
  geometryPoint = 1,
  geometryPolyline = 3,
  geometryPolygon = 4,
  geometryEnvelope = 5,
};

// Field types of Field::Type.
enum FieldTypeCode : long {
  fieldTypeSmallInteger = 0,
  fieldTypeInteger = 1,
  fieldTypeSingle = 2,
  fieldTypeDouble = 3,
  fieldTypeString = 4,
  fieldTypeDate = 5,
  fieldTypeOID = 6,
  fieldTypeGeometry = 7,
};

// Feature types of Workspace::CreateFeatureClass.
enum FeatureTypeCode : long { featureTypeSimple = 1 };

// How a new selection combines with the existing one.
enum SelectionCombination : long {
  selectionNew = 0,
  selectionAdd = 1,
  selectionSubtract = 2,
  selectionAnd = 3,
  selectionXOr = 4,
};

// FeatureClass::Select types and options.
enum SelectionTypeCode : long { selectionTypeIDSet = 1, selectionTypeSnapshot = 2, selectionTypeHybrid = 3 };
enum SelectionOptionCode : long { selectionOptionNormal = 1, selectionOptionOnlyOne = 2, selectionOptionEmpty = 3 };

// Drawing phases of a partial refresh (bit flags).
enum DrawPhase : long {
  drawPhaseNone = 0,
  drawPhaseBackground = 1,
  drawPhaseGeography = 2,
  drawPhaseGeoSelection = 4,
  drawPhaseGraphics = 8,
  drawPhaseGraphicSelection = 16,
  drawPhaseLabels = 32,
  drawPhaseForeground = 64,
  drawPhaseAll = 127,
};

// Simple fill styles.
enum SimpleFillStyle : long {
  orvaSFSSolid = 0,
  orvaSFSHollow = 1,
  orvaSFSNull = 1,
  orvaSFSHorizontal = 2,
  orvaSFSVertical = 3,
  orvaSFSForwardDiagonal = 4,
  orvaSFSBackwardDiagonal = 5,
  orvaSFSCross = 6,
  orvaSFSDiagonalCross = 7,
};

// Simple line styles (solid is value 0).
enum SimpleLineStyle : long {
  orvaSLSSolid = 0,
  orvaSLSDash = 1,
  orvaSLSDot = 2,
  orvaSLSDashDot = 3,
  orvaSLSDashDotDot = 4,
  orvaSLSNull = 5,
  orvaSLSInsideFrame = 6,
};

// Simple marker styles.
enum SimpleMarkerStyle : long {
  orvaSMSCircle = 0,
  orvaSMSSquare = 1,
  orvaSMSCross = 2,
  orvaSMSX = 3,
  orvaSMSDiamond = 4,
};

// Mouse pointers of the map control.
enum MousePointerCode : long {
  mousePointerDefault = 0,
  mousePointerArrow = 1,
  mousePointerCrosshair = 2,
  mousePointerHand = 53,
  mousePointerCustom = 99,
};

// The class identifier given to every simple feature class.
constexpr const char kFeatureClassClsid[] = "{52353152-891A-11D0-BEC6-00805F7C4268}";

} // namespace tov
