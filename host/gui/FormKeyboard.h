#pragma once
#include "platform/forms/Control.h"

#include <QString>

#include <utility>
#include <vector>

class QPushButton;
class QWidget;

namespace tov {

// What a keyboard user and assistive tools need of a form's dialog, decided
// by the dialog from what the form shows: pages know nothing of it.
namespace formkeys {

// A control and the widget that shows it, in form order.
using Shown = std::vector<std::pair<const Control*, QWidget*>>;

// The button Enter presses: the one that goes on (Next on a wizard's page,
// OK in a dialog, Yes on a question, Close where closing is all a dialog
// does); null when the form has none of them. The choice does not follow
// whether the button is enabled: a page whose Next waits for input takes
// Enter once Next is enabled, and never gives it to another button meanwhile.
QPushButton* DefaultButton(const Shown& shown);

// Tab goes through the widgets as they are laid out: row by row from the
// top, each row from the left. Widgets inside a row may differ in height, so
// a row is the widgets whose tops lie within a few pixels of its first.
void LayoutTabOrder(QWidget& dialog, const Shown& shown);

// The name assistive tools read for a control: its caption without access
// keys and arrows; for a box or list without one, the label that sits
// just above it or to its left; else its tool tip; else words made of its
// name ("ZipCodesText" -> "Zip codes").
QString AccessibleName(const Shown& shown, const Control& control, const QWidget& widget);

// A caption as read aloud: "&Next >" -> "Next", "Add A&ll >>" -> "Add All".
QString SpokenCaption(const QString& caption);

} // namespace formkeys

} // namespace tov
