#include "host/gui/MainWindow.h"

#include "host/framework/ReferenceLayers.h"
#include "host/gis/HostFeatureLayer.h"
#include "host/gui/AnalysisWatch.h"
#include "host/gui/DatasetMenu.h"
#include "host/gui/IdentifyTool.h"
#include "host/gui/MapScale.h"
#include "host/gui/QtPresenter.h"
#include "host/gui/StatusReadouts.h"
#include "host/gui/StudyAreaCommands.h"
#include "host/gui/StudyAreasPanel.h"
#include "host/session/HostTaskRun.h"
#include "host/session/MapPreparation.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/Presenter.h"
#include "platform/forms/UserActions.h"
#include "platform/framework/ITovTask.h"
#include "platform/framework/SettingsKeys.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/forms/MsgBox.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/Layer.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/Polygon.h"
#include "platform/gis/SelectionEnvironment.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace tov {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }

} // namespace

MainWindow::MainWindow(AnalysisPtr analysis, QWidget* parent)
    : QMainWindow(parent), m_analysis(std::move(analysis)), m_control(std::make_shared<HostMapControl>()) {
  setWindowTitle("Tovana - " + Q(AnalysisShownName(*m_analysis)));
  MapDocumentPtr document = Must(m_analysis->application->Document(), "the document");
  m_control->SetMap(Must(document->FocusMap(), "the focus map"));

  auto* splitter = new QSplitter(this);
  // The layer tree with the Study Areas panel under it, left of the map.
  auto* side = new QSplitter(Qt::Vertical, splitter);
  m_tree = new QTreeWidget(side);
  m_tree->setHeaderLabel(tr("Layers"));
  m_tree->setAccessibleName(tr("Layers"));
  m_commands = new StudyAreaCommands(*this);
  m_studyAreas = new StudyAreasPanel(*this, *m_commands, side);
  side->setSizes({330, 270});
  m_canvas = new MapCanvas(m_control, splitter);
  m_canvas->setAccessibleName(tr("Map"));
  splitter->addWidget(side);
  splitter->addWidget(m_canvas);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({270, 730});
  setCentralWidget(splitter);
  connect(m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int) { LayerItemChanged(item); });
  m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(m_tree, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (QMenu* menu = ContextMenuFor(m_tree->itemAt(at))) menu->popup(m_tree->viewport()->mapToGlobal(at));
  });
  m_canvas->SetMouseDownHandler(
      [this](int b, int s, double x, double y, double mx, double my) { OnMapMouseDown(b, s, x, y, mx, my); });
  m_canvas->SetDrawProblemsHandler([this] { ShowDrawProblems(); });

  QMenu* analysisMenu = menuBar()->addMenu(tr("&Analysis"));
  QAction* setup = analysisMenu->addAction(tr("Study Area &Setup..."));
  connect(setup, &QAction::triggered, this, [this] { RunStudyAreaSetup(); });
  analysisMenu->addSeparator();
  m_datasets = new DatasetMenu(analysisMenu, this);
  analysisMenu->addSeparator();
  connect(analysisMenu->addAction(tr("E&xit")), &QAction::triggered, this, [this] { close(); });

  // The map's tools, in the Map menu and on the toolbar alike.
  QMenu* mapMenu = menuBar()->addMenu(tr("&Map"));
  QToolBar* bar = addToolBar(tr("Tools"));
  bar->setObjectName("Tools"); // the window's layout is saved by these names
  bar->setAccessibleName(tr("Map tools"));
  m_tools = new QActionGroup(this);
  auto command = [&](const QString& text, const QString& tip) {
    QAction* a = mapMenu->addAction(text);
    a->setToolTip(tip);
    a->setStatusTip(tip);
    bar->addAction(a);
    return a;
  };
  auto tool = [&](const QString& text, const QString& tip, Tool t) {
    QAction* a = command(text, tip);
    a->setCheckable(true);
    m_tools->addAction(a);
    connect(a, &QAction::triggered, this, [this, t] { SetTool(t); });
    if (t == Tool::ZoomIn) a->setChecked(true);
  };
  tool(tr("Zoom &In"), tr("Zoom in: click, or drag a box, on the map"), Tool::ZoomIn);
  tool(tr("Zoom &Out"), tr("Zoom out: click, or drag a box, on the map"), Tool::ZoomOut);
  tool(tr("&Pan"), tr("Pan: drag the map"), Tool::Pan);
  connect(command(tr("&Full Extent"), tr("Full extent: show the whole data set")), &QAction::triggered, this,
          [this] { FullExtent(); });
  mapMenu->addSeparator();
  bar->addSeparator();
  tool(tr("I&dentify"), tr("Identify: click a feature to see its attributes"), Tool::Identify);
  tool(tr("&Select Features"), tr("Select features: click, or drag a box; Shift adds to the selection"), Tool::Select);
  tool(tr("Draw Pol&ygon"), tr("Draw a polygon graphic: click its corners, double-click to end"), Tool::DrawPolygon);
  connect(command(tr("&Clear Selection"), tr("Clear the selection of features and graphics")), &QAction::triggered,
          this, [this] { ClearSelection(); });

  m_status = new QLabel(this);
  statusBar()->addWidget(m_status);
  m_drawProblems = new QLabel(this);
  m_drawProblems->setStyleSheet("color: #b00000");
  statusBar()->addPermanentWidget(m_drawProblems);
  m_readouts = new StatusReadouts(*m_canvas, *statusBar());
  m_readouts->SetScaleChangedHandler([this](double scale, bool typed) {
    ShowScaleRanges(scale);
    if (typed) Save();
  });
  SetTool(Tool::ZoomIn);
  Reload();
}

