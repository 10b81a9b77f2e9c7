#pragma once
#include "framework/TovSSAMethodFunction.h"
#include "platform/gis/EnumElement.h"
#include "platform/gis/EnumFeature.h"
#include "platform/gis/Polygon.h"
#include "platform/gis/SpatialReference.h"

#include <vector>

namespace tov {

// Builds the study area as the union of the selected polygon features and
// graphics of the focus map. Each step gathers a few shapes (generalised,
// repaired and projected), so that the progress window stays alive; the last
// step unites them all at once and stores the result. Uniting each shape
// with everything gathered before it would take time growing with the
// square of their number.
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

  // The shapes gathered so far and not yet united.
  const std::vector<PolygonPtr>& GatheredShapes() const { return m_gathered; }

protected:
  // Opens the feature selection and takes the analysis coordinate system.
  void Prepare() override;
  bool Step() override;

private:
  void ReadFeatures();
  void OpenGraphics();
  void ReadGraphic();
  // Generalises a copy of shape and gathers it; other shapes are skipped.
  void AddPolygonShape(const GeometryPtr& shape);
  // Repairs and projects the polygon and keeps it for the union. A failure
  // leaves the shape out: one odd shape must not lose the others.
  void Gather(const PolygonPtr& polygon, bool project);
  // The union of the gathered shapes, by the host's union of many shapes.
  // When that fails, the shapes are united one at a time instead, so that
  // exactly those the host cannot unite are left out.
  void UniteGathered();
  // Unites one gathered shape with the union so far; a failure leaves the
  // shape out (or the union as the host returned it).
  void UniteOne(const PolygonPtr& polygon);

  EnumFeaturePtr m_featureCursor;
  SpatialReferencePtr m_analysisSR;
  int32_t m_stepState = 0;
  EnumElementPtr m_elementCursor;
  std::vector<PolygonPtr> m_gathered;
};

} // namespace tov
