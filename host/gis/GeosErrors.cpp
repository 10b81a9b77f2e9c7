#include "host/gis/GisErrors.h"

#include <geos_c.h>

#include <cstdarg>
#include <cstdio>

namespace tov {

namespace {
struct GeosState {
  GEOSContextHandle_t handle = nullptr;
  std::string lastMessage;
};

GeosState& State() {
  static GeosState state;
  return state;
}

void OnGeosMessage(const char* message, void* userdata) {
  static_cast<GeosState*>(userdata)->lastMessage = message ? message : "";
}
} // namespace

GEOSContextHandle_t GeosHandle() {
  GeosState& s = State();
  if (!s.handle) {
    // Lives as long as the process: GEOS objects may be freed at exit.
    s.handle = GEOS_init_r();
    GEOSContext_setErrorMessageHandler_r(s.handle, OnGeosMessage, &s);
  }
  return s.handle;
}

std::string GeosLastMessage() { return State().lastMessage; }
void ResetGeosMessage() { State().lastMessage.clear(); }

void ThrowGeosError(const std::string& source, const std::string& what) {
  std::string description = what;
  if (!State().lastMessage.empty()) description += " (" + State().lastMessage + ")";
  State().lastMessage.clear();
  throw HostError(gisErr::GeometryFailed, source, description);
}

} // namespace tov
