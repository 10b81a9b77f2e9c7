#pragma once
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// A picture the resources hand out (cursors): a file the front end can load.
class ResourcePicture : public virtual Object {
public:
  // Platform path of the image file.
  virtual std::string Path() = 0;
};

using ResourcePicturePtr = std::shared_ptr<ResourcePicture>;

// A resource component. The text component answers texts; the GUI component
// answers layout numbers (twips) as text. An unknown id gives "".
class ResourceFinder : public virtual Object {
public:
  virtual std::string FindString(const std::string& id) = 0;
  // The cursor picture of that id, or no object when it has none.
  virtual ResourcePicturePtr FindCursor(const std::string& id) = 0;
};

using ResourceFinderPtr = std::shared_ptr<ResourceFinder>;

} // namespace tov
