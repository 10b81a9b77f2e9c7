#pragma once
#include "framework/TovSSAMethodFunction.h"
#include "platform/gis/EnumElement.h"
#include "platform/gis/EnumFeature.h"
#include "platform/gis/Polygon.h"
#include "platform/gis/SpatialReference.h"

namespace tov {

// Builds the study area as the union of the selected polygon features and
// graphics of the focus map, a few shapes per step so that the progress
// window stays alive, and stores it in the last step.
class TovSSACurSelShapesFunction : public TovSSAMethodFunction {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSACurSelShapesFunction";

  // Step states.
  static constexpr int32_t kStepFeatures = 10;
  static constexpr int32_t kStepOpenGraphics = 20;
  static constexpr int32_t kStepGraphics = 30;
  static constexpr int32_t kStepStore = 40;
  // Features read in one step.
  static constexpr int kFeaturesPerStep = 10;
  // Maximum offset of the generalisation of every shape, in its own units.
  static constexpr double kGeneralizeOffset = 0.0001;

  TovSSACurSelShapesFunction();

protected:
  // Opens the feature selection and takes the analysis coordinate system.
  void Prepare() override;
  bool Step() override;

private:
  void ReadFeatures();
  void OpenGraphics();
  void ReadGraphic();
  // Generalises a copy of shape and adds it to the union; other shapes are
  // skipped.
  void AddPolygonShape(const GeometryPtr& shape);
  // Failures here leave the shape out (or the union as the host returned
  // it): one odd shape must not lose the others.
  void AddToUnion(const PolygonPtr& polygon, bool project);

  EnumFeaturePtr m_featureCursor;
  SpatialReferencePtr m_analysisSR;
  int32_t m_stepState = 0;
  EnumElementPtr m_elementCursor;
};

} // namespace tov
