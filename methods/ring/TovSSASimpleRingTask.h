#pragma once
#include "framework/TovSSAMethodTask.h"
#include "platform/gis/Point.h"

namespace tov {

// A ring of a radius around one site. Pages: the site (typed, or found by
// the host's geocoder), the ring size, the name; Back on any of them shows
// the one before. The task keeps its site and its geocoder for its whole
// life, so a second run starts from the last site.
class TovSSASimpleRingTask : public TovSSAMethodTask {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSASimpleRingTask";
  TovSSASimpleRingTask();

  // The site page and everything after it: 0 accepted, 2 back, -1 cancel.
  int32_t ShowSpecifySiteDialog();
  // The geocoder's pages and everything after them.
  int32_t ShowAddressDialog();
  // The ring size page and the name page after it.
  int32_t ShowRingSizesDialog();

  const PointPtr& SitePoint() const { return m_pPoint; }
  double Radius() const { return m_dRadius; }
  bool UnitsMiles() const { return m_bUnitsMiles; }

protected:
  int32_t RunPages() override;
  // Nothing is checked first: a missing function is a reported failure.
  bool FunctionInputsMissing() override { return false; }
  void PassParameters() override;

private:
  PointPtr m_pPoint;
  ITovTaskPtr m_pGeocoder;
  double m_dRadius = 0.0;
  bool m_bUnitsMiles = false;
};

} // namespace tov
