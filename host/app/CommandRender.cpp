// tovana render: the focus map drawn to a PNG file, no display needed.
#include "host/app/Commands.h"

#include "host/app/ExtentOption.h"
#include "host/app/LonLatToMap.h"
#include "host/framework/JsonDataset.h"
#include "host/render/MapDecorations.h"
#include "host/render/MapRenderer.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/Variant.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <regex>
#include <sstream>
#include <vector>

namespace tov {

namespace {

QSize ParseSize(const std::string& text) {
  std::smatch m;
  static const std::regex pattern(R"((\d{1,5})[xX](\d{1,5}))");
  if (!std::regex_match(text, m, pattern)) throw CLI::ValidationError("--size", "give the size as WIDTHxHEIGHT, e.g. 800x600");
  const int w = std::stoi(m[1]), h = std::stoi(m[2]);
  if (w < 16 || h < 16 || w > 10000 || h > 10000)
    throw CLI::ValidationError("--size", "width and height must be between 16 and 10000 pixels");
  return QSize(w, h);
}

// The one line naming the current data set's sources, or "".
std::string AttributionOf(const Analysis& analysis) {
  auto dataset = std::dynamic_pointer_cast<JsonDataset>(
      analysis.dataManager->DataSetByName(analysis.extension->CurrentDatasetName()));
  return dataset ? dataset->Attribution() : std::string();
}

} // namespace

void AddRenderCommand(CLI::App& app, AppContext& context, CommandRunner& runner) {
  struct Options {
    std::string out;
    std::string size = "800x600";
    std::string extent;
    bool lonLat = false;
  };
  auto options = std::make_shared<Options>();
  CLI::App* render = app.add_subcommand("render", kRenderCommandSummary);
  render->add_option("--out", options->out, "PNG file to write")->required();
  render->add_option("--size", options->size, "Image size in pixels, WIDTHxHEIGHT")->capture_default_str();
  CLI::Option* extentOption = render->add_option(
      "--extent", options->extent,
      "Draw this extent instead of the map's own (which stays as it is): XMIN,YMIN,XMAX,YMAX in the map's "
      "coordinate system (metres in EPSG:5070 for the sample data set USA), or in longitude and latitude "
      "(degrees) with --lonlat");
  render->add_flag("--lonlat", options->lonLat,
                   "The extent is longitude and latitude in degrees (WGS 84), put into the map's system")
      ->needs(extentOption);
  render->callback([&context, &runner, options] {
    const QSize size = ParseSize(options->size);
    const std::vector<double> asked = options->extent.empty() ? std::vector<double>()
                                                              : ParseExtentOption(options->extent, options->lonLat);
    runner = [&context, options, size, asked] {
      // Text needs a GUI application; offscreen works without a display.
      std::unique_ptr<QGuiApplication> qt;
      if (!QGuiApplication::instance()) {
        if (!HasDisplay()) setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "tovana";
        static char* argv[] = {name, nullptr};
        qt = std::make_unique<QGuiApplication>(argc, argv);
      }
      AnalysisPtr analysis = context.OpenAnalysisOnce();
      MapDocumentPtr document = Must(analysis->application->Document(), "the document");
      MapPtr map = Must(document->FocusMap(), "the focus map");
      EnvelopePtr extent = Must(As<ActiveView>(map), "the map view")->Extent();
      if (!asked.empty()) {
        try {
          if (options->lonLat) {
            extent = LonLatExtentToMap(*map, asked[0], asked[1], asked[2], asked[3]);
          } else {
            extent = CreateAs<Envelope>(kEnvelopeProgId);
            extent->PutCoords(asked[0], asked[1], asked[2], asked[3]);
          }
        } catch (const HostError& e) {
          std::cerr << "tovana: the extent cannot be shown on the map: " << e.Description() << "\n";
          return kExitNothingMade;
        }
      }
      if (!extent || extent->Width() <= 0 || extent->Height() <= 0) extent = As<ActiveView>(map)->FullExtent();
      if (!extent || extent->Width() <= 0 || extent->Height() <= 0) {
        std::cerr << "tovana: the focus map shows no data; nothing to draw\n";
        return kExitNothingMade;
      }
      QImage image(size, QImage::Format_ARGB32);
      image.fill(Qt::white);
      MapRenderer renderer;
      {
        QPainter painter(&image);
        const MapViewport viewport(extent->XMin(), extent->YMin(), extent->XMax(), extent->YMax(), size);
        renderer.Draw(painter, *map, viewport);
        MapDecorations::Draw(painter, *map, viewport, AttributionOf(*analysis));
      }
      // The others are drawn; say which could not be, and why.
      for (const std::string& e : renderer.Errors()) std::cerr << "tovana: could not draw " << e << "\n";
      if (!image.save(QString::fromStdString(options->out), "PNG")) {
        std::cerr << "tovana: cannot write " << options->out << "\n";
        return kExitNothingMade;
      }
      std::cout << "Map drawn to " << options->out << "\n";
      return kExitOk;
    };
  });
}

} // namespace tov
