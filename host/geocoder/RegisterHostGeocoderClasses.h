#pragma once

namespace tov {

// "TovGeocoder.TovSinglePointGeocoder".
void RegisterHostGeocoderClasses();

} // namespace tov