void MainWindow::SetTool(Tool tool) {
  m_tool = tool;
  m_control->SetMousePointer(tool == Tool::Pan ? mousePointerHand : mousePointerCrosshair);
}

std::string MainWindow::CurrentStudyArea() const {
  try {
    return m_analysis->extension->ExtensionProperties()->GetProperty(kCurrentExtentKey);
  } catch (const HostError&) {
    return std::string();
  }
}

void MainWindow::AddLayerItem(const LayerPtr& layer, QTreeWidgetItem* parent, const std::string& current) {
  if (!layer) return;
  auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
  const bool isCurrent = !current.empty() && layer->Name() == current;
  item->setText(0, Q(layer->Name()) + (isCurrent ? tr("  (current study area)") : QString()));
  if (isCurrent) {
    QFont f = item->font(0);
    f.setBold(true);
    item->setFont(0, f);
  }
  if (!layer->Valid()) item->setToolTip(0, tr("The data of this layer is missing"));
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(0, layer->Visible() ? Qt::Checked : Qt::Unchecked);
  item->setData(0, Qt::UserRole, static_cast<qulonglong>(m_itemLayers.size()));
  m_itemLayers.push_back(layer);
  if (auto group = std::dynamic_pointer_cast<GroupLayer>(layer)) {
    for (long i = 0; i < group->Count(); ++i) AddLayerItem(group->Layer(i), item, current);
    item->setExpanded(true);
  }
}

void MainWindow::Reload() {
  m_building = true;
  m_tree->clear();
  m_itemLayers.clear();
  const std::string current = CurrentStudyArea();
  MapPtr map = m_control->Map();
  for (long i = 0; i < map->LayerCount(); ++i) AddLayerItem(map->Layer(i), nullptr, current);
  m_building = false;
  ShowScaleRanges(CanvasScale(*m_canvas));
  m_studyAreas->Refresh();
  const QString currentText = current.empty() ? tr("No current study area") : tr("Current study area: ") + Q(current);
  m_status->setText(m_outcome.isEmpty() ? currentText : m_outcome + "   " + currentText);
  ShowDrawProblems();
}

// A layer the map leaves out is named in the status bar and marked in the
// tree with the reason, so that a broken study area is not simply missing.
void MainWindow::ShowDrawProblems() {
  const QStringList& undrawn = m_canvas->UndrawnLayers();
  const QStringList& problems = m_canvas->DrawProblems();
  QString text;
  if (!undrawn.isEmpty()) text = tr("Could not draw: ") + undrawn.join(", ");
  else if (!problems.isEmpty()) text = tr("Could not draw the map: ") + problems.join("; ");
  m_drawProblems->setText(text);
  m_drawProblems->setToolTip(problems.join("\n"));
  for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
    QTreeWidgetItem* item = *it;
    const auto index = item->data(0, Qt::UserRole).toULongLong();
    if (index >= m_itemLayers.size()) continue;
    const QString name = Q(m_itemLayers[index]->Name());
    QString why;
    for (const QString& line : problems)
      if (line.startsWith(name + ": ")) why = line.mid(name.size() + 2);
    if (why.isEmpty()) {
      item->setIcon(0, QIcon());
      item->setToolTip(0, m_itemLayers[index]->Valid() ? QString() : tr("The data of this layer is missing"));
    } else {
      item->setIcon(0, style()->standardIcon(QStyle::SP_MessageBoxWarning));
      item->setToolTip(0, tr("Could not be drawn: ") + why);
    }
  }
}

QString MainWindow::DrawProblemsText() const { return m_drawProblems->text(); }

QString MainWindow::StatusText() const { return m_status->text(); }

