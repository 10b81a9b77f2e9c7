#include "host/gui/StudyAreaCommands.h"

#include "host/gui/MainWindow.h"
#include "host/session/HostTaskRun.h"
#include "host/studyareas/StudyAreaExport.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Presenter.h"
#include "platform/forms/UserActions.h"
#include "platform/framework/ITovFunction.h"
#include "platform/framework/ITovTask.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Map.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/Geometry.h"
#include "platform/gis/LayerFile.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QRegularExpression>
#include <QStatusBar>

#include <algorithm>

namespace tov {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// Plays the chooser's part for a command on one study area, as a user
// would: the study area picked in its combo, then open (Next) or the manage
// button (its dialog shown as usual, preselected on that study area) and
// Cancel. Every other form and box goes to the window's presenter.
class ChooserPlayer : public Presenter {
public:
  ChooserPlayer(PresenterPtr window, std::string studyArea, bool open)
      : m_window(std::move(window)), m_studyArea(std::move(studyArea)), m_open(open) {}

  void ShowModal(Form& form) override {
    if (m_played || form.Name() != "CreateSAMainDialog") return m_window->ShowModal(form);
    m_played = true;
    if (auto combo = std::dynamic_pointer_cast<ListControl>(form.Ctl("SANameCombo")))
      for (long i = 0; i < combo->ListCount(); ++i)
        if (combo->List(i) == m_studyArea) UserActions::Select(form, "SANameCombo", i);
    if (m_open) {
      UserActions::Click(form, "OpenSAOption");
      UserActions::Click(form, "NextButton");
    } else {
      UserActions::Click(form, "ManageSAButton");
      UserActions::Click(form, "CancelButton");
    }
  }
  void Hide(Form& form) override {
    if (form.Name() != "CreateSAMainDialog") m_window->Hide(form);
  }
  int32_t MsgBox(const std::string& text, int32_t style, const std::string& title) override {
    return m_window->MsgBox(text, style, title);
  }
  void PropertyChanged(Form& form, Control* control, Property property) override {
    if (form.Name() != "CreateSAMainDialog") m_window->PropertyChanged(form, control, property);
  }
  TrackedShape Track(TrackKind kind) override { return m_window->Track(kind); }

private:
  PresenterPtr m_window;
  std::string m_studyArea;
  bool m_open;
  bool m_played = false;
};

} // namespace

StudyAreaCommands::StudyAreaCommands(MainWindow& window) : QObject(&window), m_window(window) {}

QString StudyAreaCommands::ExportFilters() {
  return tr("GeoJSON (*.geojson);;GeoPackage (*.gpkg);;Shapefile (*.shp);;KML (*.kml);;FlatGeobuf (*.fgb)");
}

QMenu* StudyAreaCommands::MenuFor(const std::string& studyArea, QWidget* parent) {
  auto* menu = new QMenu(parent);
  menu->setAttribute(Qt::WA_DeleteOnClose);
  auto add = [&](const QString& text, const QString& name, Action action) {
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, [this, action, studyArea] { Run(action, studyArea); });
  };
  add(tr("&Open"), "Open", Action::Open);
  add(tr("&Zoom To"), "Zoom To", Action::ZoomTo);
  menu->addSeparator();
  add(tr("Re&name..."), "Rename", Action::Rename);
  add(tr("&Export..."), "Export", Action::Export);
  add(tr("&Properties..."), "Properties", Action::Properties);
  menu->addSeparator();
  add(tr("&Delete..."), "Delete", Action::Delete);
  return menu;
}

void StudyAreaCommands::Run(Action action, const std::string& studyArea) {
  try {
    switch (action) {
    case Action::Open: return Open(studyArea, true);
    case Action::ZoomTo: return ZoomTo(studyArea);
    case Action::Rename: return Open(studyArea, false);
    case Action::Export: return Export(studyArea);
    case Action::Properties: return Properties(studyArea);
    case Action::Delete: return Delete(studyArea);
    }
  } catch (const HostError& e) {
    MsgBox(e.Description(), vbExclamation, "Study Area Setup");
  }
}

void StudyAreaCommands::Open(const std::string& studyArea, bool open) {
  PresenterPtr window = GetPresenter();
  SetPresenter(std::make_shared<ChooserPlayer>(window, studyArea, open));
  struct Restore {
    PresenterPtr presenter;
    ~Restore() { SetPresenter(presenter); }
  } restore{window};
  m_window.AfterStudyAreaRun(RunHostTask(*m_window.Analysis()));
}

void StudyAreaCommands::Properties(const std::string& studyArea) {
  const AnalysisPtr& analysis = m_window.Analysis();
  StudyAreaRecordPtr record =
      Must(analysis->dataManager->GetStudyAreaCatalog(), "the study area catalogue")->Item(studyArea);
  auto task = CreateAs<ITovTask>(kPropertySheetTaskProgId);
  Variant value(record);
  task->SetParam("StudyArea", value);
  if (task->Init(analysis->dataManager, analysis->application) && task->InitParamSelector() &&
      task->DoParamSelector() == 0 && task->InitFunction())
    task->StartFunction();
  task->Cleanup();
  m_window.AfterStudyAreaRun(HostTaskRunResult());
}

