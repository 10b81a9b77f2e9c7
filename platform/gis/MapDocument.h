#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// The open document: its maps (indexed from 0) and the focus map.
class MapDocument : public virtual Object {
public:
  virtual MapPtr FocusMap() const = 0;
  virtual void SetFocusMap(const MapPtr& map) = 0;
  virtual long MapCount() const = 0;
  virtual MapPtr Map(long index) const = 0;
  virtual void AddMap(const MapPtr& map) = 0;
  // The view of the focus map.
  virtual ActiveViewPtr ActiveView() const = 0;
  // Redraws the table of contents.
  virtual void RefreshContentsView() = 0;
};

using MapDocumentPtr = std::shared_ptr<MapDocument>;

} // namespace tov
