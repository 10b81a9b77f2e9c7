#pragma once
#include "host/gui/controls/ControlAdapter.h"

namespace tov {

// A text box. Keys typed at the end of its text go through the form one by
// one, so that its handlers may refuse them, and the widget then shows what
// the form holds; edits inside the text reach the form as the new text.
class TextBoxAdapter : public ControlAdapter {
public:
  QWidget* Make(FormDialog& dialog, const ControlPtr& control) const override;
  void Show(Control& control, QWidget& widget) const override;
};

} // namespace tov
