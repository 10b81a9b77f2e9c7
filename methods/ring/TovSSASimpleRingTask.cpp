#include "methods/ring/TovSSASimpleRingTask.h"

#include "methods/ring/SelectRingSizeDialog.h"
#include "methods/ring/SiteDialog.h"
#include "pages/modi18N.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/AnalysisSpatialReference.h"
#include "store/Settings.h"

namespace tov {

namespace {
// What the geocoder says of the address it was given.
constexpr char kSucceeded[] = "Succeeded";
constexpr char kInvalid[] = "Invalid";
constexpr char kFailed[] = "Failed";
} // namespace

TovSSASimpleRingTask::TovSSASimpleRingTask() : TovSSAMethodTask(kModulePath, kSimpleRingFunctionProgId) {
  Trap(m_errors, "Class_Initialize ", [&] { m_pPoint = CreateAs<Point>(kPointProgId); });
}

int32_t TovSSASimpleRingTask::RunPages() { return ShowSpecifySiteDialog(); }

void TovSSASimpleRingTask::PassParameters() {
  Must(m_function, "the ring function");
  PassObject("Application", m_pApplication);
  PassObject("DataManager", m_pDataManager);
  PassValue("StudyAreaName", m_sSAName);
  PassObject("DataSet", m_pDataSet);
  PassObject("SSATask", m_pSSATask);
  PassValue("UnitsMiles", m_bUnitsMiles);
  PassValue("Radius", m_dRadius);
  PassObject("Point", m_pPoint);
}

int32_t TovSSASimpleRingTask::ShowSpecifySiteDialog() {
  return Trap(m_errors, "ShowSpecifySiteDialog ", int32_t(0), [&] {
    auto page = std::make_shared<SpecifySiteDialog>();
    page->m_bCanGeocode = true;
    page->ReadFromPropertySet(pPropertySet);
    page->InitializeDialog();
    int32_t result = kPageCancel;
    do {
      result = ShowPageOnce(page);
      const int32_t way = page->GetWay();
      if (way == SpecifySiteDialog::kWayCoordinates) {
        Must(m_pPoint, "the site");
        m_pPoint->SetSpatialReference(CreateAuthalicSR());
        m_pPoint->PutCoords(page->GetLongitude(), page->GetLatitude());
      }
      if (result == kPageBack) break;
      if (result == kPageNext)
        result = way == SpecifySiteDialog::kWayAddress ? ShowAddressDialog() : ShowRingSizesDialog();
    } while (result == kPageBack);
    page->Unload();
    return result;
  });
}

int32_t TovSSASimpleRingTask::ShowAddressDialog() {
  return Trap(m_errors, "ShowAddressDialog ", int32_t(0), [&] {
    if (!m_pGeocoder) m_pGeocoder = CreateAs<ITovTask>(kGeocoderProgId);
    const bool usable = m_pGeocoder->Init(m_pDataManager, m_pApplication);

    Variant datasetName(Must(m_pDataSet, "the data set")->Name());
    m_pGeocoder->SetParam("DatasetName", datasetName);
    // The geocoder may hand back another set; the task goes on with it.
    Variant propertySet(pPropertySet);
    m_pGeocoder->SetParam("PropertySet", propertySet);
    pPropertySet = propertySet.ToObjectAs<TaskPropertySet>();
    Variant allowOutside(true);
    m_pGeocoder->SetParam("AllowSitesOutOfSA", allowOutside);
    Variant caption(GetTextResources()->FindString("188"));
    m_pGeocoder->SetParam("DialogMainLabelCaption", caption);

    int32_t result = kPageCancel;
    do {
      Variant collection(std::make_shared<Collection>());
      m_pGeocoder->SetParam("ResultCollection", collection);
      CollectionPtr results = collection.ToObjectAs<Collection>();

      // A geocoder that cannot work is not shown: back to the site page.
      result = usable ? m_pGeocoder->DoParamSelector() : kPageBack;
      // Back shows the site page again; Cancel ends the run.
      if (result != kPageNext) break;
      Must(results, "the geocoding results");
      const std::string status = results->Item("Status").ToString();
      if (status == kSucceeded || status == kInvalid) {
        // An address the geocoder calls invalid still has its best point.
        m_pPoint = Must(results->Item("Point").ToObjectAs<Point>(), "the geocoded site");
        result = ShowRingSizesDialog();
      } else if (status == kFailed) {
        ResourceFinderPtr texts = GetTextResources();
        MsgBox(texts->FindString("186"), vbExclamation | vbOKOnly, texts->FindString("126"));
        result = kPageBack; // the geocoder again
      }
    } while (result == kPageBack);
    return result;
  });
}

int32_t TovSSASimpleRingTask::ShowRingSizesDialog() {
  return Trap(m_errors, "ShowRingSizesDialog ", int32_t(0), [&] {
    auto page = std::make_shared<SelectRingSizeDialog>();
    return RunPage(page, [&] {
      m_dRadius = page->m_dFirst;
      m_bUnitsMiles = page->m_bMiles;
      return ShowSelectSANameDialog();
    });
  });
}

} // namespace tov
