#include "methods/drawn/SelectByDrawingOwnAreaDialog.h"

#include "platform/framework/DataManager.h"
#include "platform/framework/TaskLayer.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/FillSymbol.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/LineSymbol.h"
#include "platform/gis/Point.h"
#include "platform/gis/Polygon.h"
#include "platform/gis/QueryFilter.h"
#include "platform/gis/RgbColor.h"
#include "platform/gis/SimpleRenderer.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/StrUtils.h"
#include "store/StudyAreaDataset.h"

#include <algorithm>
#include <cmath>

namespace tov {

namespace {

constexpr char kOwnArea[] = "OwnArea";
constexpr char kMapEnvelope[] = "MapEnvelope";
constexpr char kLabels[] = "Labels";
constexpr char kMapControl[] = "MapControl";
constexpr double kAreaOutlineWidth = 2;

// Here the select tool draws a rectangle and the zoom goes to the area.
struct ToolTexts {
  const char* key;
  const char* caption;
  const char* toolTip;
};
constexpr ToolTexts kToolTexts[] = {{"SelectFeature", "270", "269"}, {"ZoomSel", "273", "275"}};

PolygonPtr RectanglePolygon(const Envelope& box) {
  auto polygon = CreateAs<Polygon>(kPolygonProgId);
  const double corners[][2] = {{box.XMin(), box.YMin()}, {box.XMin(), box.YMax()}, {box.XMax(), box.YMax()},
                               {box.XMax(), box.YMin()}, {box.XMin(), box.YMin()}};
  for (const auto& corner : corners) {
    auto point = CreateAs<Point>(kPointProgId);
    point->PutCoords(corner[0], corner[1]);
    polygon->AddPoint(point);
  }
  return polygon;
}

} // namespace

SelectByDrawingOwnAreaDialog::SelectByDrawingOwnAreaDialog()
    : MapPageFrame("SelectByDrawingOwnAreaDialog", 500,
                   {"Frame1", "HelpButton", "BackButton", "NextButton", "CancelButton", kMapControl, "Toolbar1"},
                   true) {
  SetCaption("235");
  ToolbarPtr tools = Tools();
  for (const ToolTexts& tool : kToolTexts) {
    const long index = tools->ButtonIndex(tool.key);
    tools->SetButtonCaption(index, tool.caption);
    tools->SetButtonToolTip(index, tool.toolTip);
  }
}

void SelectByDrawingOwnAreaDialog::ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) {
  m_savedArea = false;
  if (!pPropertySet) return;
  const bool labels = pPropertySet->HasProperty(kLabels) && pPropertySet->GetProperty(kLabels).ToBool();
  Tools()->SetButtonValue("ShowLabels", labels ? 1 : 0);
  const Variant area = pPropertySet->HasProperty(kOwnArea) ? pPropertySet->GetProperty(kOwnArea) : Variant();
  m_pFeature = area.IsObject() ? area.ToObjectAs<Feature>() : nullptr;
  m_savedArea = m_pFeature != nullptr;
  if (m_savedArea && pPropertySet->HasProperty(kMapEnvelope)) {
    const Variant extent = pPropertySet->GetProperty(kMapEnvelope);
    m_savedExtent = extent.IsObject() ? extent.ToObjectAs<Envelope>() : nullptr;
  }
}

void SelectByDrawingOwnAreaDialog::WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) {
  if (!pPropertySet) return;
  pPropertySet->SetProperty(kOwnArea, Variant(m_pFeature));
  pPropertySet->SetProperty(kMapEnvelope, Variant(Map()->Extent()));
  pPropertySet->SetProperty(kLabels, Variant(Pressed("ShowLabels")));
}

void SelectByDrawingOwnAreaDialog::InitializeDialog() {
  Form_Resize();
  LoadLayers();
  Map()->SetMousePointer(mousePointerCrosshair);
  Ctl("NextButton")->SetEnabled(m_savedArea);
}

void SelectByDrawingOwnAreaDialog::ResetParams() { m_Result = kPageCancel; }

void SelectByDrawingOwnAreaDialog::LoadLayers() {
  LoadTaskLayers();
  MakeAreaLayer();
  MapControlPtr map = Map();
  if (m_savedArea && m_savedExtent && !m_savedExtent->IsEmpty()) map->SetExtent(m_savedExtent);
  else map->SetExtent(map->FullExtent());
  ApplyLabels();
}

