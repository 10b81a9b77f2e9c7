#include "methods/maplist/SelectFromMapDialog.h"

#include "methods/maplist/TovSSAMapListFunction.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/Map.h"
#include "platform/gis/Point.h"
#include "platform/gis/QueryFilter.h"
#include "platform/gis/RgbColor.h"
#include "platform/gis/SelectionEnvironment.h"
#include "platform/gis/SelectionSet.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"
#include "store/MapQueries.h"

namespace tov {

namespace {
constexpr long kSelectionYellow = 65535;
} // namespace

SelectFromMapDialog::SelectFromMapDialog()
    : MapPageFrame("SelectFromMapDialog", 800,
                   {"MapControl", "Frame1", "HelpButton", "BackButton", "NextButton", "CancelButton", "ToListButton",
                    "Toolbar1"},
                   false) {
  SetCaption("226");
  Add(ControlKind::CommandButton, "ToListButton")->SetCaption("233");
  On("ToListButton", EventKind::Click, [this](EventArgs&) { ToListButton_Click(); });
}

MapPtr SelectFromMapDialog::PageMap() { return Must(Map()->Map(), "the page's map"); }

void SelectFromMapDialog::Form_Load() {
  MapPageFrame::Form_Load();
  Form_Resize();
  LoadTaskLayers();
  PrepareMainLayer();
  m_zoomEnvelope = CreateAs<Envelope>(kEnvelopeProgId);
  UseCursor("101");
  UpdateNextButton();
  m_ChangeViews = false;
}

void SelectFromMapDialog::Form_Activate() { UpdateNextButton(); }

// Only the main layer can be selected, in yellow.
void SelectFromMapDialog::PrepareMainLayer() {
  MapPtr map = PageMap();
  for (long i = 0; i < map->LayerCount(); ++i) {
    auto layer = std::dynamic_pointer_cast<FeatureLayer>(map->Layer(i));
    if (!layer) continue;
    if (EqualsIgnoreCase(layer->Name(), m_sMainLayerName)) {
      m_mainLayer = layer;
      layer->SetSelectable(true);
      auto yellow = CreateAs<RgbColor>(kRgbColorProgId);
      yellow->SetRGB(kSelectionYellow);
      layer->SetSelectionColor(yellow);
    } else {
      layer->SetSelectable(false);
    }
  }
}

void SelectFromMapDialog::UpdateNextButton() { Ctl("NextButton")->SetEnabled(PageMap()->SelectionCount() > 0); }

void SelectFromMapDialog::ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) {
  m_namesFound = false;
  if (!pPropertySet) return;
  // A first visit has neither value yet.
  const bool labels = pPropertySet->HasProperty("Labels") && pPropertySet->GetProperty("Labels").ToBool();
  Tools()->SetButtonValue("ShowLabels", labels ? 1 : 0);
  ApplyLabels();
  m_savedNames = pPropertySet->HasProperty("SelectedItems")
                     ? pPropertySet->GetProperty("SelectedItems").ToObjectAs<Collection>()
                     : nullptr;
  m_namesFound = m_savedNames != nullptr;
}

void SelectFromMapDialog::WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) {
  if (!pPropertySet) return;
  auto names = std::make_shared<Collection>();
  FeatureLayerPtr layer = GetLayerByNameFromMap(m_sMainLayerName, PageMap());
  FeatureClassPtr featureClass = layer ? layer->FeatureClass() : nullptr;
  const long field = featureClass ? featureClass->FindField(m_sListFieldName) : -1;
  if (field >= 0) {
    FeatureCursorPtr cursor = layer->SelectionSet()->Search(CreateAs<QueryFilter>(kQueryFilterProgId), true);
    while (FeaturePtr feature = cursor ? cursor->NextFeature() : nullptr) names->Add(feature->Value(field));
  }
  Variant value(names);
  pPropertySet->SetProperty("SelectedItems", value);
  Variant labels(Pressed("ShowLabels"));
  pPropertySet->SetProperty("Labels", labels);
}

void SelectFromMapDialog::InitializeDialog() {
  if (!m_namesFound || !m_savedNames || m_savedNames->Count() < 1) return;
  FeatureLayerPtr layer = GetLayerByNameFromMap(m_sMainLayerName, PageMap());
  if (!layer) return;
  auto filter = CreateAs<QueryFilter>(kQueryFilterProgId);
  filter->SetWhereClause(TovSSAMapListFunction::RegionsWhereClause(m_sListFieldName, *m_savedNames));
  layer->SelectFeatures(filter, 0, false);
  UpdateNextButton();
}

void SelectFromMapDialog::SelectFeature(int shift, double mapX, double mapY) {
  MapControlPtr control = Map();
  MapPtr map = PageMap();
  EnvelopePtr rectangle = control->TrackRectangle();
  control->Refresh(drawPhaseGeoSelection);
  auto environment = CreateAs<SelectionEnvironment>(kSelectionEnvironmentProgId);
  if (!rectangle || rectangle->IsEmpty()) {
    auto point = CreateAs<Point>(kPointProgId);
    point->PutCoords(mapX, mapY);
    point->SetSpatialReference(map->SpatialReference());
    environment->SetCombinationMethod(0);
    map->SelectByShape(point, environment, false);
  } else {
    long combination = shift == 1 ? 1 : 0;
    // A line dragged without width or height toggles what it crosses.
    if (rectangle->Width() == 0 || rectangle->Height() == 0) combination = 4;
    environment->SetCombinationMethod(combination);
    map->SelectByShape(rectangle, environment, false);
  }
  control->Refresh(drawPhaseGeoSelection);
  UpdateNextButton();
}

void SelectFromMapDialog::ZoomToSelection() {
  MapControlPtr control = Map();
  if (PageMap()->SelectionCount() == 0 || !m_mainLayer) {
    control->SetExtent(control->FullExtent());
    return;
  }
  EnvelopePtr united = CreateAs<Envelope>(kEnvelopeProgId);
  FeatureCursorPtr cursor = m_mainLayer->SelectionSet()->Search(CreateAs<QueryFilter>(kQueryFilterProgId), true);
  while (FeaturePtr feature = cursor ? cursor->NextFeature() : nullptr) united->Union(feature->Extent());
  if (!united->IsEmpty()) {
    m_zoomEnvelope = united;
    m_zoomEnvelope->Expand(1.1, 1.1, true);
  } else {
    m_zoomEnvelope->SetEmpty();
  }
  control->SetExtent(m_zoomEnvelope);
}

void SelectFromMapDialog::ToolChosen(const std::string& key) {
  if (key == "SelectFeature") UseCursor("101");
}

void SelectFromMapDialog::ToListButton_Click() {
  m_ChangeViews = true;
  m_Result = kPageCancel;
  Hide();
}

} // namespace tov