void StudyAreaCommands::Delete(const std::string& studyArea) {
  const AnalysisPtr& analysis = m_window.Analysis();
  auto function = CreateAs<ITovFunction>(kDeleteExistingSAFuncProgId);
  auto names = std::make_shared<Collection>();
  names->Add(Variant(studyArea));
  Variant application(analysis->application), dataManager(analysis->dataManager), list(names);
  function->SetParam("Application", application);
  function->SetParam("DataManager", dataManager);
  function->SetParam("StudyAreaNames", list);
  // The function asks before it deletes; No leaves the study area as it is.
  if (function->Init() && function->Start())
    while (function->DoStep()) {
    }
  function->Cleanup();
  m_window.AfterStudyAreaRun(HostTaskRunResult());
}

void StudyAreaCommands::ZoomTo(const std::string& studyArea) {
  const AnalysisPtr& analysis = m_window.Analysis();
  StudyAreaRecordPtr record =
      Must(analysis->dataManager->GetStudyAreaCatalog(), "the study area catalogue")->Item(studyArea);
  // Its shape in the map's system: the envelope of the projected shape fits
  // it closely, which an envelope projected from another system would not.
  GeometryPtr shape;
  if (record) {
    auto layerFile = CreateAs<LayerFile>(kLayerFileProgId);
    layerFile->Open(record->FilePath());
    auto layer = std::dynamic_pointer_cast<FeatureLayer>(layerFile->Layer());
    FeatureClassPtr featureClass = layer ? layer->FeatureClass() : nullptr;
    FeatureCursorPtr cursor = featureClass ? featureClass->Search(nullptr, false) : nullptr;
    FeaturePtr feature = cursor ? cursor->NextFeature() : nullptr;
    shape = feature ? feature->ShapeCopy() : nullptr;
    if (shape && !shape->SpatialReference()) shape->SetSpatialReference(featureClass->SpatialReference());
  }
  if (!shape || shape->IsEmpty()) {
    MsgBox("The study area \"" + studyArea + "\" cannot be shown: its data cannot be read.", vbExclamation, "Zoom To");
    return;
  }
  MapPtr map = m_window.Canvas()->Control()->Map();
  shape->Project(map->SpatialReference());
  EnvelopePtr extent = shape->Envelope();
  // A margin around it, so that its outline is not on the window's edge.
  const double dx = extent->Width() * 0.05, dy = extent->Height() * 0.05;
  extent->PutCoords(extent->XMin() - dx, extent->YMin() - dy, extent->XMax() + dx, extent->YMax() + dy);
  extent->SetSpatialReference(map->SpatialReference());
  Must(As<ActiveView>(map), "the map view")->SetExtent(extent);
  m_window.Canvas()->Control()->Refresh();
  m_window.Save();
}

void StudyAreaCommands::Export(const std::string& studyArea) {
  QFileDialog dialog(&m_window, tr("Export Study Area \"%1\"").arg(Q(studyArea)));
  dialog.setObjectName("ExportDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setNameFilters(ExportFilters().split(";;"));
  dialog.setDefaultSuffix("geojson");
  // The type chosen decides the extension a typed name gets.
  connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
    const int star = filter.indexOf("*.");
    if (star >= 0) dialog.setDefaultSuffix(filter.mid(star + 2, filter.indexOf(')', star) - star - 2));
  });
  QString base = Q(studyArea);
  base.replace(QRegularExpression("[\\\\/:*?\"<>|]"), "_");
  dialog.setDirectory(m_exportFolder.isEmpty() ? QDir::homePath() : m_exportFolder);
  dialog.selectFile(base + ".geojson");
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = dialog.selectedFiles().front();
  m_exportFolder = QFileInfo(path).absolutePath();
  ExportTo(studyArea, path);
}

bool StudyAreaCommands::ExportTo(const std::string& studyArea, const QString& path) {
  const QFileInfo target(path);
  try {
    if (ExportFormatForPath(path.toStdString()).empty())
      throw HostError(5, "Export", tr("%1 is not a file type the program writes: choose GeoJSON, GeoPackage, "
                                      "shapefile, KML or FlatGeobuf").arg(target.fileName()).toStdString());
    ExportStudyAreaReplacing(*m_window.Analysis(), studyArea, path.toStdString());
  } catch (const HostError& e) {
    MsgBox(e.Description(), vbExclamation, "Export");
    return false;
  }
  m_window.statusBar()->showMessage(tr("Study area \"%1\" written to %2").arg(Q(studyArea), QDir::toNativeSeparators(path)), 8000);
  return true;
}

} // namespace tov
