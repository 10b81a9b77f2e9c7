#include "pages/mappage/MapPageFrame.h"

#include "pages/modi18N.h"
#include "platform/forms/ImageList.h"
#include "platform/forms/MapControlHost.h"
#include "platform/framework/PropertyList.h"
#include "platform/framework/ResourceFinder.h"
#include "platform/framework/TaskLayer.h"
#include "platform/gis/AnnotationProperties.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/LabelClass.h"
#include "platform/gis/TextSymbol.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/TaskLayerSymbology.h"

namespace tov {

namespace {

constexpr char kMapControl[] = "MapControl";
constexpr char kToolbar[] = "Toolbar1";

// Failures inside a mouse or tool handler are passed over: the handler goes
// on with its next step.
template <class F>
void Resume(F&& step) {
  try {
    step();
  } catch (...) {
  }
}

} // namespace

MapPageFrame::MapPageFrame(std::string name, long layoutBase, std::vector<std::string> layoutOrder, bool drawingTools)
    : WizardPage(std::move(name), layoutBase, std::move(layoutOrder)) {
  Add(ControlKind::Frame, "Frame1");
  Add(ControlKind::CommandButton, "HelpButton")->SetCaption("204");
  Add(ControlKind::CommandButton, "BackButton")->SetCaption("201");
  Add(ControlKind::CommandButton, "NextButton")->SetCaption("202");
  Add(ControlKind::CommandButton, "CancelButton")->SetCaption("203");
  AddMapControl(kMapControl, kMapControlProgId);
  ToolbarPtr tools = AddToolbar(kToolbar);
  tools->SetImageList("ImageList1");
  // Captions and tool tips are text ids, replaced when the page loads.
  auto add = [&](const char* key, const char* caption, const char* toolTip, int style) {
    tools->AddButton(key, caption, style);
    tools->SetButtonToolTip(tools->ButtonIndex(key), toolTip);
  };
  add("SelectFeature", "260", "260", tbr::ButtonGroup);
  if (drawingTools) {
    add("SelectByPolygon", "271", "267", tbr::ButtonGroup);
    add("SelectByCircle", "272", "268", tbr::ButtonGroup);
  }
  add("Pan", "261", "261", tbr::ButtonGroup);
  add("ZoomIn", "262", "262", tbr::ButtonGroup);
  add("ZoomOut", "263", "263", tbr::ButtonGroup);
  add("ZoomSel", "265", "265", tbr::Default);
  add("FullExtent", "264", "264", tbr::Default);
  add("ShowLabels", "274", "266", tbr::Check);
  AddImageList("ImageList1");
  tools->SetButtonValue("SelectFeature", 1);
  On(kToolbar, EventKind::ButtonClick, [this](EventArgs& e) { Toolbar1_ButtonClick(e.Key); });
  On(kMapControl, EventKind::OnMouseDown, [this](EventArgs& e) { MapControl_OnMouseDown(e.Shift, e.MapX, e.MapY); });
}

MapControlPtr MapPageFrame::Map() {
  return Must(std::dynamic_pointer_cast<MapControl>(CtlAs<MapControlHost>(kMapControl)->MapObject()), "the map control");
}

ToolbarPtr MapPageFrame::Tools() { return CtlAs<Toolbar>(kToolbar); }

bool MapPageFrame::Pressed(const std::string& key) { return Tools()->Button(key).Value == 1; }

void MapPageFrame::LoadTaskLayers() {
  m_labelRegister = std::make_shared<Collection>();
  MapControlPtr map = Map();
  TaskDescriptorPtr task = Must(m_pSSATask, "the registered task");
  const long count = task->LayerCount();
  for (long i = 0; i < count; ++i) {
    TaskLayerPtr entry = task->Layer(i);
    FeatureLayerPtr layer = CreateTaskLayer(entry->Name(), task, m_pDataSet, Variant(), m_pApplication, m_pDataSet);
    if (!layer) break;
    if (entry->GetPropertyList()->GetValue("Annotation") == "True")
      m_labelRegister->Add(Variant(static_cast<int32_t>(count - i - 1)), entry->Name());
    map->AddLayer(layer);
  }
  map->SetExtent(map->FullExtent());
}

void MapPageFrame::ApplyLabels() {
  MapControlPtr map = Map();
  if (Pressed("ShowLabels") && m_labelRegister && m_labelRegister->Count() > 0) {
    TaskDescriptorPtr task = Must(m_pSSATask, "the registered task");
    for (long i = 0; i < task->LayerCount(); ++i) {
      TaskLayerPtr entry = task->Layer(i);
      PropertyListPtr settings = entry->GetPropertyList();
      if (settings->GetValue("Annotation") != "True") continue;
      const long index = m_labelRegister->Item(entry->Name()).ToLong();
      if (index >= map->LayerCount()) break;
      auto layer = std::dynamic_pointer_cast<FeatureLayer>(map->Layer(index));
      if (!layer) continue;
      layer->SetDisplayAnnotation(true);
      LabelClassPtr labels = Must(layer->AnnotationProperties(), "the annotation properties")->Item(0);
      const std::string maximum = settings->GetValue("MaximumScaleForLabeling");
      if (!maximum.empty()) labels->SetMaximumScale(Variant(maximum).ToDouble());
      const std::string minimum = settings->GetValue("MinimunScaleForLabeling");
      if (!minimum.empty()) labels->SetMinimumScale(Variant(minimum).ToDouble());
      const std::string size = settings->GetValue("SymbolSize");
      if (!size.empty()) {
        TextSymbolPtr text = labels->TextSymbol();
        text->SetSize(Variant(size).ToDouble());
        labels->SetTextSymbol(text);
      }
      labels->SetExpression("[" + settings->GetValue("LabelField") + "]");
    }
  } else if (m_labelRegister) {
    for (long i = 1; i <= m_labelRegister->Count(); ++i) {
      const long index = m_labelRegister->Item(i).ToLong();
      if (index >= map->LayerCount()) continue;
      if (auto layer = std::dynamic_pointer_cast<FeatureLayer>(map->Layer(index))) layer->SetDisplayAnnotation(false);
    }
  }
  map->Refresh();
}

void MapPageFrame::UseCursor(const char* cursorId) {
  MapControlPtr map = Map();
  map->SetMouseIcon(CreateAs<ResourceFinder>(kGuiResourcesProgId)->FindCursor(cursorId));
  map->SetMousePointer(mousePointerCustom);
}

void MapPageFrame::Toolbar1_ButtonClick(const std::string& key) {
  MapControlPtr map = Map();
  map->SetCurrentTool(nullptr);
  if (key == "Pan") map->SetMousePointer(mousePointerHand);
  else if (key == "ZoomIn") UseCursor("102");
  else if (key == "ZoomOut") UseCursor("103");
  else if (key == "ZoomSel") ZoomToSelection();
  else if (key == "FullExtent") map->SetExtent(map->FullExtent());
  else if (key == "ShowLabels") ApplyLabels();
  else ToolChosen(key);
}

void MapPageFrame::MapControl_OnMouseDown(int shift, double mapX, double mapY) {
  MapControlPtr map;
  Resume([&] { map = Map(); });
  if (!map) return;
  if (Pressed("ZoomIn")) {
    Resume([&] {
      EnvelopePtr rectangle = map->TrackRectangle();
      if (rectangle) map->SetExtent(rectangle);
    });
  } else if (Pressed("ZoomOut")) {
    Resume([&] { ZoomOut(); });
  } else if (Pressed("SelectFeature")) {
    Resume([&] { SelectFeature(shift, mapX, mapY); });
  } else if (Pressed("Pan")) {
    Resume([&] { map->Pan(); });
  } else {
    for (const char* key : {"SelectByPolygon", "SelectByCircle"})
      if (Tools()->ButtonIndex(key) > 0 && Pressed(key)) Resume([&] { DrawTool(key); });
  }
  Resume([&] { map->Refresh(); });
}

// The dragged rectangle R is to the new extent what the extent C is to R.
void MapPageFrame::ZoomOut() {
  MapControlPtr map = Map();
  EnvelopePtr r = map->TrackRectangle();
  EnvelopePtr c = map->Extent();
  if (!r || r->Width() == 0 || r->Height() == 0) return;
  const double width = c->Width() * c->Width() / r->Width();
  const double height = c->Height() * c->Height() / r->Height();
  const double xMin = c->XMin() - (r->XMin() - c->XMin()) * c->Width() / r->Width();
  const double yMin = c->YMin() - (r->YMin() - c->YMin()) * c->Height() / r->Height();
  c->PutCoords(xMin, yMin, xMin + width, yMin + height);
  map->SetExtent(c);
}

void MapPageFrame::Form_Resize() {
  if (Height() < kMinHeight || Width() < kMinWidth) {
    SetWidth(kMinWidth);
    SetHeight(kMinHeight);
  }
  const float width = Width();
  const float top = Height() - Ctl("NextButton")->Height() - 570;
  const float button = Ctl("CancelButton")->Width();
  auto place = [this](const char* name, float left, float top) {
    ControlPtr c = Ctl(name);
    c->Move(left, top, c->Width(), c->Height());
  };
  place("HelpButton", 180, top);
  if (HasControl("ToListButton")) place("ToListButton", 1425, top);
  place("BackButton", width - 3 * button - 450, top);
  place("NextButton", width - 2 * button - 450, top);
  place("CancelButton", width - button - 300, top);
  ControlPtr frame = Ctl("Frame1");
  frame->Move(180, top - 180, width - 480, frame->Height());
  ControlPtr map = Ctl(kMapControl);
  map->Move(180, 420, width - 480, top - 780);
}

} // namespace tov
