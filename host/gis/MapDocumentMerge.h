#pragma once
#include <nlohmann/json.hpp>

namespace tov {

// Three-way merge of map documents in the JSON form the application saves.
// Several processes may change one analysis at once, each from the document
// as it loaded it; saving replays what this process changed since then
// (base -> mine) onto the file as it is now (theirs), so nobody's layers are
// lost: layers added (with their place among their neighbours), deleted,
// moved or changed (name, visibility, symbol, ...), group layers recursively,
// and the maps' extents, graphics and the focus map.
//
// A layer is known by its kind, its name and its data (a feature layer) or
// by its kind and name (a group layer); a renamed layer is a deleted one and
// an added one.
class MapDocumentMerge {
public:
  // base may be null (the document was never loaded): every layer of mine
  // is then new, and one already in theirs is replaced by mine's.
  static nlohmann::json Merge(const nlohmann::json& base, const nlohmann::json& mine, nlohmann::json theirs);
};

} // namespace tov
