#pragma once
#include "host/datasets/DatasetCreateOptions.h"

#include <ogrsf_frmts.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tov {

enum class LayerRole { Regions, Codes, Context };

// One layer of the source in the part it plays, checked: it exists, holds
// features of the right kind and has a coordinate system (its own, or the
// one assumed with --assume-srs).
struct RoleLayer {
  LayerRole role = LayerRole::Context;
  std::string sourceName;
  std::string field; // regions: the name field; codes: the code field
  OGRLayer* layer = nullptr;
  std::shared_ptr<OGRSpatialReference> system;
  bool polygons = false;
};

struct LayerRoles {
  RoleLayer regions;
  std::optional<RoleLayer> codes;
  std::vector<RoleLayer> context;
  // The regions' names by feature id, and the --label-field's values.
  std::map<GIntBig, std::string> names, labelExtras;
  bool nameFieldInferred = false;
};

// Finds and checks the layers and fields that the options name in the
// source (shownSource: how messages name it). Every refusal is a HostError
// whose message names the source, the layer or the field, and what to do.
LayerRoles ResolveLayerRoles(GDALDataset& source, const std::string& shownSource, const DatasetCreateOptions& options);

// The text fields of a layer, in order (for messages and the dialog).
std::vector<std::string> TextFields(OGRLayer& layer);

// What a layer holds: "polygons", "lines", "points", "no shapes" or
// "shapes of several kinds" (a layer that does not say is asked of its
// first shapes).
std::string ShapeKind(OGRLayer& layer);

} // namespace tov
