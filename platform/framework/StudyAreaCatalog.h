#pragma once
#include "platform/framework/StudyAreaRecord.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// The saved study areas of the analysis. Names are compared exactly. Every
// change is one transaction, safe against another process on the analysis.
class StudyAreaCatalog : public virtual Object {
public:
  // A new collection of the names (texts), counted from 1, in creation order.
  virtual CollectionPtr Names() = 0;
  virtual long Count() = 0;
  virtual bool Exists(const std::string& name) = 0;
  // Creates a record with a new file path. False when the name exists or
  // the name checker refuses it (nothing is created then).
  virtual bool Add(const std::string& name) = 0;
  // The record of that name, or no object.
  virtual StudyAreaRecordPtr Item(const std::string& name) = 0;
  // Removes the record, its layer file and its folder when nothing else is
  // left in it. A name without a record (also " ") does nothing.
  virtual void Remove(const std::string& name) = 0;
};

using StudyAreaCatalogPtr = std::shared_ptr<StudyAreaCatalog>;

} // namespace tov
