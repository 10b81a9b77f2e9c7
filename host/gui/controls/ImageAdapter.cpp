#include "host/gui/controls/ImageAdapter.h"

#include "host/gui/FormDialog.h"
#include "host/gui/WizardPicture.h"

#include "host/common/Paths.h"

#include <QLabel>
#include <QPixmap>
#include <QStyle>

namespace tov {

QWidget* ImageAdapter::Make(FormDialog& dialog, const ControlPtr&) const {
  auto* w = new QLabel(&dialog);
  w->setAlignment(Qt::AlignCenter);
  return w;
}

void ImageAdapter::Show(Control& c, QWidget& w) const {
  auto& label = static_cast<QLabel&>(w);
  QPixmap pixmap;
  if (!c.Picture().empty() && pixmap.load(Q(ToNativePath(c.Picture())))) {
    label.setPixmap(pixmap);
    return;
  }
  // Without a picture of its own, the band a wizard's page keeps on its
  // left shows the program's picture, and the small square beside a
  // question the question mark.
  const QSize size = label.size();
  if (IsWizardBand(size)) label.setPixmap(WizardPicture(size, label.devicePixelRatioF()));
  else if (size.width() <= 48 && size.width() == size.height())
    label.setPixmap(label.style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(size));
}

} // namespace tov
