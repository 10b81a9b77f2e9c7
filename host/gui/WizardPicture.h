#pragma once
#include "host/gui/FormKeyboard.h"

#include <QPixmap>
#include <QRect>
#include <QSize>

namespace tov {

// Whether an image box of this size is the band a wizard's page keeps on
// its left for a picture: tall and narrow, and wide enough to show one.
bool IsWizardBand(QSize size);

// The program's wizard picture (resources/wizard.svg) drawn to fill size,
// keeping its proportions and centred; a null pixmap when it cannot be read.
QPixmap WizardPicture(QSize size, double devicePixelRatio = 1);

// Where a wizard's page (a form with a Next button) that has no image box
// of its own leaves the band on its left empty: from its top down to the
// line above its buttons, as wide as its controls leave free. An empty
// rectangle when it leaves none.
QRect EmptyWizardBand(const formkeys::Shown& shown);

} // namespace tov
