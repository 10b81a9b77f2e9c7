#include "host/gis/HostSpatialReference.h"

#include "host/gis/GisErrors.h"

#include <ogr_srs_api.h>

#include <cstdlib>

namespace tov {

namespace {
const char kSource[] = "orvaCore.SpatialReference";

// Each projection names its parameters its own way; the first one the
// projection has is the one set (Albers ignores central_meridian).
const char* const kMeridianNames[] = {SRS_PP_LONGITUDE_OF_CENTER, SRS_PP_CENTRAL_MERIDIAN,
                                      SRS_PP_LONGITUDE_OF_ORIGIN, nullptr};
const char* const kParallel1Names[] = {SRS_PP_STANDARD_PARALLEL_1, nullptr};
const char* const kParallel2Names[] = {SRS_PP_STANDARD_PARALLEL_2, nullptr};
} // namespace

HostSpatialReference::HostSpatialReference(const OGRSpatialReference& sr) : m_sr(sr) {
  m_sr.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
}

OGRSpatialReference HostSpatialReference::FromCode(long code) {
  OGRSpatialReference sr;
  sr.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  ResetOgrError();
  if (code <= 0 || sr.importFromEPSG(static_cast<int>(code)) != OGRERR_NONE)
    ThrowProjError(gisErr::UnknownCoordSys, kSource,
                   "There is no coordinate system with the code " + std::to_string(code) +
                       ". Check the code in the data set's projection settings");
  return sr;
}

const OGRSpatialReference* HostSpatialReference::OgrOf(const SpatialReferencePtr& sr) {
  auto host = std::dynamic_pointer_cast<HostSpatialReference>(sr);
  return host ? &host->m_sr : nullptr;
}

SpatialReferencePtr HostSpatialReference::FromOgr(const OGRSpatialReference* sr) {
  if (!sr) return nullptr;
  return std::make_shared<HostSpatialReference>(*sr);
}

std::string HostSpatialReference::Name() const {
  const char* name = m_sr.GetName();
  return name ? name : "";
}

long HostSpatialReference::FactoryCode() const {
  if (m_modified) return 0;
  const char* code = m_sr.GetAuthorityCode(nullptr);
  return code ? std::atol(code) : 0;
}

bool HostSpatialReference::IsProjected() const { return m_sr.IsProjected() != 0; }
bool HostSpatialReference::IsGeographic() const { return m_sr.IsGeographic() != 0; }

bool HostSpatialReference::IsSame(const SpatialReferencePtr& other) const {
  const OGRSpatialReference* o = OgrOf(other);
  if (!o) return false;
  const char* options[] = {"IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES", nullptr};
  return m_sr.IsSame(o, options) != 0;
}

std::string HostSpatialReference::ExportToWkt() const {
  char* wkt = nullptr;
  const char* options[] = {"FORMAT=WKT2_2018", nullptr};
  if (m_sr.exportToWkt(&wkt, options) != OGRERR_NONE || !wkt) {
    CPLFree(wkt);
    ThrowProjError(gisErr::UnknownCoordSys, kSource, "The coordinate system cannot be written as text");
  }
  std::string text = wkt;
  CPLFree(wkt);
  return text;
}

SpatialReferencePtr HostSpatialReference::Clone() const {
  auto copy = std::make_shared<HostSpatialReference>(m_sr);
  copy->m_modified = m_modified;
  return copy;
}

double HostSpatialReference::Parameter(const char* const* names, const char* what) const {
  if (!m_sr.IsProjected())
    throw HostError(err::InvalidCall, kSource, std::string("A geographic coordinate system has no ") + what);
  for (; *names; ++names) {
    OGRErr e = OGRERR_NONE;
    double v = m_sr.GetProjParm(*names, 0.0, &e);
    if (e == OGRERR_NONE) return v;
  }
  throw HostError(err::InvalidCall, kSource, "The projection of \"" + Name() + "\" has no " + what);
}

void HostSpatialReference::SetParameter(const char* const* names, const char* what, double degrees) {
  if (!m_sr.IsProjected())
    throw HostError(err::InvalidCall, kSource,
                    std::string("Cannot set the ") + what + " of the geographic coordinate system \"" + Name() + "\"");
  for (; *names; ++names) {
    OGRErr e = OGRERR_NONE;
    m_sr.GetProjParm(*names, 0.0, &e);
    if (e != OGRERR_NONE) continue;
    ResetOgrError();
    if (m_sr.SetProjParm(*names, degrees) != OGRERR_NONE)
      ThrowProjError(gisErr::ProjectionFailed, kSource, std::string("Cannot set the ") + what);
    // The system is no longer the catalogue's: drop its code so nothing
    // looks the old parameters up again.
    if (OGR_SRSNode* root = m_sr.GetAttrNode("PROJCS")) {
      int i = root->FindChild("AUTHORITY");
      if (i >= 0) root->DestroyChild(i);
    }
    // Nor does its catalogue name fit it any more ("NAD83 / Conus Albers"
    // centred elsewhere): it is named after its projection and datum.
    if (!m_modified) {
      std::string projection = m_sr.GetAttrValue("PROJECTION") ? m_sr.GetAttrValue("PROJECTION") : "Projection";
      for (char& c : projection)
        if (c == '_') c = ' ';
      const char* datum = m_sr.GetAttrValue("GEOGCS");
      m_sr.SetProjCS((projection + " on " + (datum ? datum : "an unnamed datum") + " (custom)").c_str());
    }
    m_sr.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    m_modified = true;
    return;
  }
  throw HostError(err::InvalidCall, kSource, "The projection of \"" + Name() + "\" has no " + what);
}

double HostSpatialReference::CentralMeridian() const { return Parameter(kMeridianNames, "central meridian"); }
void HostSpatialReference::SetCentralMeridian(double d) { SetParameter(kMeridianNames, "central meridian", d); }
double HostSpatialReference::StandardParallel1() const { return Parameter(kParallel1Names, "first standard parallel"); }
void HostSpatialReference::SetStandardParallel1(double d) { SetParameter(kParallel1Names, "first standard parallel", d); }
double HostSpatialReference::StandardParallel2() const { return Parameter(kParallel2Names, "second standard parallel"); }
void HostSpatialReference::SetStandardParallel2(double d) { SetParameter(kParallel2Names, "second standard parallel", d); }

} // namespace tov
