#pragma once
#include "pages/WizardPage.h"

namespace tov {

// The ring size page: the radius of the ring and its unit. A radius is
// usable when 0 < r < 40000, in miles or kilometres alike.
class SelectRingSizeDialog : public WizardPage {
public:
  SelectRingSizeDialog();

  // The radius as last converted from FirstText.
  double m_dFirst = 0.0;
  // True: miles; false: kilometres.
  bool m_bMiles = false;

  // "UnitMiles" ("True" exactly means miles) and "First" (the radius text).
  void ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  void WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  // Miles unless a unit was read; the result -1; options, radius text and
  // the Next button from the values.
  void InitializeDialog() override;
  // The result is set once per run, in InitializeDialog.
  void ResetParams() override {}

protected:
  // Texts and layout, then InitializeDialog: a page shown without its task's
  // set-up still starts in miles with Next disabled.
  void Form_Load() override;
  // The close box cancels; with no reset between showings the result would
  // otherwise still hold the previous showing's Next.
  void Form_QueryUnload(int& cancel, int unloadMode) override;

private:
  void CheckRadius();
  void FirstText_Change();

  bool m_read = false;
};

} // namespace tov