void MainWindow::LayerItemChanged(QTreeWidgetItem* item) {
  if (m_building) return;
  const auto index = item->data(0, Qt::UserRole).toULongLong();
  if (index >= m_itemLayers.size()) return;
  const bool visible = item->checkState(0) == Qt::Checked;
  if (m_itemLayers[index]->Visible() == visible) return;
  m_itemLayers[index]->SetVisible(visible);
  m_control->Refresh();
  Save();
}

void MainWindow::Save() {
  try {
    SaveAnalysis(*m_analysis);
    if (m_watch) m_watch->Saved();
  } catch (const HostError& e) {
    // A shared analysis whose save was refused is shown as others left it.
    if (m_watch && m_watch->AfterRefusedSave(e.Description())) return;
    QMessageBox::warning(this, tr("Tovana"), tr("The document could not be saved: ") + Q(e.Description()));
  }
}

void MainWindow::WatchForOthersChanges(std::function<AnalysisPtr()> reopen) {
  if (!m_watch && m_analysis->shared) m_watch = new AnalysisWatch(*this, std::move(reopen));
}

void MainWindow::ShowAnalysis(AnalysisPtr analysis) {
  // The old copy goes once nothing shows it any more.
  const AnalysisPtr old = std::exchange(m_analysis, std::move(analysis));
  const EnvelopePtr shown = m_control->Extent();
  setWindowTitle("Tovana - " + Q(AnalysisShownName(*m_analysis)));
  m_control->SetMap(Must(Must(m_analysis->application->Document(), "the document")->FocusMap(), "the focus map"));
  if (shown && shown->Width() > 0) m_control->SetExtent(shown);
  if (m_identify) m_identify->hide();
  m_canvas->Reload();
  Reload();
}

void MainWindow::FullExtent() {
  // The data set's own starting view (the lower 48 for the sample), not
  // everything its layers reach.
  HostDatasetPtr current = m_analysis->dataManager->DataSetByName(m_analysis->extension->CurrentDatasetName());
  if (auto dataset = std::dynamic_pointer_cast<JsonDataset>(current)) {
    ShowInitialExtent(m_control->Map(), *dataset);
  } else {
    auto full = m_control->FullExtent();
    if (!full || full->Width() <= 0) return;
    m_control->SetExtent(full);
  }
  m_control->Refresh();
  Save();
}

void MainWindow::ShowScaleRanges(double scale) {
  if (!(scale > 0)) return;
  const MapPtr map = m_control->Map();
  for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
    const auto index = (*it)->data(0, Qt::UserRole).toULongLong();
    if (index >= m_itemLayers.size()) continue;
    const LayerPtr& layer = m_itemLayers[index];
    auto host = std::dynamic_pointer_cast<HostFeatureLayer>(layer);
    const bool beyond = host && !host->ShowsAtScale(scale);
    (*it)->setForeground(0, beyond ? palette().brush(QPalette::Disabled, QPalette::Text) : palette().brush(QPalette::Text));
    (*it)->setData(0, Qt::AccessibleDescriptionRole, beyond ? tr("not drawn at this scale") : QString());
    if (beyond && (*it)->toolTip(0).isEmpty())
      (*it)->setToolTip(0, tr("Drawn between 1:%1 and 1:%2; the map is at 1:%3")
                               .arg(host->MaximumScale() > 0 ? QString::fromStdString(FormatScale(host->MaximumScale())) : "1")
                               .arg(host->MinimumScale() > 0 ? QString::fromStdString(FormatScale(host->MinimumScale())) : tr("any"))
                               .arg(QString::fromStdString(FormatScale(scale))));
    else if (!beyond && (*it)->toolTip(0).startsWith(tr("Drawn between")))
      (*it)->setToolTip(0, QString());
  }
}

void MainWindow::Identify(double mapX, double mapY) {
  if (!m_identify) m_identify = new IdentifyResults(this);
  const double tolerance = 3 * m_canvas->Viewport().Resolution();
  const auto found = IdentifyAt(*m_control->Map(), mapX, mapY, tolerance, CanvasScale(*m_canvas));
  const QPointF pixel = m_canvas->Viewport().ToPixel(mapX, mapY);
  m_readouts->ShowPointer(pixel);
  m_identify->Show(found, m_readouts->LonLatText());
}

void MainWindow::ClearSelection() {
  m_control->Map()->ClearSelection();
  m_control->Map()->UnselectAllElements();
  m_control->Refresh();
  Save();
}

