#pragma once
#include "pages/mappage/MapPageFrame.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/SpatialReference.h"

namespace tov {

// The drawing page: the registered task's layers and an area layer of one
// feature, whose shape the user replaces by drawing a rectangle
// ("SelectFeature"), a closed polygon ("SelectByPolygon") or a circle
// ("SelectByCircle"). Each drawing is stored at once, so the area's class
// always holds the last area drawn. The feature, the map extent and the
// label switch are kept in the task's property set ("OwnArea",
// "MapEnvelope", "Labels"), so Back and a later run show them again.
class SelectByDrawingOwnAreaDialog : public MapPageFrame {
public:
  SelectByDrawingOwnAreaDialog();

  // The feature whose shape is the drawn area.
  FeaturePtr m_pFeature;

  void ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  void WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  // Lays the page out, loads the layers with the area layer on top and
  // enables Next only when a saved area was read.
  void InitializeDialog() override;
  void ResetParams() override;

  // The layer of the drawn area (after InitializeDialog).
  const FeatureLayerPtr& AreaLayer() const { return m_areaLayer; }

  // A circle's polygon gets no segment longer than this share of the
  // smaller side of its envelope.
  static constexpr double kCircleSegmentShare = 1.0 / 20;
  // The zoom to the area leaves this much room around it.
  static constexpr double kZoomRatio = 1.2;

protected:
  // The rectangle tool.
  void SelectFeature(int shift, double mapX, double mapY) override;
  void ZoomToSelection() override;
  void ToolChosen(const std::string& key) override;
  // The polygon and circle tools.
  void DrawTool(const std::string& key) override;

private:
  void LoadLayers();
  // The area layer on a new dataset where the data manager says, holding
  // one feature (with the saved shape when there is one).
  void MakeAreaLayer();
  void ShiftLabelRegister();
  // Puts a drawn shape (in map units) into the area feature and stores it;
  // a failure leaves the previous shape.
  void UseShape(const GeometryPtr& shape);

  bool m_savedArea = false;
  EnvelopePtr m_savedExtent;
  SpatialReferencePtr m_areaSpatialReference;
  FeatureLayerPtr m_areaLayer;
};

} // namespace tov
