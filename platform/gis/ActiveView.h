#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// What a map shows: its visible extent and its redraws.
class ActiveView : public virtual Object {
public:
  // A copy of the visible extent, in the map's spatial reference.
  virtual EnvelopePtr Extent() const = 0;
  // Shows extent (projected into the map's system when it has another).
  virtual void SetExtent(const EnvelopePtr& extent) = 0;
  // The extent of all layers' data (empty for a map without data).
  virtual EnvelopePtr FullExtent() const = 0;
  // Redraws everything.
  virtual void Refresh() = 0;
  // Redraws the phases given (DrawPhase flags).
  virtual void PartialRefresh(long phase) = 0;
};

using ActiveViewPtr = std::shared_ptr<ActiveView>;

} // namespace tov
