#include "host/gui/StatusReadouts.h"

#include "host/gis/HostSpatialReference.h"
#include "host/gui/MapCanvas.h"
#include "host/gui/MapScale.h"
#include "platform/gis/Map.h"

#include <ogr_spatialref.h>

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QStatusBar>

#include <cmath>

namespace tov {

namespace {

QString Degrees(double value, char positive, char negative) {
  return QString("%1\u00b0 %2").arg(std::abs(value), 0, 'f', 5).arg(QChar(value < 0 ? negative : positive));
}

// The unit's short name: "m", "ft", "\u00b0".
QString UnitOf(const OGRSpatialReference* system) {
  if (!system) return QString();
  if (system->IsGeographic()) return QString("\u00b0");
  const char* name = nullptr;
  const double metres = system->GetLinearUnits(&name);
  if (std::abs(metres - 1) < 1e-9) return "m";
  if (std::abs(metres - 0.3048) < 1e-6 || std::abs(metres - 0.30480060960122) < 1e-6) return "ft";
  return name ? QString::fromUtf8(name) : QString();
}

} // namespace

StatusReadouts::StatusReadouts(MapCanvas& canvas, QStatusBar& bar) : QObject(&bar), m_canvas(canvas) {
  m_lonLat = new QLabel(&bar);
  m_lonLat->setObjectName("PointerLonLat");
  m_lonLat->setAccessibleName(tr("Pointer longitude and latitude"));
  m_lonLat->setMinimumWidth(200);
  m_mapUnits = new QLabel(&bar);
  m_mapUnits->setObjectName("PointerMapUnits");
  m_mapUnits->setAccessibleName(tr("Pointer in map units"));
  m_mapUnits->setMinimumWidth(190);
  auto* scale = new QWidget(&bar);
  auto* row = new QHBoxLayout(scale);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(2);
  auto* label = new QLabel(tr("S&cale 1:"), scale);
  m_scaleBox = new QLineEdit(scale);
  m_scaleBox->setObjectName("ScaleBox");
  m_scaleBox->setAccessibleName(tr("Map scale"));
  m_scaleBox->setToolTip(tr("The map's scale: type one (such as 250000) and press Enter"));
  m_scaleBox->setFixedWidth(110);
  label->setBuddy(m_scaleBox);
  row->addWidget(label);
  row->addWidget(m_scaleBox);
  bar.addPermanentWidget(m_lonLat);
  bar.addPermanentWidget(m_mapUnits);
  bar.addPermanentWidget(scale);
  connect(m_scaleBox, &QLineEdit::returnPressed, this, [this] { ApplyTypedScale(); });
  // Leaving the box without Enter puts back the scale the map has.
  connect(m_scaleBox, &QLineEdit::editingFinished, this, [this] {
    if (!m_scaleBox->hasFocus()) ShowScale();
  });
  canvas.installEventFilter(this);
}

StatusReadouts::~StatusReadouts() = default;

QString StatusReadouts::LonLatText() const { return m_lonLat->text(); }
QString StatusReadouts::MapUnitsText() const { return m_mapUnits->text(); }

bool StatusReadouts::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &m_canvas) {
    if (event->type() == QEvent::MouseMove) ShowPointer(static_cast<QMouseEvent*>(event)->position());
    else if (event->type() == QEvent::Leave) {
      m_lonLat->clear();
      m_mapUnits->clear();
    } else if (event->type() == QEvent::Paint || event->type() == QEvent::Resize) {
      // After the canvas has drawn: the scale it drew at.
      QMetaObject::invokeMethod(this, [this] { ShowScale(); }, Qt::QueuedConnection);
    }
  }
  return false;
}

void StatusReadouts::ShowPointer(const QPointF& pixel) {
  const MapPtr map = m_canvas.Control()->Map();
  if (!map) return;
  const QPointF at = m_canvas.Viewport().ToMap(pixel);
  const OGRSpatialReference* system = HostSpatialReference::OgrOf(map->SpatialReference());
  const QString unit = UnitOf(system);
  const QLocale locale = QLocale::system();
  if (system && system->IsGeographic())
    m_mapUnits->setText(tr("Map: %1, %2").arg(at.x(), 0, 'f', 5).arg(at.y(), 0, 'f', 5));
  else
    m_mapUnits->setText(tr("Map: %1 %3, %2 %3")
                            .arg(locale.toString(at.x(), 'f', 1), locale.toString(at.y(), 'f', 1), unit));
  if (!system) {
    m_lonLat->clear();
    return;
  }
  if (system != m_system) {
    m_system = system;
    OGRSpatialReference lonLat;
    lonLat.importFromEPSG(4326);
    lonLat.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    m_toLonLat.reset(OGRCreateCoordinateTransformation(system, &lonLat));
  }
  double x = at.x(), y = at.y();
  if (m_toLonLat && m_toLonLat->Transform(1, &x, &y) && std::isfinite(x) && std::isfinite(y))
    m_lonLat->setText(Degrees(y, 'N', 'S') + ", " + Degrees(x, 'E', 'W'));
  else
    m_lonLat->setText(tr("outside the map's system"));
}

void StatusReadouts::ShowScale() { ShowScale(false); }

void StatusReadouts::ShowScale(bool typed) {
  const double scale = CanvasScale(m_canvas);
  if (!(scale > 0)) return;
  if (!m_scaleBox->hasFocus()) m_scaleBox->setText(QString::fromStdString(FormatScale(scale)));
  if (std::abs(scale - m_scale) > 1e-9 * scale) {
    m_scale = scale;
    if (m_onScale) m_onScale(scale, typed);
  }
}

void StatusReadouts::ApplyTypedScale() {
  const double scale = ParseScale(m_scaleBox->text().toStdString());
  if (!SetCanvasScale(m_canvas, scale)) {
    auto* bar = qobject_cast<QStatusBar*>(parent());
    if (bar) bar->showMessage(tr("\"%1\" is not a scale: type a number such as 250000 or 1:250000").arg(m_scaleBox->text()), 5000);
  }
  // Back to the map: the keys work there again.
  if (m_scaleBox->hasFocus()) m_canvas.setFocus();
  ShowScale(true);
}

} // namespace tov
