#pragma once
#include "platform/forms/Form.h"
#include "platform/framework/DataManager.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/HostApplication.h"
#include "platform/runtime/Collection.h"

#include <cstdint>
#include <set>
#include <string>

namespace tov {

class ListControl;

// Lists the saved study areas of the analysis and renames, modifies or
// removes them, each button doing its work at once. The caller sets the data
// manager and the application, calls InitializeDialog with the name to
// preselect and shows the dialog; Close ends it (result 0).
class ManageSADialog : public Form {
public:
  ManageSADialog();

  int32_t m_Result = 0;
  DataManagerPtr m_pDataManager;
  HostApplicationPtr m_pApplication;

  // Fills the list with the catalogue's names; the entry equal to name (or
  // else the first) becomes the current one.
  void InitializeDialog(const std::string& name);
  void ResetParams() {}

protected:
  void Form_Load() override;
  void Form_Activate() override { ResetParams(); }

private:
  void RenameButton_Click();
  void ModifyButton_Click();
  void RemoveButton_Click();
  void RemoveAllButton_Click();
  void CloseButton_Click();

  std::shared_ptr<ListControl> NamesList();
  // The name of the current entry; "" when the list has none.
  std::string CurrentName();
  // Asks for a new name until one is accepted or the user cancels; then
  // gives the study area that name. The list is refilled either way.
  void Rename(const StudyAreaRecordPtr& record, const FeatureLayerPtr& fileLayer);
  // Every feature layer of every map that shows the study area's data gets
  // the new name, and so do the group layers holding it; the last one found
  // is returned.
  FeatureLayerPtr RenameMapLayers(const StudyAreaRecordPtr& record, const std::string& newName);
  // The settings that name the study area follow its new name.
  void KeepSettingsOnRename(const std::string& oldName, const std::string& newName);
  void RenameGroupLayers(const std::string& workspacePath, const std::string& layerName, const std::string& newName,
                         const std::string& datasetName, std::set<const void*>& renamed);
  // A study area whose layer file is missing: the message, then its removal.
  void RemoveMissing(const StudyAreaRecordPtr& record, const std::string& name);
  // Runs the delete function on the names and refills the list.
  void RemoveStudyAreas(const CollectionPtr& names);
};

} // namespace tov
