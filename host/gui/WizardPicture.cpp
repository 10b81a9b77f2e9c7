#include "host/gui/WizardPicture.h"

#include "host/framework/HostEnvironment.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <climits>
#include <QString>

#ifdef TOVANA_HAVE_QT_SVG
#include <QSvgRenderer>
#endif

namespace tov {

namespace {
// The band's margin from the page's edges, as the pages' own image boxes.
constexpr int kMargin = 8;
constexpr int kWidest = 120;
} // namespace

bool IsWizardBand(QSize size) { return size.width() >= 48 && size.height() >= size.width() * 3 / 2; }

QRect EmptyWizardBand(const formkeys::Shown& shown) {
  const QWidget* next = nullptr;
  for (const auto& [control, widget] : shown)
    if (control->Name() == "NextButton") next = widget;
  if (!next) return QRect();
  // The buttons' row, or the line drawn above it.
  int bottom = next->geometry().top();
  for (const auto& [control, widget] : shown)
    if (control->Kind() == ControlKind::Frame && widget->height() < kMargin && widget->geometry().top() < bottom)
      bottom = widget->geometry().top();
  int left = INT_MAX;
  for (const auto& [control, widget] : shown) {
    if (widget->isHidden() || widget->geometry().top() >= bottom) continue;
    if (control->Kind() == ControlKind::Image && IsWizardBand(widget->size())) return QRect();
    if (control->Kind() == ControlKind::Frame && widget->height() < kMargin) continue;
    left = std::min(left, widget->geometry().left());
  }
  if (left == INT_MAX || left - 2 * kMargin < 48) return QRect();
  const QRect band(kMargin, kMargin, std::min(left - 2 * kMargin, kWidest), bottom - 2 * kMargin);
  return IsWizardBand(band.size()) ? band : QRect();
}

QPixmap WizardPicture(QSize size, double devicePixelRatio) {
#ifdef TOVANA_HAVE_QT_SVG
  // Read once: every page of a run shows it.
  static QSvgRenderer renderer(QString::fromStdString(ResourceRoot() + "/wizard.svg"));
  if (!renderer.isValid() || size.isEmpty()) return QPixmap();
  QPixmap pixmap(size * devicePixelRatio);
  pixmap.setDevicePixelRatio(devicePixelRatio);
  pixmap.fill(Qt::transparent);
  QSizeF drawn = renderer.defaultSize();
  drawn.scale(QSizeF(size), Qt::KeepAspectRatio);
  QPainter painter(&pixmap);
  renderer.render(&painter, QRectF(QPointF((size.width() - drawn.width()) / 2, (size.height() - drawn.height()) / 2), drawn));
  return pixmap;
#else
  (void)size;
  (void)devicePixelRatio;
  return QPixmap();
#endif
}

} // namespace tov
