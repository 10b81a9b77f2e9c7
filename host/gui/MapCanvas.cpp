#include "host/gui/MapCanvas.h"

#include "host/common/Paths.h"
#include "host/gui/QtInput.h"
#include "host/render/MapDecorations.h"
#include "platform/framework/ResourceFinder.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Map.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace tov {

MapCanvas::MapCanvas(HostMapControlPtr control, QWidget* parent) : QWidget(parent), m_control(std::move(control)) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setMinimumSize(40, 40);
  HostMapControl::Hooks hooks;
  hooks.redraw = [this](long phase) { Redraw(phase); };
  hooks.track = [this](TrackKind kind) { return Track(kind); };
  hooks.pan = [this] { PanInteractive(); };
  hooks.pointerChanged = [this] { UpdateCursor(); };
  m_control->SetHooks(std::move(hooks));
  UpdateCursor();
}

MapCanvas::~MapCanvas() {
  if (m_loop) m_loop->exit(1);
  // The control may outlive the widget: leave no dangling hooks behind.
  m_control->SetHooks({});
}

MapViewport MapCanvas::Viewport() const {
  auto extent = m_control->Extent();
  if (!extent || extent->Width() <= 0 || extent->Height() <= 0) extent = m_control->FullExtent();
  if (!extent || extent->Width() <= 0 || extent->Height() <= 0) return MapViewport(0, 0, 1, 1, size());
  return MapViewport(extent->XMin(), extent->YMin(), extent->XMax(), extent->YMax(), size());
}

void MapCanvas::Redraw(long) {
  m_dirty = true;
  update();
}

void MapCanvas::Reload() {
  m_renderer.ClearCache();
  Redraw(drawPhaseAll);
}

void MapCanvas::paintEvent(QPaintEvent*) {
  if (m_dirty || m_image.size() != size()) {
    m_image = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    m_image.fill(Qt::white);
    QPainter p(&m_image);
    QStringList undrawn, problems;
    try {
      m_renderer.Draw(p, *m_control->Map(), Viewport());
      for (const std::string& name : m_renderer.Undrawn()) undrawn << QString::fromStdString(name);
      for (const std::string& line : m_renderer.Errors()) problems << QString::fromStdString(line);
    } catch (const HostError& e) {
      // A map that cannot be drawn shows blank rather than ending the program.
      problems << QString::fromStdString(e.Description());
    }
    m_dirty = false;
    if (undrawn != m_undrawn || problems != m_problems) {
      m_undrawn = undrawn;
      m_problems = problems;
      if (m_onDrawProblems) m_onDrawProblems();
    }
  }
  QPainter painter(this);
  if (m_panning) {
    painter.fillRect(rect(), Qt::white);
    painter.drawImage(m_current - m_pressAt, m_image);
  } else {
    painter.drawImage(0, 0, m_image);
  }
  // Over the picture, so that it stays put while the map pans.
  if (m_control->Map()) MapDecorations::Draw(painter, *m_control->Map(), Viewport(), std::string());
  if (!m_panning && m_tracker) m_tracker->Paint(painter);
}

void MapCanvas::UpdateCursor() {
  switch (m_control->MousePointer()) {
  case mousePointerCrosshair: setCursor(Qt::CrossCursor); break;
  case mousePointerHand: setCursor(Qt::OpenHandCursor); break;
  case mousePointerCustom: {
    auto picture = std::dynamic_pointer_cast<ResourcePicture>(m_control->MouseIcon());
    QPixmap pixmap;
    if (picture && pixmap.load(QString::fromStdString(ToNativePath(picture->Path()))))
      setCursor(QCursor(pixmap, pixmap.width() / 2, pixmap.height() / 2));
    else
      setCursor(Qt::ArrowCursor);
    break;
  }
  default: setCursor(Qt::ArrowCursor); break;
  }
}

TrackedShape MapCanvas::Track(TrackKind kind) {
  TrackedShape shape;
  shape.Kind = kind;
  if (m_loop) return shape; // one track at a time
  m_tracker = MapTracker::Start(kind, m_pressAt);
  m_cancelled = false;
  const MapViewport viewport = Viewport();
  QEventLoop loop;
  m_loop = &loop;
  setFocus();
  m_finished = false;
  GrabMouse(true);
  update();
  const int code = loop.exec();
  GrabMouse(false);
  m_loop = nullptr;
  std::unique_ptr<MapTracker> tracker = std::move(m_tracker);
  update();
  if (m_cancelled || code != 0 || !tracker) return shape;
  return tracker->Result(viewport);
}

void MapCanvas::PanInteractive() {
  if (m_loop) return;
  const MapViewport viewport = Viewport();
  m_panning = true;
  m_cancelled = false;
  m_current = m_pressAt;
  QEventLoop loop;
  m_loop = &loop;
  m_finished = false;
  GrabMouse(true);
  const int code = loop.exec();
  GrabMouse(false);
  m_loop = nullptr;
  m_panning = false;
  if (!m_cancelled && code == 0 && m_current != m_pressAt) {
    // The map moves with the pointer: shift the extent the other way.
    const QPointF shift = viewport.ToMap(m_pressAt) - viewport.ToMap(m_current);
    auto extent = m_control->Extent();
    extent->PutCoords(extent->XMin() + shift.x(), extent->YMin() + shift.y(), extent->XMax() + shift.x(),
                      extent->YMax() + shift.y());
    m_control->SetExtent(extent);
  }
  Redraw(drawPhaseAll);
}

void MapCanvas::Finish(bool cancelled) {
  // Events already queued behind the one that ended the track are ignored.
  if (!m_loop || m_finished) return;
  m_finished = true;
  m_cancelled = cancelled;
  m_loop->exit(0);
}

void MapCanvas::GrabMouse(bool grab) {
  // Platforms without pointer grabs (offscreen) deliver to the widget anyway.
  if (QGuiApplication::platformName() == "offscreen") return;
  if (grab) grabMouse();
  else releaseMouse();
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
  const QPointF at = event->position();
  if (m_loop) {
    if (!m_finished && m_tracker && event->button() == Qt::LeftButton) {
      m_tracker->Press(at);
      update();
    }
    return;
  }
  m_pressAt = at;
  m_current = at;
  if (!m_onMouseDown) return;
  const QPointF map = Viewport().ToMap(at);
  m_onMouseDown(PlatformButton(event->button()), PlatformShift(event->modifiers()), at.x(), at.y(), map.x(), map.y());
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (!m_loop || m_finished) return;
  m_current = event->position();
  if (m_tracker) m_tracker->Move(m_current);
  update();
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (!m_loop || m_finished) return;
  m_current = event->position();
  if (m_panning || (m_tracker && m_tracker->Release(m_current))) Finish(false);
}

void MapCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  if (m_loop) {
    if (!m_finished && m_tracker && m_tracker->DoubleClick(event->position())) Finish(false);
    return;
  }
  mousePressEvent(event);
}

void MapCanvas::keyPressEvent(QKeyEvent* event) {
  if (m_loop && event->key() == Qt::Key_Escape) {
    Finish(true);
    return;
  }
  if (m_loop && event->key() == Qt::Key_Backspace) {
    if (!m_finished && m_tracker && m_tracker->DropLastVertex()) update();
    return;
  }
  QWidget::keyPressEvent(event);
}

} // namespace tov
