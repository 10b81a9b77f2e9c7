#pragma once
#include "host/geocoder/AddressMatcher.h"
#include "platform/forms/Form.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tov {

// The geocoder's page: the user types an address, presses Find (or Enter),
// picks one of the candidates and presses Next. Next is enabled once a
// candidate is selected, or when the last Find found nothing (the geocoder
// then reports the address as not found). Typing again drops the candidates
// of the last Find.
class GeocoderDialog : public Form {
public:
  static constexpr int32_t kNext = 1;
  static constexpr int32_t kBack = 2;
  static constexpr int32_t kCancel = -1;

  using Finder = std::function<GeocodeMatch(const std::string&)>;
  explicit GeocoderDialog(Finder finder);

  // Fills the page before it is shown.
  void Prepare(const std::string& mainCaption, const std::string& address);

  // After the page closed: the address typed, and the candidate chosen (null
  // when nothing was found).
  std::string Address();
  const GeocodeCandidate* Chosen();

  int32_t m_Result = kCancel;

protected:
  void Form_Activate() override;

private:
  void Find();
  void Clear();
  void UpdateNext();
  void Close(int32_t result);

  Finder m_finder;
  GeocodeMatch m_match;
  bool m_searched = false;
};

} // namespace tov
