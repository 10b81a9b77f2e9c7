#pragma once
#include "platform/forms/Form.h"

#include <cstdint>
#include <string>

namespace tov {

// Asks whether one study area may be deleted: Yes, Yes to all or No.
class DeleteConfirmSADialog : public Form {
public:
  static constexpr int16_t kYesToAll = 0;
  static constexpr int16_t kYes = 1;
  static constexpr int16_t kNo = 2;
  // No button was pressed since the question was put (the close box).
  static constexpr int16_t kNoAnswer = -1;

  DeleteConfirmSADialog();

  // The answer; 0 once the dialog has loaded, so it must be reset before
  // every question: 0 means Yes to all.
  int16_t m_Result = kYesToAll;

  void ResetParams() { m_Result = kNoAnswer; }
  // Puts the question for the study area and shows the dialog modally;
  // returns the answer.
  int16_t Ask(const std::string& name);

protected:
  void Form_Load() override;
  void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
  void Answer(int16_t result);
};

} // namespace tov
