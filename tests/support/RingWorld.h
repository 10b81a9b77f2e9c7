#pragma once
// The simple ring method's test world: its pages by script and a stand-in
// for the host's geocoder.
#include "HostWrappers.h"
#include "TestWorld.h"

#include <deque>

namespace tov::test {

// A stand-in for the host's geocoder while the scope lives: each showing
// gives the next answer (none left: Cancel) in the result collection.
class GeocoderScope {
public:
  struct Answer {
    int32_t result;
    std::string status;
    PointPtr point;
  };
  GeocoderScope();

  bool initResult = true;
  std::deque<Answer> answers;
  int created = 0, inits = 0, shows = 0;
  std::vector<std::string> keys;         // SetParam keys in order
  std::map<std::string, Variant> values; // last value per key

private:
  ClassOverride m_geocoder;
};

// A scripted presenter that notes each form's texts, options and enabled controls before its turn.
class RingPresenter : public ScriptedPresenter {
public:
  struct Snapshot {
    std::map<std::string, std::string> texts;
    std::map<std::string, int32_t> values;
    std::map<std::string, bool> enabled;
  };
  void ShowModal(Form& form) override;
  std::vector<std::string> forms;
  std::map<std::string, std::vector<Snapshot>> of; // by form name
};
std::shared_ptr<RingPresenter> UseRingScript(const std::string& turns);

// A test data set that also offers the simple ring method.
TestWorldOptions RingWorldOptions();
// A ring task on the test data set's "SetupStudyArea.SimpleRing", after Init.
std::shared_ptr<ITovTask> NewRingTask(const Analysis& analysis, const TaskPropertySetPtr& propertySet);

// Turns of the ring pages.
std::string SiteTurn(const std::string& latitude, const std::string& longitude);
std::string AddressTurn();
std::string RingTurn(const std::string& radius, bool kilometres = false);

} // namespace tov::test
