#pragma once
#include "pages/WizardPage.h"

#include <cstdint>
#include <string>

namespace tov {

// The site page: the centre of the ring, typed as latitude and longitude
// (way 1) or looked up by address (way 2, the host's geocoder).
class SpecifySiteDialog : public WizardPage {
public:
  static constexpr int32_t kWayCoordinates = 1;
  static constexpr int32_t kWayAddress = 2;

  SpecifySiteDialog();

  // The address way may be chosen.
  bool m_bCanGeocode = false;

  // "GeocodingWay" (decimal text), and for way 1 "Longitude" and "Latitude".
  void ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  // The way and both raw texts, whatever the way.
  void WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  // Puts the coordinates read into the boxes (0 when only a way was read).
  void InitializeDialog() override;
  // Result -1, Back enabled, the options from the way. Also on activation.
  void ResetParams() override;

  int32_t GetWay() const { return m_way; }
  void SetWay(int32_t way) { m_way = way; }
  // The coordinates taken from the boxes when Next was pressed.
  double GetLatitude() const { return m_latitude; }
  double GetLongitude() const { return m_longitude; }

  // True when the whole text is a number and so is its last character: a
  // text still being typed ("12.", "-", "1e") is not a coordinate yet.
  static bool IsCoordinate(const std::string& text);

protected:
  void Form_Activate() override { ResetParams(); }
  // Nothing while Next is disabled; way 1 takes the coordinates.
  bool CheckNext() override;

private:
  void UpdateControls();
  void ChooseWay(int32_t way);

  // Set here, not on load: the page loads after the stored way was read
  // (see docs/departures.md).
  int32_t m_way = kWayCoordinates;
  double m_latitude = 0.0;
  double m_longitude = 0.0;
  bool m_read = false;
};

} // namespace tov
