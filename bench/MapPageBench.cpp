// The map page of counties picked on a map, as a user meets it: Study Area
// Setup opens it on the sample data set (all 3,230 counties), the Labels
// button pressed, the window's map canvas drawn offscreen at 1200 x 900,
// and a click at a point inside a county answered (the selection by shape
// and the redraw).
//
// Two views: the one the page opens with (the whole country; the counties'
// labels are set to show only from 1:5,000,000 in, so none are drawn
// there) and a view of the middle of the country at 1:4,500,000, where
// every county in sight has its label placed.
#include "bench/QtBenchMain.h"
#include "bench/BenchSupport.h"

#include "host/framework/Analysis.h"
#include "host/framework/MethodDescriptor.h"
#include "host/gui/FormDialog.h"
#include "host/gui/MapCanvas.h"
#include "host/gui/QtPresenter.h"
#include "host/gui/RegisterHostGuiClasses.h"
#include "host/render/MapRenderer.h"
#include "host/session/HostTaskRun.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/UserActions.h"
#include "platform/framework/HostDataset.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Map.h"
#include "platform/gis/Point.h"
#include "platform/gis/SpatialReferenceFactory.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <QApplication>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace tov::bench {
namespace {

constexpr int kWidth = 1200, kHeight = 900;
// A point in Polk County, Iowa (longitude, latitude).
constexpr double kClickLon = -93.57, kClickLat = 41.68;
// The labelled view: its centre and scale.
constexpr double kViewLon = -93.0, kViewLat = 40.0, kViewScale = 4500000;

// The analysis the runs share, opened once; let go before the application
// ends.
AnalysisPtr& SampleAnalysis() {
  static AnalysisPtr analysis;
  return analysis;
}

[[noreturn]] void Fail(const char* why) {
  std::fprintf(stderr, "bench_map_page: %s\n", why);
  std::exit(2);
}

// Longitude and latitude in the map control's system.
QPointF MapPointOf(const MapCanvas& canvas, double lon, double lat) {
  auto point = CreateAs<Point>(kPointProgId);
  point->PutCoords(lon, lat);
  point->SetSpatialReference(
      CreateAs<SpatialReferenceFactory>(kSpatialReferenceFactoryProgId)->CreateGeographicCoordinateSystem(4269));
  point->Project(canvas.Control()->SpatialReference());
  return QPointF(point->X(), point->Y());
}

// Counts the canvas's paints, so that a frame that drew nothing is noticed.
class PaintCounter : public QObject {
public:
  long paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// What one benchmark does on the open page.
using PageWork = std::function<void(Form& page, MapCanvas& canvas)>;

// Runs Study Area Setup as a user does: the counties' method chosen with
// "on the map", and on the map page, sized so that its canvas is 1200 x 900
// with Labels pressed, work runs; then the page is cancelled.
void OnMapPage(const PageWork& work) {
  AnalysisPtr& analysis = SampleAnalysis();
  if (!analysis) {
    RegisterAllHostClasses();
    RegisterHostGuiClasses();
    analysis = OpenAnalysis(FreshFolder("map_page") + "/analysis", "USA");
  }
  auto presenter = std::make_shared<QtPresenter>();
  SetPresenter(presenter);
  presenter->SetMsgBoxAnswer([](const std::string& text, int32_t style) {
    std::fprintf(stderr, "bench_map_page: message: %s\n", text.c_str());
    return MsgBoxCloseAnswer(style);
  });
  HostDatasetPtr dataset = analysis->dataManager->DataSetByName("USA");
  TaskDescriptorPtr method = FindMethodDescriptor(dataset, kMapListMethod);
  if (!method) Fail("the sample data set has no map list method");
  const std::string caption = method->Caption();
  bool worked = false;
  presenter->SetOnShown([&](Form& form, QWidget& dialog) {
    if (form.Name() == "CreateSAMainDialog") {
      auto tasks = std::dynamic_pointer_cast<ListControl>(form.Ctl("SATasksList"));
      for (long i = 0; tasks && i < tasks->ListCount(); ++i)
        if (tasks->List(i) == caption) UserActions::Select(form, "SATasksList", i);
      UserActions::Click(form, "FromMapOption");
      UserActions::Click(form, "NextButton");
    } else if (form.Name() == "SelectFromMapDialog") {
      auto* canvas = dialog.findChild<MapCanvas*>("MapControl");
      if (!canvas) Fail("the map page has no map canvas");
      for (int attempt = 0; attempt < 3 && canvas->size() != QSize(kWidth, kHeight); ++attempt) {
        dialog.resize(dialog.size() + QSize(kWidth, kHeight) - canvas->size());
        QApplication::processEvents();
      }
      if (canvas->size() != QSize(kWidth, kHeight)) Fail("the map canvas cannot be made 1200 x 900");
      UserActions::ToolbarButton(form, "Toolbar1", "ShowLabels");
      QApplication::processEvents();
      work(form, *canvas);
      worked = true;
    }
    if (form.Visible()) UserActions::Click(form, "CancelButton");
    if (form.Visible()) form.CloseBox();
    if (!form.Visible())
      if (FormDialog* d = presenter->DialogOf(form)) d->EndShowing();
  });
  RunHostTask(*analysis);
  SetPresenter(nullptr);
  if (!worked) Fail("Study Area Setup did not open the map page");
}

// Puts the labelled view (by centre and scale) on the page's map. The scale
// of a map in degrees depends on the latitude: a few rounds settle it.
void ShowLabelledView(MapCanvas& canvas) {
  const QPointF centre = MapPointOf(canvas, kViewLon, kViewLat);
  for (int round = 0; round < 4; ++round) {
    const MapViewport now = canvas.Viewport();
    const double unitsPerPixel =
        now.Resolution() * kViewScale / MapRenderer::ScaleOf(*canvas.Control()->Map(), now);
    auto extent = CreateAs<Envelope>(kEnvelopeProgId);
    extent->PutCoords(centre.x() - unitsPerPixel * kWidth / 2, centre.y() - unitsPerPixel * kHeight / 2,
                      centre.x() + unitsPerPixel * kWidth / 2, centre.y() + unitsPerPixel * kHeight / 2);
    extent->SetSpatialReference(canvas.Control()->SpatialReference());
    canvas.Control()->SetExtent(extent);
  }
  QApplication::processEvents();
}

void UseView(MapCanvas& canvas, long view) {
  if (view == 1) ShowLabelledView(canvas);
}

// One frame as the page asks for it: the map control refreshed, the canvas
// painted.
void Frame(MapCanvas& canvas, PaintCounter& counter) {
  const long before = counter.paints;
  canvas.Control()->Refresh();
  canvas.repaint();
  if (counter.paints == before) Fail("the canvas did not paint");
}

void Counters(benchmark::State& state, MapCanvas& canvas) {
  state.counters["scale"] = MapRenderer::ScaleOf(*canvas.Control()->Map(), canvas.Viewport());
  state.counters["width"] = canvas.width();
  state.counters["height"] = canvas.height();
}

// The first frame: the canvas forgets the shapes it read (as after the data
// changed), so the frame reads the counties again, their label texts and
// label points.
void BM_MapPageFirstFrame(benchmark::State& state) {
  OnMapPage([&](Form&, MapCanvas& canvas) {
    UseView(canvas, state.range(0));
    PaintCounter counter;
    canvas.installEventFilter(&counter);
    for (auto _ : state) {
      const auto t0 = std::chrono::steady_clock::now();
      canvas.Reload();
      Frame(canvas, counter);
      state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    canvas.removeEventFilter(&counter);
    Counters(state, canvas);
  });
}
BENCHMARK(BM_MapPageFirstFrame)->Arg(0)->Arg(1)->ArgName("view")->UseManualTime()->Iterations(3)->Unit(
    benchmark::kMillisecond);

// Every frame after the first: all counties (and, in view 1, their labels).
void BM_MapPageFrame(benchmark::State& state) {
  OnMapPage([&](Form&, MapCanvas& canvas) {
    UseView(canvas, state.range(0));
    PaintCounter counter;
    canvas.installEventFilter(&counter);
    Frame(canvas, counter);
    for (auto _ : state) Frame(canvas, counter);
    canvas.removeEventFilter(&counter);
    Counters(state, canvas);
  });
}
BENCHMARK(BM_MapPageFrame)->Arg(0)->Arg(1)->ArgName("view")->Unit(benchmark::kMillisecond);

// A click inside a county: pressed and let go at one pixel, the page
// selects the county under it and the canvas draws the selection.
void BM_MapPageClick(benchmark::State& state) {
  OnMapPage([&](Form&, MapCanvas& canvas) {
    UseView(canvas, state.range(0));
    PaintCounter counter;
    canvas.installEventFilter(&counter);
    Frame(canvas, counter);
    const MapViewport view = canvas.Viewport();
    const QPointF at = MapPointOf(canvas, kClickLon, kClickLat);
    const QPointF pixel = view.ToPixel(at.x(), at.y());
    MapPtr map = canvas.Control()->Map();
    for (auto _ : state) {
      const long before = counter.paints;
      // The let-go is queued: the press blocks in the page's rectangle
      // tracking until it arrives.
      QCoreApplication::postEvent(&canvas, new QMouseEvent(QEvent::MouseButtonRelease, pixel, pixel, pixel,
                                                           Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
      QMouseEvent press(QEvent::MouseButtonPress, pixel, pixel, pixel, Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
      QCoreApplication::sendEvent(&canvas, &press);
      canvas.repaint();
      if (counter.paints == before) Fail("the click drew nothing");
      if (map->SelectionCount() != 1) Fail("the click did not select one county");
    }
    canvas.removeEventFilter(&counter);
    Counters(state, canvas);
  });
}
BENCHMARK(BM_MapPageClick)->Arg(0)->Arg(1)->ArgName("view")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tov::bench

int main(int argc, char** argv) {
  return tov::bench::RunQtBenchmarks(argc, argv, [] { tov::bench::SampleAnalysis().reset(); });
}
