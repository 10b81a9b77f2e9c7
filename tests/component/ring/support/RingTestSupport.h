#pragma once
#include "support/ComponentTestSupport.h"

#include "platform/framework/ITovTask.h"
#include "platform/framework/TaskPropertySet.h"
#include "platform/gis/Point.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/ObjectRegistry.h"

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace tov::test {

// One answer of the fake geocoder: what DoParamSelector returns and what it
// leaves in the result collection.
struct GeocoderAnswer {
  int32_t result = 1;
  std::string status = "Succeeded";
  PointPtr point;
};

// What the fake geocoder was asked, and what it answers.
struct GeocoderLog {
  bool initResult = true;
  std::deque<GeocoderAnswer> answers; // one per showing; none left: Cancel
  int created = 0;
  int inits = 0;
  int shows = 0;
  std::vector<std::string> keys;         // SetParam keys in order
  std::map<std::string, Variant> values; // last value per key
};

// A stand-in for the host's single-point geocoder.
class FakeGeocoder : public ITovTask {
public:
  explicit FakeGeocoder(GeocoderLog* log) : m_log(log) { ++m_log->created; }
  int32_t LastError() override { return 0; }
  int32_t Status() override { return 1; }
  ObjectPtr TovParamSelector() override { return nullptr; }
  ITovFunctionPtr TovFunction() override { return nullptr; }
  void Cleanup() override {}
  void Break() override {}
  bool StartFunction() override { return false; }
  int32_t DoParamSelector() override;
  bool InitFunction() override { return false; }
  bool InitParamSelector() override { return true; }
  bool Init(const std::shared_ptr<DataManager>&, const std::shared_ptr<HostApplication>&) override {
    ++m_log->inits;
    return m_log->initResult;
  }
  bool SetParam(const std::string& paramName, Variant& paramValue) override;

private:
  GeocoderLog* m_log;
  CollectionPtr m_results;
};

// Puts the fake geocoder under its ProgID for its lifetime.
class GeocoderScope {
public:
  GeocoderScope();
  ~GeocoderScope();
  GeocoderLog log;

private:
  ObjectFactory m_previous;
};

// A test data set that also offers the simple ring method.
TestWorldOptions RingWorldOptions();

// A scripted presenter that notes the texts and options of the ring pages
// each time one is shown, before the turn's actions run.
class RingPresenter : public ScriptedPresenter {
public:
  struct Snapshot {
    std::string form;
    std::map<std::string, std::string> texts;   // text boxes
    std::map<std::string, int32_t> values;      // option buttons
    std::map<std::string, bool> enabled;        // every control
  };
  void ShowModal(Form& form) override;
  std::vector<Snapshot> snapshots;
  // The snapshots of one form, in order.
  std::vector<Snapshot> Of(const std::string& form) const;
};

std::shared_ptr<RingPresenter> UseRingScript(const std::string& json);

// Turns of the ring pages.
std::string SiteTurn(const std::string& latitude, const std::string& longitude);
std::string AddressTurn();
std::string RingTurn(const std::string& radius, bool kilometres = false);
std::string BackTurn(const std::string& form);
std::string CancelTurn(const std::string& form);

// A ring task with the test data set's "SetupStudyArea.SimpleRing"
// descriptor, the data set and the property set given, after Init.
std::shared_ptr<ITovTask> NewRingTask(const Analysis& analysis, const TaskPropertySetPtr& propertySet);
TaskPropertySetPtr NewPropertySet();

} // namespace tov::test