void MainWindow::OnMapMouseDown(int button, int shift, double, double, double mapX, double mapY) {
  if (button != 1) return;
  try {
    MapPtr map = m_control->Map();
    const MapViewport viewport = m_canvas->Viewport();
    switch (m_tool) {
    case Tool::ZoomIn:
    case Tool::ZoomOut: {
      EnvelopePtr box = m_control->TrackRectangle();
      EnvelopePtr extent = m_control->Extent();
      const bool click = box->Width() <= 0 || box->Height() <= 0;
      const double cx = click ? mapX : (box->XMin() + box->XMax()) / 2;
      const double cy = click ? mapY : (box->YMin() + box->YMax()) / 2;
      double factor = click ? 0.5 : std::max(box->Width() / extent->Width(), box->Height() / extent->Height());
      if (m_tool == Tool::ZoomOut) factor = 1 / std::max(factor, 1e-6);
      const double w = extent->Width() * factor / 2, h = extent->Height() * factor / 2;
      extent->PutCoords(cx - w, cy - h, cx + w, cy + h);
      m_control->SetExtent(extent);
      break;
    }
    case Tool::Pan:
      m_control->Pan();
      break;
    case Tool::Identify:
      Identify(mapX, mapY);
      return; // nothing on the map changed
    case Tool::Select: {
      EnvelopePtr box = m_control->TrackRectangle();
      TrackedShape shape;
      shape.Kind = TrackKind::Rectangle;
      shape.Empty = false;
      const bool click = box->Width() <= 0 || box->Height() <= 0;
      const double tolerance = 3 * viewport.Resolution();
      shape.XMin = click ? mapX - tolerance : box->XMin();
      shape.YMin = click ? mapY - tolerance : box->YMin();
      shape.XMax = click ? mapX + tolerance : box->XMax();
      shape.YMax = click ? mapY + tolerance : box->YMax();
      auto env = CreateAs<SelectionEnvironment>(kSelectionEnvironmentProgId);
      env->SetCombinationMethod((shift & 1) ? selectionAdd : selectionNew);
      // Only what the map shows at this scale can be picked.
      SelectableAtScale drawnOnly(*map, CanvasScale(*m_canvas));
      map->SelectByShape(HostMapControl::PolygonOf(shape, map->SpatialReference()), env, click);
      // A new selection replaces the old one in the layers it passed over too.
      if (!(shift & 1)) drawnOnly.ClearPassedOver();
      break;
    }
    case Tool::DrawPolygon: {
      PolygonPtr polygon = m_control->TrackPolygon();
      if (polygon->PointCount() < 4) break;
      AddPolygonGraphic(*map, polygon, false);
      break;
    }
    }
    m_control->Refresh(); // whatever the tool changed
    Save();
  } catch (const HostError& e) {
    QMessageBox::warning(this, tr("Tovana"), Q(e.Description()));
  }
}

void MainWindow::RunStudyAreaSetup() {
  if (!IsClassRegistered(kSetupStudyAreaMainProgId)) {
    QMessageBox::information(this, tr("Study Area Setup"), tr("Study Area Setup is not installed."));
    return;
  }
  try {
    AfterSetup(RunHostTask(*m_analysis), true);
  } catch (const HostError& e) {
    QMessageBox::warning(this, tr("Study Area Setup"), Q(e.Description()));
  }
}

void MainWindow::AfterSetup(const HostTaskRunResult& result, bool tell) {
  // Judged from what the analysis holds now, as on the command line; a
  // wizard the user left says nothing.
  tell = tell && (result.Stored() || result.pageResult == 0);
  m_outcome = !tell ? QString()
              : result.Stored() ? tr("Study area \"%1\" stored.").arg(Q(result.studyAreaName.empty() ? result.currentStudyArea : result.studyAreaName))
                                : Q(DescribeNothingStored(result));
  Save();
  m_canvas->Reload();
  Reload();
  // Cancelled by the user: the status bar says so, without a box to close.
  if (tell && !result.Stored() && !result.cancelled) MsgBox(DescribeNothingStored(result), vbInformation, "Study Area Setup");
  // What others saved while the wizard was open shows now.
  if (m_watch) m_watch->ShowChangesIfIdle();
}

void MainWindow::AfterStudyAreaRun(const HostTaskRunResult& result) { AfterSetup(result, false); }

QMenu* MainWindow::ContextMenuFor(QTreeWidgetItem* item) {
  if (!item) return nullptr;
  const auto index = item->data(0, Qt::UserRole).toULongLong();
  if (index >= m_itemLayers.size()) return nullptr;
  const std::string name = m_itemLayers[index]->Name();
  StudyAreaCatalogPtr catalog = m_analysis->dataManager->GetStudyAreaCatalog();
  if (!catalog || !catalog->Exists(name) || !As<FeatureLayer>(m_itemLayers[index])) return nullptr;
  return m_commands->MenuFor(name, this);
}

} // namespace tov