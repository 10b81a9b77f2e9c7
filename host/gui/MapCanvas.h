#pragma once
#include "host/gis/HostMapControl.h"
#include "host/gui/tracking/MapTracker.h"
#include "host/render/MapRenderer.h"

#include <QImage>
#include <QPointF>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>

class QEventLoop;

namespace tov {

// The widget that shows a map control: draws its map through the renderer,
// raises mouse downs with pixel and map coordinates, and runs the blocking
// track calls (a tracker of the shape draws the rubber band) and pan in a
// nested event loop.
class MapCanvas : public QWidget {
public:
  // button 1 left, 2 right, 4 middle; shift 1 shift, 2 control, 4 alt.
  using MouseDownHandler = std::function<void(int button, int shift, double x, double y, double mapX, double mapY)>;
  // Told after a drawing whose problems differ from the last one's.
  using DrawProblemsHandler = std::function<void()>;

  explicit MapCanvas(HostMapControlPtr control, QWidget* parent = nullptr);
  ~MapCanvas() override;

  const HostMapControlPtr& Control() const { return m_control; }
  void SetMouseDownHandler(MouseDownHandler handler) { m_onMouseDown = std::move(handler); }
  void SetDrawProblemsHandler(DrawProblemsHandler handler) { m_onDrawProblems = std::move(handler); }
  // The layers the last drawing left out, by name, and one line each
  // ("LAYER: why") saying why; a map that could not be drawn at all is one
  // line without a layer.
  const QStringList& UndrawnLayers() const { return m_undrawn; }
  const QStringList& DrawProblems() const { return m_problems; }
  // The viewport of the map's current extent on this widget.
  MapViewport Viewport() const;
  // The blocking calls; empty shape when cancelled with Escape. While a
  // polygon is tracked, Backspace takes back its last vertex.
  TrackedShape Track(TrackKind kind);
  void PanInteractive();
  bool Tracking() const { return m_loop != nullptr; }
  // Forgets cached shapes (after data changed) and redraws.
  void Reload();

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  void Redraw(long phase);
  void UpdateCursor();
  void Finish(bool cancelled);
  void GrabMouse(bool grab);

  HostMapControlPtr m_control;
  MapRenderer m_renderer;
  QImage m_image;
  bool m_dirty = true;
  MouseDownHandler m_onMouseDown;
  DrawProblemsHandler m_onDrawProblems;
  QStringList m_undrawn, m_problems;
  // Tracking and panning state.
  QEventLoop* m_loop = nullptr;
  std::unique_ptr<MapTracker> m_tracker;
  bool m_panning = false;
  bool m_cancelled = false;
  bool m_finished = false;
  QPointF m_pressAt, m_current; // the press that began it, the pointer now
};

} // namespace tov
