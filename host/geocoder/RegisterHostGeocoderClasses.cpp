#include "host/geocoder/RegisterHostGeocoderClasses.h"

#include "host/geocoder/TovSinglePointGeocoder.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterHostGeocoderClasses() { RegisterClassOf<TovSinglePointGeocoder>(kGeocoderProgId); }

} // namespace tov
