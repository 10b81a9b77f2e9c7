// The list page of regions picked by name at the sizes of the sample data
// (3,230 counties, 33,788 ZIP areas): FromList refilled through the form
// model at each key typed in the search box, the window's list widget shown
// anew from it (offscreen), and the page filled from a layer.
#include "bench/QtBenchMain.h"
#include "bench/BenchSupport.h"

#include "host/framework/Analysis.h"
#include "host/framework/MethodDescriptor.h"
#include "host/gui/FormDialog.h"
#include "host/gui/QtPresenter.h"
#include "methods/maplist/SelectFromListDialog.h"
#include "methods/maplist/TovSSAMapListTask.h"
#include "platform/forms/ListControl.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <QApplication>
#include <QListWidget>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace tov::bench {
namespace {

// Unique place-like names, "Ashbrookton, NY": three syllables and a state.
std::vector<std::string> PlaceNames(size_t count) {
  static const char* const syllables[] = {"ash", "brook", "ton", "ing", "mar", "field", "dale", "ville", "glen",
                                          "port", "ridge", "spring", "wood", "ford", "ham",  "lin",   "mont", "new",
                                          "oak",  "rock", "sal",   "well", "burg", "chest", "ber",   "ca"};
  static const char* const states[] = {"NY", "CA", "TX", "IA", "OH", "PA", "WA", "GA", "MN", "VA"};
  constexpr size_t n = sizeof syllables / sizeof *syllables;
  std::vector<std::string> names;
  for (size_t i = 0; names.size() < count; ++i) {
    std::string name = std::string(syllables[i % n]) + syllables[(i / n) % n] + syllables[(i / (n * n)) % n];
    name[0] = static_cast<char>(name[0] - 'a' + 'A');
    names.push_back(name + ", " + states[(i / (n * n * n)) % 10]);
  }
  return names;
}

// Searches of one, three and six letters (0: none, the whole list).
std::string SearchOf(long letters) {
  switch (letters) {
  case 1: return "a";
  case 3: return "ton";
  case 6: return "ington";
  default: return "";
  }
}

std::shared_ptr<SelectFromListDialog> PageOf(size_t count, const std::string& search) {
  RegisterAllHostClasses();
  auto page = std::make_shared<SelectFromListDialog>();
  for (const std::string& name : PlaceNames(count)) page->m_pRegionsColl->Add(name, name);
  page->Ctl("SearchTextBox")->SetText(search);
  page->ResetParams();
  return page;
}

void BM_FilterFromList(benchmark::State& state) {
  auto page = PageOf(static_cast<size_t>(state.range(0)), SearchOf(state.range(1)));
  auto from = page->CtlAs<ListControl>("FromList");
  for (auto _ : state) {
    // What a key typed in the search box does.
    page->Fire("SearchTextBox", EventKind::KeyUp);
    benchmark::DoNotOptimize(from->ListCount());
  }
  state.counters["shown"] = static_cast<double>(from->ListCount());
}
BENCHMARK(BM_FilterFromList)
    ->ArgsProduct({{3230, 33788}, {1, 3, 6}})
    ->ArgNames({"names", "letters"})
    ->Unit(benchmark::kMillisecond);

// The page's window as the Qt presenter builds it; FromList's widget shown
// anew from the model, as after a key typed, and drawn.
void BM_ListWidgetRefill(benchmark::State& state) {
  auto page = PageOf(static_cast<size_t>(state.range(0)), SearchOf(state.range(1)));
  auto from = page->CtlAs<ListControl>("FromList");
  QtPresenter presenter;
  FormDialog dialog(*page, presenter, nullptr);
  dialog.show();
  auto* widget = static_cast<QListWidget*>(dialog.WidgetOf(from.get()));
  for (auto _ : state) {
    // A widget that still shows the same entries keeps them: emptied, it
    // is filled anew as after a key that changed them.
    widget->clear();
    dialog.Sync(from.get());
    QApplication::processEvents();
  }
  state.counters["shown"] = static_cast<double>(widget->count());
}
BENCHMARK(BM_ListWidgetRefill)
    ->ArgsProduct({{3230, 33788}, {0, 1, 3, 6}})
    ->ArgNames({"names", "letters"})
    ->Unit(benchmark::kMillisecond);

// A data set whose map list method picks the sample data's ZIP areas by
// their code: 33,788 names read from the layer.
std::shared_ptr<TovSSAMapListTask> ZipListTask(AnalysisPtr& analysis) {
  const std::string folder = FreshFolder("region_list");
  std::filesystem::create_directories(folder + "/data/ZIPS");
  std::ofstream(folder + "/data/ZIPS/dataset.json") << R"({
  "name": "ZIPS", "geopackage": ")" << SampleGeoPackage() << R"(",
  "layers": [ { "name": "ZIP areas", "sourceName": "zip_areas", "mapLayerName": "ZIP areas", "reference": true } ],
  "configuration": { "children": [ { "name": "Projections", "properties": {}, "children": [
    { "name": "Projection.ResultantDefault", "properties": { "Type": "Projected", "ID": "5070" },
      "children": [] } ] } ] },
  "tasks": [ { "name": "SetupStudyArea", "caption": "Study Area Setup", "properties": {}, "layers": [],
    "children": [ { "name": "SetupStudyArea.MapList", "caption": "ZIP areas by code",
      "properties": { "MainLayer": "ZIP areas", "ListDialogLabel": "ZIP codes:", "MainLayerIDFieldName": "ZIP" },
      "layers": [ { "name": "ZIP areas", "properties": { "ListField": "ZIP" } } ], "children": [] } ] } ]
})";
  analysis = OpenAnalysis(folder + "/analysis", "ZIPS", folder + "/data");
  HostDatasetPtr dataset = analysis->dataManager->DataSetByName("ZIPS");
  auto task = std::dynamic_pointer_cast<TovSSAMapListTask>(CreateObject(kMapListTaskProgId));
  Variant value(FindMethodDescriptor(dataset, kMapListMethod));
  task->SetParam("SSATask", value);
  value = Variant(dataset);
  task->SetParam("DataSet", value);
  if (!task->Init(analysis->dataManager, analysis->application)) {
    fprintf(stderr, "bench_region_list: the ZIP list method does not start\n");
    std::exit(2);
  }
  return task;
}

void BM_InsertRegionNames(benchmark::State& state) {
  RegisterAllHostClasses();
  AnalysisPtr analysis;
  auto task = ZipListTask(analysis);
  long names = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto page = std::make_shared<SelectFromListDialog>();
    page->Load();
    state.ResumeTiming();
    task->InsertRegionNames(*page);
    names = page->m_pRegionsColl->Count();
  }
  state.counters["names"] = static_cast<double>(names);
}
BENCHMARK(BM_InsertRegionNames)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tov::bench

int main(int argc, char** argv) { return tov::bench::RunQtBenchmarks(argc, argv); }
