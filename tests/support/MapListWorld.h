#pragma once
// The map list method's test world: counties to pick by name or on the map,
// and a presenter on which a test acts as a user would.
#include "WorldTest.h"

#include "methods/maplist/TovSSAMapListTask.h"

namespace tov::test {

// One county of the test data set: its label and identifier.
struct County {
  std::string label;
  std::string fips;
};

// Bronx, Kings, New York, O'Brien, Queens and Richmond: 0.1 degree squares
// in a row from -74.0 eastwards (geographic NAD83), in this order.
extern const std::vector<County> kCounties;

// The counties (layer "Counties", fields LABEL and FIPS), a quarter of each
// square in "County shapes", and the map list method reading them.
struct MapListWorld {
  std::vector<County> counties = kCounties;
  // Method settings changed from the defaults.
  std::map<std::string, std::string> settings;
  // The "ListField" of the method's "Counties" layer.
  std::string listField = "LABEL";
  // The feature class the data set's "Counties" layer names.
  std::string mainSource = "counties";
};

// A county's square (or quarter) in the analysis system, by its position; their area.
PolygonPtr CountySquare(size_t index, bool quarter = false);
double SquaresArea(std::initializer_list<size_t> indexes, bool quarters);

// A presenter on which a test acts on each form as a user would; a form
// still shown afterwards is closed by its close box, messages are answered OK.
class PagePlayer : public Presenter {
public:
  using Play = std::function<void(Form&)>;
  explicit PagePlayer(std::vector<Play> plays) : m_plays(std::move(plays)) {}
  void ShowModal(Form& form) override;
  void Hide(Form&) override {}
  int32_t MsgBox(const std::string& text, int32_t style, const std::string& title) override;
  void PropertyChanged(Form&, Control*, Property) override {}
  TrackedShape Track(TrackKind kind) override;

  std::vector<std::string> shown;
  std::vector<std::string> messages;

private:
  std::vector<Play> m_plays;
  size_t m_next = 0;
};

std::shared_ptr<PagePlayer> UsePlayer(std::vector<PagePlayer::Play> plays);

inline std::vector<std::string> Entries(Form& form, const std::string& list) { return ListEntries(form, list); }
// Searches for the name and double-clicks it in FromList, as a user adds it.
void AddByName(Form& form, const std::string& name);
// Types the search text anew (the box emptied first, then key by key).
void Search(Form& form, const std::string& text);

// Plays: names added on the list page; a name typed on the name page; a
// click on county i on the map page; each then a button.
PagePlayer::Play Adding(std::vector<std::string> names, const char* button = "NextButton");
PagePlayer::Play Naming(const std::string& name);
PagePlayer::Play ClickingCounty(size_t i, const char* button);
PagePlayer::Play Pressing(const char* button);

class MapListMethodTest : public WorldTest {
protected:
  void SetUp() override { UseMapListWorld(MapListWorld()); }
  void UseMapListWorld(const MapListWorld& world);
  // Drives a new task as the host does up to DoParamSelector (-99: Init failed).
  int32_t RunPages(const TaskPropertySetPtr& propertySet = nullptr, bool fromMap = false);
  // The whole host run: pages, then the function.
  HostTaskRunResult RunAll() { return RunHostTask(*analysis, kMapListTaskProgId); }
  // The area of the current study area's polygon.
  double StoredArea() const;

  std::shared_ptr<TovSSAMapListTask> task;
};

} // namespace tov::test
