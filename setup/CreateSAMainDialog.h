#pragma once
#include "pages/WizardPage.h"
#include "platform/framework/DataManager.h"
#include "platform/framework/HostDataset.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/gis/HostApplication.h"

#include <cstdint>
#include <string>

namespace tov {

class ListControl;

// The method chooser, first page of Study Area Setup: a creation method from
// the data set's registered study area tasks, or a saved study area to open;
// the manage dialog is reached from here. The main task hands it the
// application, the data manager and the data set, calls InitializeDialog
// once and reads m_Result, m_Way, m_pSSATask, m_bFromMap and m_sSAName after
// each showing.
class CreateSAMainDialog : public WizardPage {
public:
  // Ways (m_Way).
  static constexpr int32_t kWayCreate = 0;
  static constexpr int32_t kWayOpen = 1;

  CreateSAMainDialog();

  int32_t m_Way = kWayCreate;
  HostDatasetPtr m_pDataSet;
  TaskDescriptorPtr m_pSSATask; // the chosen method's descriptor
  HostApplicationPtr m_pApplication;
  DataManagerPtr m_pDataManager;
  bool m_bFromMap = false; // regions are picked on a map rather than from a list
  std::string m_sSAName;   // the saved study area chosen for opening

  // Lists the methods and the saved study areas. A host failure (no focus
  // map, say) passes to the caller.
  void InitializeDialog() override;
  void ResetParams() override;

protected:
  void Form_Activate() override { ResetParams(); }

private:
  void CreateSAOption_Click();
  void OpenSAOption_Click();
  void SANameCombo_GotFocus();
  void SATasksList_Click();
  void NextButton_Click();
  void ManageSAButton_Click();
  void ShowManageDialog();

  std::shared_ptr<ListControl> TasksList();
  std::shared_ptr<ListControl> NameCombo();
  // The first method whose caption is the selected list entry, or no object.
  TaskDescriptorPtr SelectedMethod();
  // Fills the combo with the catalogue's names and selects the entry equal
  // to name (the first when none is); false when there are none.
  bool FillNameCombo(const std::string& name);
  void SetNextCaption(const char* resourceId);

  // The "SetupStudyArea" descriptor whose children the list shows.
  TaskDescriptorPtr m_setupTask;
  // Set while the page itself changes the combo's entry, which is no choice
  // of the user's.
  bool m_fillingCombo = false;
};

} // namespace tov
