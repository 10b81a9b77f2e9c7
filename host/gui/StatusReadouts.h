#pragma once
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class OGRCoordinateTransformation;
class QLabel;
class QLineEdit;
class QStatusBar;

namespace tov {

class MapCanvas;

// The status bar's readouts of the map: where the pointer is, in longitude
// and latitude and in the map's own units, and the scale as 1:N in a box the
// user can type a scale into (Enter shows the map at it).
class StatusReadouts : public QObject {
public:
  StatusReadouts(MapCanvas& canvas, QStatusBar& bar);
  ~StatusReadouts() override;

  QString LonLatText() const;
  QString MapUnitsText() const;
  QLineEdit* ScaleBox() const { return m_scaleBox; }
  // Told when the scale the map is drawn at changes (the layer tree greys
  // the layers beyond their range); typed when the user typed it, and the
  // map's new extent is the user's change.
  void SetScaleChangedHandler(std::function<void(double scale, bool typed)> handler) { m_onScale = std::move(handler); }
  // Shows where pixel (on the canvas) lies on the map.
  void ShowPointer(const QPointF& pixel);
  // Shows the scale the map is drawn at now.
  void ShowScale();
  // What the user typed into the scale box, as Enter there applies it.
  void ApplyTypedScale();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void ShowScale(bool typed);

  MapCanvas& m_canvas;
  QLabel* m_lonLat = nullptr;
  QLabel* m_mapUnits = nullptr;
  QLineEdit* m_scaleBox = nullptr;
  double m_scale = 0;
  std::function<void(double, bool)> m_onScale;
  // To longitude and latitude from the map's system, made once per system.
  const void* m_system = nullptr;
  std::unique_ptr<OGRCoordinateTransformation> m_toLonLat;
};

} // namespace tov
