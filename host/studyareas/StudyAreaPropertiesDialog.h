#pragma once
#include "platform/forms/Form.h"

#include <cstdint>
#include <string>

namespace tov {

// The host's property sheet page of one study area: its properties as text,
// OK and Cancel, and the method's rebuild button when the method has one.
class StudyAreaPropertiesDialog : public Form {
public:
  static constexpr int32_t kOk = 1;
  static constexpr int32_t kCancel = -1;
  static constexpr int32_t kRebuild = 3;

  StudyAreaPropertiesDialog();

  // Fills the page: the title names the study area; rebuildCaption "" hides
  // the rebuild button.
  void Show(const std::string& studyAreaName, const std::string& propertiesText, const std::string& rebuildCaption);

  int32_t m_Result = kCancel;

protected:
  void Form_Activate() override;
};

} // namespace tov
