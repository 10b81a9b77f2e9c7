#pragma once
#include "pages/WizardPage.h"
#include "platform/runtime/Collection.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tov {

class ListControl;

// The map list method's list page: FromList holds the region names still
// available (those that contain the search text), ToList the names chosen.
// Every region name is either in m_pRegionsColl or in ToList, once; the
// buttons and double clicks move names between the two and keep it so.
class SelectFromListDialog : public WizardPage {
public:
  SelectFromListDialog();

  // True when the user pressed ToMapButton (the result is then -1).
  bool m_bChangeViews = false;
  // Names chosen on an earlier visit (read from the property set), rewritten
  // from ToList when the page writes its state.
  CollectionPtr m_pSelectedItems;
  // Every region name not in ToList, each keyed by itself; the task fills it
  // before the page is first shown.
  CollectionPtr m_pRegionsColl;

  // "SelectedItems" (when it is a collection) and "FilterString".
  void ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  void WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  // With saved names: those still among the regions move to ToList.
  void InitializeDialog() override;
  // Result -1, FromList refiltered, no change of views.
  void ResetParams() override;

  // The caption above the lists.
  void SetLabelCaption(const std::string& caption);

private:
  std::shared_ptr<ListControl> List(const char* name);
  // Refills FromList from the regions (names absent) or appends those of
  // names that pass the search, then selects the entry at selIndex.
  void FilterFromList(long selIndex, const Collection* names = nullptr);
  // which: 1 the FromList side, 2 the ToList side, 0 both.
  void UpdateButtons(int which = 0);
  // Removes the selected entries of list; returns them in list order and
  // sets scanEnd to where a scan removing them one by one would stop.
  std::vector<std::string> TakeSelected(ListControl& list, long& scanEnd);
  void RemoveFromRegions(const std::vector<std::string>& names);
  bool PassesSearch(const std::string& name, const std::string& search) const;
  std::string SearchText();
  static void SelectAt(ListControl& list, long index);

  void AddButton_Click();
  void AddAllButton_Click();
  void RemoveButton_Click();
  void RemoveAllButton_Click();
  void ToMapButton_Click();
  void FromList_DblClick();
  void ToList_DblClick();
  void FromList_MouseUp();
  void ToList_MouseUp();
  void TakeFocusWhenEnabled(const char* button);
  void SearchTextBox_Change();
  void SearchTextBox_KeyUp();

  bool m_restore = false;
  bool m_filteredOnChange = false; // FromList follows the text its last Change left

};

} // namespace tov
