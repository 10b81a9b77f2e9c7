#include "host/gis/HostMap.h"

#include "host/gis/HostEnvelope.h"
#include "host/gis/HostGroupLayer.h"
#include "host/gis/HostQueryFilter.h"
#include "host/gis/HostVectorEnum.h"
#include "platform/gis/EnumElement.h"
#include "platform/gis/EnumFeature.h"
#include "platform/gis/EnumLayer.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/GraphicElement.h"
#include "platform/gis/SelectionEnvironment.h"
#include "platform/gis/SelectionSet.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ProgIds.h"

#include <algorithm>

namespace tov {

namespace {
const char* const kSource = kMapProgId;

void Flatten(const std::vector<LayerPtr>& layers, std::vector<LayerPtr>& out) {
  for (const auto& layer : layers) {
    out.push_back(layer);
    if (auto group = std::dynamic_pointer_cast<GroupLayer>(layer)) {
      std::vector<LayerPtr> children;
      for (long i = 0; i < group->Count(); ++i) children.push_back(group->Layer(i));
      Flatten(children, out);
    }
  }
}
} // namespace

HostMap::HostMap() : m_extent(std::make_shared<HostEnvelope>()) {}

LayerPtr HostMap::Layer(long index) const {
  if (index < 0 || index >= LayerCount())
    throw HostError(err::SubscriptOutOfRange, kSource,
                    "The map has no layer number " + std::to_string(index) + " (it has " + std::to_string(LayerCount()) + ")");
  return m_layers[static_cast<size_t>(index)];
}

std::vector<LayerPtr> HostMap::AllLayers() const {
  std::vector<LayerPtr> all;
  Flatten(m_layers, all);
  return all;
}

EnumLayerPtr HostMap::Layers(bool allLevels) const {
  return std::make_shared<HostVectorEnum<EnumLayer, tov::Layer>>(allLevels ? AllLayers() : m_layers);
}

void HostMap::AddLayer(const LayerPtr& layer) { InsertLayer(layer, 0); }

void HostMap::InsertLayer(const LayerPtr& layer, long index) {
  if (!layer) throw HostError(err::ObjectRequired, kSource, "No layer was given to add to the map");
  const long at = std::clamp(index, 0L, LayerCount());
  m_layers.insert(m_layers.begin() + at, layer);
  // The first layer with data decides the map's system and, when nothing is
  // shown yet, what is shown.
  std::vector<LayerPtr> added;
  Flatten({layer}, added);
  for (const auto& l : added)
    if (auto fl = std::dynamic_pointer_cast<FeatureLayer>(l); !m_sr && fl && fl->FeatureClass())
      m_sr = fl->FeatureClass()->SpatialReference();
  if (m_extent->IsEmpty()) {
    EnvelopePtr full = FullExtent();
    if (!full->IsEmpty()) m_extent = full;
  }
}

void HostMap::DeleteLayer(const LayerPtr& layer) {
  auto it = std::find(m_layers.begin(), m_layers.end(), layer);
  if (it != m_layers.end()) {
    m_layers.erase(it);
    return;
  }
  for (auto& l : m_layers)
    if (auto group = std::dynamic_pointer_cast<HostGroupLayer>(l))
      if (group->DeleteNested(layer)) return;
  throw HostError(err::InvalidCall, kSource, "The layer is not in the map");
}

EnumFeaturePtr HostMap::FeatureSelection() const {
  std::vector<FeaturePtr> features;
  for (const auto& layer : AllLayers()) {
    auto fl = std::dynamic_pointer_cast<FeatureLayer>(layer);
    if (!fl || !fl->SelectionSet() || fl->SelectionSet()->Count() == 0) continue;
    FeatureCursorPtr cursor = fl->SelectionSet()->Search(nullptr, false);
    while (FeaturePtr f = cursor->NextFeature()) features.push_back(f);
  }
  return std::make_shared<HostVectorEnum<EnumFeature, Feature>>(std::move(features));
}

long HostMap::SelectionCount() const {
  long n = 0;
  for (const auto& layer : AllLayers())
    if (auto fl = std::dynamic_pointer_cast<FeatureLayer>(layer); fl && fl->SelectionSet()) n += fl->SelectionSet()->Count();
  return n;
}

void HostMap::SelectByShape(const GeometryPtr& shape, const SelectionEnvironmentPtr& env, bool justOne) {
  if (!shape) throw HostError(err::ObjectRequired, kSource, "No shape was given to select with");
  const long combination = env ? env->CombinationMethod() : 0;
  GeometryPtr probe = shape->Copy();
  if (!probe->SpatialReference()) probe->SetSpatialReference(m_sr);
  auto filter = std::make_shared<HostQueryFilter>();
  filter->SetGeometry(probe);
  bool found = false;
  for (const auto& layer : AllLayers()) {
    auto fl = std::dynamic_pointer_cast<FeatureLayer>(layer);
    if (!fl || !fl->Selectable() || !fl->FeatureClass()) continue;
    if (justOne && found) {
      // Only the first hit counts; a new selection still empties the rest.
      if (combination == 0) fl->ClearSelection();
      continue;
    }
    if (probe->IsEmpty()) {
      if (combination == 0) fl->ClearSelection();
      continue;
    }
    auto hits = fl->FeatureClass()->Select(filter, 1, justOne ? 2 : 1, nullptr);
    fl->SelectionSet()->Combine(hits, combination);
    if (hits->Count() > 0) found = true;
  }
}

void HostMap::ClearSelection() {
  for (const auto& layer : AllLayers())
    if (auto fl = std::dynamic_pointer_cast<FeatureLayer>(layer)) fl->ClearSelection();
}

void HostMap::AddElement(const GraphicElementPtr& element) {
  if (!element) throw HostError(err::ObjectRequired, kSource, "No graphic element was given");
  m_elements.push_back(element);
}

void HostMap::DeleteElement(const GraphicElementPtr& element) {
  m_elements.erase(std::remove(m_elements.begin(), m_elements.end(), element), m_elements.end());
  m_selectedElements.erase(std::remove(m_selectedElements.begin(), m_selectedElements.end(), element),
                           m_selectedElements.end());
}

void HostMap::DeleteAllElements() {
  m_elements.clear();
  m_selectedElements.clear();
}

GraphicElementPtr HostMap::Element(long index) const {
  if (index < 0 || index >= ElementCount())
    throw HostError(err::SubscriptOutOfRange, kSource, "The map has no graphic element number " + std::to_string(index));
  return m_elements[static_cast<size_t>(index)];
}

void HostMap::SelectElement(const GraphicElementPtr& element) {
  if (std::find(m_elements.begin(), m_elements.end(), element) == m_elements.end())
    throw HostError(err::InvalidCall, kSource, "Only a graphic element of this map can be selected");
  if (std::find(m_selectedElements.begin(), m_selectedElements.end(), element) == m_selectedElements.end())
    m_selectedElements.push_back(element);
}

EnumElementPtr HostMap::SelectedElements() const {
  if (m_selectedElements.empty()) return nullptr;
  return std::make_shared<HostVectorEnum<EnumElement, GraphicElement>>(m_selectedElements);
}

void HostMap::SetSpatialReference(const SpatialReferencePtr& sr) {
  if (!m_extent->IsEmpty() && m_sr && sr) m_extent->Project(sr);
  else m_extent->SetSpatialReference(sr);
  m_sr = sr;
}

EnvelopePtr HostMap::Extent() const {
  auto copy = std::static_pointer_cast<Envelope>(m_extent->Copy());
  copy->SetSpatialReference(m_sr);
  return copy;
}

void HostMap::SetExtent(const EnvelopePtr& extent) {
  if (!extent) throw HostError(err::ObjectRequired, kSource, "No extent was given");
  auto copy = std::make_shared<HostEnvelope>();
  if (!extent->IsEmpty()) copy->PutCoords(extent->XMin(), extent->YMin(), extent->XMax(), extent->YMax());
  copy->SetSpatialReference(extent->SpatialReference());
  if (m_sr && copy->SpatialReference()) copy->Project(m_sr);
  copy->SetSpatialReference(m_sr);
  m_extent = copy;
}

EnvelopePtr HostMap::FullExtent() const {
  auto full = std::make_shared<HostEnvelope>();
  full->SetSpatialReference(m_sr);
  for (const auto& layer : AllLayers())
    if (auto fl = std::dynamic_pointer_cast<FeatureLayer>(layer); fl && fl->FeatureClass())
      full->Union(fl->FeatureClass()->Extent());
  full->SetSpatialReference(m_sr);
  return full;
}

void HostMap::Refresh() { PartialRefresh(127); }

void HostMap::PartialRefresh(long phase) {
  ++m_refreshCount;
  if (m_onRefresh) m_onRefresh(phase);
}

} // namespace tov
