#include "host/geocoder/TovSinglePointGeocoder.h"

#include "host/framework/JsonDataset.h"
#include "host/geocoder/AddressMatcher.h"
#include "host/geocoder/GeocoderDialog.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/Point.h"
#include "platform/gis/SpatialReferenceFactory.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"

#include <filesystem>

namespace tov {

namespace {

constexpr int32_t kMissingParameter = 47;
constexpr long kWgs84 = 4326;

ErrorReporterPtr NewErrorHandler() {
  try {
    return CreateAs<ErrorReporter>(kErrorHandlerProgId);
  } catch (...) {
    return nullptr; // reports then go nowhere; the geocoder itself still works
  }
}

// Replaces whatever the collection holds under key.
void Put(Collection& results, const std::string& key, const Variant& value) {
  if (results.HasKey(key)) results.Remove(key);
  results.Add(value, key);
}

} // namespace

TovSinglePointGeocoder::TovSinglePointGeocoder() : m_errors{NewErrorHandler(), kModulePath} {}

TovSinglePointGeocoder::~TovSinglePointGeocoder() { Cleanup(); }

int32_t TovSinglePointGeocoder::LastError() { return m_lastError; }
int32_t TovSinglePointGeocoder::Status() { return 1; }
ObjectPtr TovSinglePointGeocoder::TovParamSelector() { return nullptr; }
ITovFunctionPtr TovSinglePointGeocoder::TovFunction() { return nullptr; }
void TovSinglePointGeocoder::Cleanup() { m_lastError = 0; }
void TovSinglePointGeocoder::Break() {}
// The geocoder's work is done on its page; it has no function.
bool TovSinglePointGeocoder::StartFunction() { return false; }
bool TovSinglePointGeocoder::InitFunction() { return false; }
bool TovSinglePointGeocoder::InitParamSelector() { return m_gazetteer != nullptr; }

GazetteerPtr TovSinglePointGeocoder::GazetteerOf(const std::string& datasetName) {
  return Trap(m_errors, "GazetteerOf ", GazetteerPtr(), [&]() -> GazetteerPtr {
    if (!m_dataManager || datasetName.empty()) return nullptr;
    auto dataset = std::dynamic_pointer_cast<JsonDataset>(m_dataManager->DataSetByName(datasetName));
    if (!dataset) return nullptr;
    const std::string file = dataset->Folder() + "/gazetteer.csv";
    // A data set without a gazetteer is no failure: the geocoder is just not offered.
    if (!std::filesystem::is_regular_file(file)) return nullptr;
    return Gazetteer::Shared(file);
  });
}

bool TovSinglePointGeocoder::Init(const DataManagerPtr& dataManager, const HostApplicationPtr& application) {
  return Trap(m_errors, "ITovTask_Init ", false, [&] {
    m_dataManager = dataManager;
    m_application = application;
    m_lastError = dataManager ? 0 : kMissingParameter;
    if (!dataManager) return false;
    if (m_gazetteer) return true; // a "DatasetName" given earlier already chose one
    std::string current;
    if (application) {
      auto extension = std::dynamic_pointer_cast<TovExtension>(application->FindExtension(kTovExtensionProgId));
      if (extension) current = extension->CurrentDatasetName();
    }
    m_gazetteer = GazetteerOf(current);
    for (long i = 0; !m_gazetteer && i < dataManager->DataSetCount(); ++i)
      m_gazetteer = GazetteerOf(dataManager->DataSetName(i));
    return m_gazetteer != nullptr;
  });
}

bool TovSinglePointGeocoder::SetParam(const std::string& paramName, Variant& paramValue) {
  return Trap(m_errors, "ITovTask_SetParam ", false, [&] {
    const std::string key = LowerCase(paramName);
    if (key == "datasetname") {
      // A data set without a gazetteer keeps the one found so far.
      if (GazetteerPtr named = GazetteerOf(paramValue.ToString())) m_gazetteer = named;
    } else if (key == "propertyset") {
      m_propertySet = paramValue.ToObjectAs<TaskPropertySet>();
      if (!m_propertySet) {
        m_propertySet = CreateAs<TaskPropertySet>(kTaskPropertySetProgId);
        paramValue = Variant(m_propertySet);
      }
    } else if (key == "resultcollection") {
      m_results = paramValue.ToObjectAs<Collection>();
      if (!m_results) {
        m_results = std::make_shared<Collection>();
        paramValue = Variant(m_results);
      }
    } else if (key == "allowsitesoutofsa") {
      m_allowOutside = paramValue.ToBool();
    } else if (key == "dialogmainlabelcaption") {
      m_caption = paramValue.ToString();
    } else {
      return false;
    }
    return true;
  });
}

int32_t TovSinglePointGeocoder::DoParamSelector() {
  return Trap(m_errors, "ITovTask_DoParamSelector ", int32_t(GeocoderDialog::kCancel), [&] {
    if (!m_gazetteer || !m_results) {
      m_lastError = kMissingParameter;
      Must(m_gazetteer, "the gazetteer");
      Must(m_results, "the result collection");
    }
    AddressMatcher matcher(m_gazetteer);
    auto page = std::make_shared<GeocoderDialog>([&matcher](const std::string& text) { return matcher.Match(text); });
    std::string address;
    if (m_propertySet && m_propertySet->HasProperty(kAddressKey))
      address = m_propertySet->GetProperty(kAddressKey).ToString();
    page->Prepare(m_caption, address);
    page->ShowModal();
    if (m_propertySet) m_propertySet->SetProperty(kAddressKey, Variant(page->Address()));
    const int32_t result = page->m_Result;
    if (result == GeocoderDialog::kNext) {
      const GeocodeCandidate* chosen = page->Chosen();
      if (chosen) {
        auto point = CreateAs<Point>(kPointProgId);
        point->SetSpatialReference(
            CreateAs<SpatialReferenceFactory>(kSpatialReferenceFactoryProgId)->CreateGeographicCoordinateSystem(kWgs84));
        point->PutCoords(chosen->longitude, chosen->latitude);
        Put(*m_results, "Status", Variant(chosen->status));
        Put(*m_results, "Point", Variant(point));
      } else {
        Put(*m_results, "Status", Variant(std::string(kGeocodeFailed)));
        Put(*m_results, "Point", Variant(ObjectPtr()));
      }
    }
    page->Unload();
    m_lastError = 0;
    return result;
  });
}

} // namespace tov