void SelectByDrawingOwnAreaDialog::MakeAreaLayer() {
  const std::string path = Must(m_pDataManager, "the data manager")->ScratchLayerPath();
  m_areaLayer = Must(CreateStudyAreaLayer(m_pApplication, GetDirNameByPath(path), GetFileNameByPath(path)),
                     "the layer of the drawn area");
  FeatureClassPtr areas = Must(m_areaLayer->FeatureClass(), "the class of the drawn area");
  m_areaSpatialReference = areas->SpatialReference();

  // The class holds exactly one feature from now on: the area.
  areas->CreateFeature()->Store();
  FeaturePtr area = Must(areas->Search(CreateAs<QueryFilter>(kQueryFilterProgId), false)->NextFeature(),
                         "the feature of the drawn area");
  if (m_savedArea) {
    area->SetShape(Must(m_pFeature, "the saved area")->ShapeCopy());
    area->Store();
  }
  m_pFeature = area;

  auto black = CreateAs<RgbColor>(kRgbColorProgId);
  black->SetRGB(0);
  auto outline = CreateAs<LineSymbol>(kSimpleLineSymbolProgId);
  outline->SetColor(black);
  outline->SetWidth(kAreaOutlineWidth);
  auto fill = CreateAs<FillSymbol>(kSimpleFillSymbolProgId);
  fill->SetOutline(outline);
  // Only the outline shows: the map under the area stays readable.
  auto none = CreateAs<RgbColor>(kRgbColorProgId);
  none->SetTransparency(0);
  fill->SetColor(none);
  Must(m_areaLayer->Renderer(), "the renderer of the drawn area")->SetSymbol(fill);
  Map()->AddLayer(m_areaLayer);
  ShiftLabelRegister();
}

void SelectByDrawingOwnAreaDialog::ShiftLabelRegister() {
  // The register counts the task's layers from the top of the map, where the
  // area layer now lies above them (see docs/departures.md).
  if (!m_labelRegister) return;
  for (long i = 0; i < m_pSSATask->LayerCount(); ++i) {
    const std::string name = m_pSSATask->Layer(i)->Name();
    if (!m_labelRegister->HasKey(name)) continue;
    const int32_t index = static_cast<int32_t>(m_labelRegister->Item(name).ToLong()) + 1;
    m_labelRegister->Remove(name);
    m_labelRegister->Add(Variant(index), name);
  }
}

void SelectByDrawingOwnAreaDialog::SelectFeature(int, double, double) {
  EnvelopePtr box = Map()->TrackRectangle();
  // A click is no rectangle, and neither is a line (see docs/departures.md).
  if (!box || box->IsEmpty() || box->Width() == 0 || box->Height() == 0) return;
  UseShape(RectanglePolygon(*box));
}

void SelectByDrawingOwnAreaDialog::DrawTool(const std::string& key) {
  MapControlPtr map = Map();
  if (key == "SelectByPolygon") {
    PolygonPtr polygon = map->TrackPolygon();
    // A ring the user did not close is no area.
    if (!polygon || polygon->IsEmpty() || !polygon->IsClosed()) return;
    UseShape(polygon);
  } else if (key == "SelectByCircle") {
    GeometryPtr circle = map->TrackCircle();
    if (!circle || circle->IsEmpty()) return;
    EnvelopePtr box = circle->Envelope();
    const double width = std::abs(box->XMax() - box->XMin());
    const double height = std::abs(box->YMax() - box->YMin());
    if (width == 0) return;
    auto polygon = Must(std::dynamic_pointer_cast<Polygon>(circle->Copy()), "the circle's polygon");
    polygon->Densify(std::min(width, height) * kCircleSegmentShare, 0);
    UseShape(polygon);
  }
}

void SelectByDrawingOwnAreaDialog::UseShape(const GeometryPtr& shape) {
  MapControlPtr map = Map();
  FeaturePtr area = Must(m_pFeature, "the feature of the drawn area");
  shape->SetSpatialReference(map->SpatialReference());
  shape->Project(m_areaSpatialReference);
  GeometryPtr previous = area->ShapeCopy();
  try {
    area->SetShape(shape);
    area->Store();
  } catch (...) {
    area->SetShape(previous);
    throw;
  }
  map->Refresh(drawPhaseGeography);
  Ctl("NextButton")->SetEnabled(true);
}

void SelectByDrawingOwnAreaDialog::ZoomToSelection() {
  if (!m_pFeature) return;
  EnvelopePtr extent = m_pFeature->Extent();
  if (!extent || extent->IsEmpty()) return;
  extent->Expand(kZoomRatio, kZoomRatio, true);
  Map()->SetExtent(extent);
}

void SelectByDrawingOwnAreaDialog::ToolChosen(const std::string& key) {
  if (key == "SelectFeature" || key == "SelectByPolygon" || key == "SelectByCircle")
    Map()->SetMousePointer(mousePointerCrosshair);
}

} // namespace tov
