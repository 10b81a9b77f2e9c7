#include "host/gui/controls/ImageAdapter.h"

#include "host/gui/FormDialog.h"

#include "host/common/Paths.h"

#include <QLabel>
#include <QPixmap>

namespace tov {

QWidget* ImageAdapter::Make(FormDialog& dialog, const ControlPtr&) const { return new QLabel(&dialog); }

void ImageAdapter::Show(Control& c, QWidget& w) const {
  QPixmap pixmap;
  if (!c.Picture().empty() && pixmap.load(Q(ToNativePath(c.Picture())))) static_cast<QLabel&>(w).setPixmap(pixmap);
}

} // namespace tov
