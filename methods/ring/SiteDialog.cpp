#include "methods/ring/SiteDialog.h"

#include "methods/ring/StoredValues.h"

namespace tov {

namespace {
constexpr char kWayKey[] = "GeocodingWay";
constexpr char kLongitudeKey[] = "Longitude";
constexpr char kLatitudeKey[] = "Latitude";
constexpr char kLongitudeText[] = "txtLongitude";
constexpr char kLatitudeText[] = "txtLatitude";
constexpr char kAddressOption[] = "obtSelect";
constexpr char kCoordinatesOption[] = "obtCoord";
// System colours: window background, and the inactive border that greys a
// box the user cannot use.
constexpr long kWindowBackground = static_cast<long>(0x80000005);
constexpr long kInactiveBorder = static_cast<long>(0x8000000B);
} // namespace

SpecifySiteDialog::SpecifySiteDialog() : WizardPage("SpecifySiteDialog", 1100) {
  // Design-time texts are resource ids, replaced when the page loads.
  SetCaption("237");
  Add(ControlKind::Frame, "Frame1");
  Add(ControlKind::CommandButton, "HelpButton")->SetCaption("204");
  Add(ControlKind::CommandButton, "BackButton")->SetCaption("201");
  Add(ControlKind::CommandButton, "NextButton")->SetCaption("202");
  Add(ControlKind::CommandButton, "CancelButton")->SetCaption("203");
  Add(ControlKind::OptionButton, kAddressOption)->SetCaption("240");
  Add(ControlKind::TextBox, kLongitudeText);
  Add(ControlKind::TextBox, kLatitudeText);
  Add(ControlKind::OptionButton, kCoordinatesOption)->SetCaption("239");
  Add(ControlKind::Label, "Label3")->SetCaption("242");
  Add(ControlKind::Label, "Label2")->SetCaption("241");
  Add(ControlKind::Label, "Label1")->SetCaption("238");

  On(kLongitudeText, EventKind::Change, [this](EventArgs&) { UpdateControls(); });
  On(kLatitudeText, EventKind::Change, [this](EventArgs&) { UpdateControls(); });
  On(kCoordinatesOption, EventKind::Click, [this](EventArgs&) { ChooseWay(kWayCoordinates); });
  On(kAddressOption, EventKind::Click, [this](EventArgs&) { ChooseWay(kWayAddress); });
  On(kCoordinatesOption, EventKind::DblClick, [this](EventArgs&) {
    ChooseWay(kWayCoordinates);
    NextButton_Click();
  });
  On(kAddressOption, EventKind::DblClick, [this](EventArgs&) {
    ChooseWay(kWayAddress);
    NextButton_Click();
  });
}

void SpecifySiteDialog::ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) {
  if (!pPropertySet) return;
  const Variant way = StoredValue(pPropertySet, kWayKey);
  if (IsBlank(way)) return;
  m_read = true;
  try {
    m_way = way.ToLong();
  } catch (const HostError&) {
  }
  // The address way keeps no coordinates: the boxes then show 0.
  if (m_way == kWayCoordinates) {
    ConvertStored(pPropertySet, kLongitudeKey, m_longitude);
    ConvertStored(pPropertySet, kLatitudeKey, m_latitude);
  }
}

void SpecifySiteDialog::WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) {
  if (!pPropertySet) return;
  pPropertySet->SetProperty(kWayKey, std::to_string(m_way));
  pPropertySet->SetProperty(kLongitudeKey, Ctl(kLongitudeText)->Text());
  pPropertySet->SetProperty(kLatitudeKey, Ctl(kLatitudeText)->Text());
}

void SpecifySiteDialog::InitializeDialog() {
  if (!m_read) return;
  Ctl(kLatitudeText)->SetText(Variant(m_latitude).ToString());
  Ctl(kLongitudeText)->SetText(Variant(m_longitude).ToString());
}

void SpecifySiteDialog::ResetParams() {
  m_Result = kPageCancel;
  Ctl("BackButton")->SetEnabled(true);
  Ctl(kCoordinatesOption)->SetValue(0);
  Ctl(kAddressOption)->SetValue(0);
  UpdateControls();
}

bool SpecifySiteDialog::IsCoordinate(const std::string& text) {
  double value = 0.0;
  return ParseNumber(text, value) && ParseNumber(text.substr(text.size() - 1), value);
}

void SpecifySiteDialog::ChooseWay(int32_t way) {
  m_way = way;
  UpdateControls();
}

void SpecifySiteDialog::UpdateControls() {
  Ctl(kAddressOption)->SetEnabled(m_bCanGeocode);
  ControlPtr longitude = Ctl(kLongitudeText);
  ControlPtr latitude = Ctl(kLatitudeText);
  if (m_way == kWayCoordinates) {
    longitude->SetEnabled(true);
    latitude->SetEnabled(true);
    longitude->SetBackColor(kWindowBackground);
    latitude->SetBackColor(kWindowBackground);
    Ctl("NextButton")->SetEnabled(IsCoordinate(longitude->Text()) && IsCoordinate(latitude->Text()));
    Ctl(kCoordinatesOption)->SetValue(1);
    Ctl(kAddressOption)->SetValue(0);
  } else if (m_way == kWayAddress) {
    longitude->SetEnabled(false);
    latitude->SetEnabled(false);
    longitude->SetBackColor(kInactiveBorder);
    latitude->SetBackColor(kInactiveBorder);
    Ctl("NextButton")->SetEnabled(true);
    Ctl(kAddressOption)->SetValue(1);
    Ctl(kCoordinatesOption)->SetValue(0);
  }
}

bool SpecifySiteDialog::CheckNext() {
  if (!Ctl("NextButton")->Enabled()) return false;
  if (m_way == kWayCoordinates) {
    double longitude = 0.0, latitude = 0.0;
    // Next is enabled only for two numbers; texts set past the events are
    // still refused rather than read as 0 (see docs/departures.md).
    if (!ParseNumber(Ctl(kLongitudeText)->Text(), longitude) || !ParseNumber(Ctl(kLatitudeText)->Text(), latitude))
      return false;
    m_longitude = longitude;
    m_latitude = latitude;
  }
  return true;
}

} // namespace tov
