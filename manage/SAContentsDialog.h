#pragma once
#include "platform/forms/Form.h"

namespace tov {

// Shows a text (the caller puts it into ContentsText) with an OK button.
class SAContentsDialog : public Form {
public:
  SAContentsDialog();

protected:
  void Form_Load() override;
};

} // namespace tov
