#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <cstdint>

namespace tov {

// ProgID "orvaCore.RgbColor". The RGB value packs red in the low byte, then
// green, then blue (0x0000FF is red, 65535 yellow). Transparency 0 means
// not drawn, 255 opaque.
class RgbColor : public virtual Object {
public:
  virtual int32_t RGB() const = 0;
  virtual void SetRGB(int32_t value) = 0;
  virtual long Red() const = 0;
  virtual long Green() const = 0;
  virtual long Blue() const = 0;
  virtual uint8_t Transparency() const = 0;
  virtual void SetTransparency(uint8_t value) = 0;
  virtual RgbColorPtr Clone() const = 0;
};

using RgbColorPtr = std::shared_ptr<RgbColor>;

} // namespace tov
