// tovana gui: the window front end; --screenshots saves a PNG of the window
// and of each dialog it opens, then ends.
#include "host/app/Commands.h"

#include "host/forms/HostSystemCalls.h"
#include "host/gui/DesktopSession.h"
#include "host/gui/MainWindow.h"
#include "host/gui/QtPresenter.h"
#include "host/gui/RegisterHostGuiClasses.h"
#include "host/gui/ScreenshotTour.h"
#include "host/join/ManageDialogs.h"
#include "host/session/MapPreparation.h"
#include "platform/forms/SystemCalls.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/MapDocument.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace tov {

namespace {

// Help pages open in a window of their own beside the dialogs.
void ShowHelpWindow(const std::string& nativePath) {
  static QPointer<QDialog> window;
  if (!window) {
    window = new QDialog(QApplication::activeWindow());
    window->setWindowTitle("Help");
    window->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(window);
    auto* browser = new QTextBrowser(window);
    browser->setObjectName("HelpBrowser");
    layout->addWidget(browser);
    window->resize(560, 480);
  }
  window->findChild<QTextBrowser*>("HelpBrowser")->setSource(QUrl::fromLocalFile(QString::fromStdString(nativePath)));
  window->show();
  window->raise();
}

// An analysis for the window. A new one is not made without a data set to
// show: the user is told where the program looked and how to get one.
AnalysisPtr OpenForWindow(const std::string& folder, const std::string& datasetName, const std::string& dataRoot) {
  if (!SharedAnalysis::IsLocation(folder) && !QFileInfo::exists(QString::fromStdString(folder + "/document.json"))) {
    const FoundDatasets found = FindDatasets(dataRoot);
    if (found.datasets.empty())
      throw HostError(err::FileNotFound, "Tovana",
                      "No data set was found to make it with. " + DescribeSearch(found.searched) +
                          " Install the samples with \"tovana datasets install-sample\" and start again.");
  }
  return OpenAnalysis(folder, datasetName, dataRoot, false);
}

int RunGui(AppContext& context, const std::string& screenshots) {
  if (!screenshots.empty() && !HasDisplay()) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (screenshots.empty() && !HasDisplay() && !std::getenv("QT_QPA_PLATFORM")) {
    std::cerr << "tovana: no display (set DISPLAY, or use --screenshots DIR to draw offscreen)\n";
    return kExitNothingMade;
  }
  static int argc = 1;
  static char name[] = "tovana";
  static char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  RegisterHostGuiClasses();
  if (auto calls = std::dynamic_pointer_cast<HostSystemCalls>(GetSystemCalls())) {
    if (QScreen* screen = QApplication::primaryScreen())
      calls->SetScreen(screen->size().width(), screen->size().height(), 15);
    calls->SetHelpViewer(ShowHelpWindow);
  }
  auto presenter = std::make_shared<QtPresenter>();
  SetPresenter(presenter);

  if (screenshots.empty()) {
    // The data set chosen on the command line is for the first analysis;
    // the others keep their own.
    auto datasetName = std::make_shared<std::string>(context.datasetName);
    DesktopSession session(
        [&context, datasetName](const std::string& folder) {
          AnalysisPtr analysis = OpenForWindow(folder, *datasetName, context.dataRoot);
          datasetName->clear();
          return analysis;
        },
        [presenter](MainWindow& window) { presenter->SetParentWindow(&window); });
    session.SetWarning([](QWidget* parent, const QString& text) {
      std::cerr << "tovana: " << text.toStdString() << "\n";
      // Nobody would see a box offscreen, nor close it.
      if (QGuiApplication::platformName() != "offscreen") QMessageBox::warning(parent, "Tovana", text);
    });
    // Without --analysis, as from the menu: the analysis shown last.
    const QString start = context.analysisFolder.empty() ? DesktopSession::StartFolder()
                                                         : QString::fromStdString(context.analysisFolder);
    if (!session.Open(start)) return kExitNothingMade;
    return app.exec() == 0 ? kExitOk : kExitNothingMade;
  }

  // The screenshots tour makes and changes study areas: in an analysis of
  // its own, never the user's.
  QTemporaryDir tourFolder;
  if (!tourFolder.isValid()) {
    std::cerr << "tovana: cannot make a scratch analysis for the screenshots\n";
    return kExitNothingMade;
  }
  AppContext tour;
  tour.dataRoot = context.dataRoot;
  tour.datasetName = context.datasetName;
  tour.analysisFolder = tourFolder.filePath("analysis").toStdString();
  // The user's analysis, when there is one, lends its data set and the
  // part of the map it shows.
  EnvelopePtr shown;
  if (QFileInfo::exists(QString::fromStdString(context.analysisFolder + "/document.json"))) {
    AnalysisPtr user = context.OpenAnalysisOnce();
    if (tour.datasetName.empty()) tour.datasetName = user->extension->CurrentDatasetName();
    shown = As<ActiveView>(FocusMapOf(*user))->Extent();
  }
  AnalysisPtr analysis = tour.OpenAnalysisOnce();
  if (shown && shown->Width() > 0) {
    auto extent = CreateAs<Envelope>(kEnvelopeProgId);
    extent->PutCoords(shown->XMin(), shown->YMin(), shown->XMax(), shown->YMax());
    ShowExtent(FocusMapOf(*analysis), extent);
  }

  MainWindow window(analysis);
  presenter->SetParentWindow(&window);
  // Others' changes to a shared analysis show in the open window.
  if (screenshots.empty())
    window.WatchForOthersChanges(
        [&context] { return OpenAnalysis(context.analysisFolder, std::string(), context.dataRoot, false); });
  window.resize(1000, 680);
  window.show();

  if (!QDir().mkpath(QString::fromStdString(screenshots))) {
    std::cerr << "tovana: cannot create " << screenshots << "\n";
    return kExitNothingMade;
  }
  const bool ok = RunScreenshotTour(window, *presenter, analysis, screenshots, [] {
    // The contents dialog, as the component shows a list of study areas.
    ShowStudyAreaContents("Downtown\r\nHarbour\r\nMidtown");
  });
  return ok ? kExitOk : kExitNothingMade;
}

} // namespace

void AddGuiCommand(CLI::App& app, AppContext& context, CommandRunner& runner) {
  auto screenshots = std::make_shared<std::string>();
  CLI::App* gui = app.add_subcommand("gui", kGuiCommandSummary);
  gui->add_option("--screenshots", *screenshots, "Save PNGs of the window and each dialog into this folder, then end");
  auto run = [&context, &runner, screenshots] {
    runner = [&context, screenshots] { return RunGui(context, *screenshots); };
  };
  gui->callback(run);
  // `tovana` without a command calls the adder on a scratch parser that holds
  // no other command, and wants the runner at once.
  if (app.get_subcommands([](CLI::App*) { return true; }).size() == 1) run();
}

} // namespace tov
