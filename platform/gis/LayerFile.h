#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// ProgID "orvaCore.LayerFile": one layer saved in a file of its own. A layer
// whose data cannot be found opens without a feature class.
class LayerFile : public virtual Object {
public:
  // The file's platform path.
  virtual std::string Filename() const = 0;
  virtual void SetFilename(const std::string& path) = 0;
  // Reads the file (and remembers its path); missing raises an error.
  virtual void Open(const std::string& path) = 0;
  virtual LayerPtr Layer() const = 0;
  virtual void SetLayer(const LayerPtr& layer) = 0;
  // Writes the layer to Filename (or to path when given, which becomes the
  // file name). A file already there is replaced.
  virtual void Save(const std::string& path = std::string()) = 0;
};

using LayerFilePtr = std::shared_ptr<LayerFile>;

} // namespace tov
