#include "host/gui/ScreenshotTour.h"

#include "host/gui/FormDialog.h"
#include "host/gui/IdentifyTool.h"
#include "host/gui/MainWindow.h"
#include "host/gui/MapCanvas.h"
#include "host/gui/QtPresenter.h"
#include "host/framework/MethodDescriptor.h"
#include "host/session/MapPreparation.h"
#include "platform/runtime/MethodNames.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/UserActions.h"
#include "platform/framework/HostDataset.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Point.h"
#include "platform/gis/Polygon.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeWidget>

#include <algorithm>
#include <iostream>
#include <set>
#include <utility>
#include <vector>

namespace tov {

namespace {

// The site page's picture is filed under the page's subject, "SiteDialog".
QString PictureName(const QString& name) { return name == "SpecifySiteDialog" ? "SiteDialog" : name; }

bool Save(QWidget& widget, const QString& dir, const QString& name) {
  const QString path = QDir(dir).filePath(PictureName(name) + ".png");
  const bool ok = widget.grab().save(path, "PNG");
  std::cout << (ok ? "Saved " : "Could not save ") << path.toStdString() << "\n";
  return ok;
}

// The window with the Identify window over it where it stands on screen, as
// a user sees them (offscreen each is drawn on its own).
bool SaveWithIdentify(MainWindow& window, const QString& dir, const QString& name) {
  QPixmap picture = window.grab();
  if (QWidget* identify = window.IdentifyWindow(); identify && identify->isVisible()) {
    QPainter painter(&picture);
    const QPoint at = identify->frameGeometry().topLeft() - window.geometry().topLeft();
    painter.drawPixmap(at, identify->grab());
    painter.setPen(QColor("#7a7a7a"));
    painter.drawRect(QRect(at, identify->size()).adjusted(0, 0, -1, -1));
  }
  const QString path = QDir(dir).filePath(name + ".png");
  const bool ok = picture.save(path, "PNG");
  std::cout << (ok ? "Saved " : "Could not save ") << path.toStdString() << "\n";
  return ok;
}

// The caption under which the chooser lists a method ("" when not offered).
std::string MethodCaption(const Analysis& analysis, const std::string& descriptorName) {
  HostDatasetPtr dataset = analysis.dataManager->DataSetByName(analysis.extension->CurrentDatasetName());
  TaskDescriptorPtr method = FindMethodDescriptor(dataset, descriptorName);
  return method ? method->Caption() : std::string();
}

// Selects the entry with this text; false when the list has none.
bool SelectEntry(Form& form, const std::string& list, const std::string& text) {
  auto control = std::dynamic_pointer_cast<ListControl>(form.Ctl(list));
  for (long i = 0; control && i < control->ListCount(); ++i)
    if (control->List(i) == text) {
      UserActions::Select(form, list, i);
      return true;
    }
  return false;
}

// A selected graphic square in the middle of the visible map, for the
// selected shapes summary.
GraphicElementPtr AddSelectedGraphic(const Analysis& analysis) {
  MapPtr map = FocusMapOf(analysis);
  EnvelopePtr extent = As<ActiveView>(map)->Extent();
  const double cx = (extent->XMin() + extent->XMax()) / 2, cy = (extent->YMin() + extent->YMax()) / 2;
  const double r = std::min(extent->Width(), extent->Height()) / 8;
  auto polygon = CreateAs<Polygon>(kPolygonProgId);
  for (auto [dx, dy] : {std::pair{-r, -r}, {r, -r}, {r, r}, {-r, r}, {-r, -r}}) {
    auto point = CreateAs<Point>(kPointProgId);
    point->PutCoords(cx + dx, cy + dy);
    polygon->AddPoint(point);
  }
  polygon->SetSpatialReference(map->SpatialReference());
  return AddPolygonGraphic(*map, polygon, true);
}

// Draws on a map page's canvas as a user would: the pointer pressed at the
// first point (map units) and moved through the others; a polygon is closed
// by a double click on its last vertex, a circle ends where the pointer is
// let go. Returns once the page has taken the shape.
void DrawOnCanvas(MapCanvas& canvas, TrackKind kind, const std::vector<std::pair<double, double>>& points) {
  const MapViewport view = canvas.Viewport();
  auto mouse = [&](QEvent::Type type, const std::pair<double, double>& at) {
    const QPointF pixel = view.ToPixel(at.first, at.second);
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton
                                                                                                  : Qt::LeftButton;
    return new QMouseEvent(type, pixel, pixel, pixel, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                           Qt::NoModifier);
  };
  if (kind == TrackKind::Polygon) {
    QCoreApplication::postEvent(&canvas, mouse(QEvent::MouseButtonRelease, points.front()));
    for (size_t i = 1; i < points.size(); ++i) {
      QCoreApplication::postEvent(&canvas, mouse(QEvent::MouseButtonPress, points[i]));
      QCoreApplication::postEvent(&canvas, mouse(QEvent::MouseButtonRelease, points[i]));
    }
    QCoreApplication::postEvent(&canvas, mouse(QEvent::MouseButtonDblClick, points.back()));
    QCoreApplication::postEvent(&canvas, mouse(QEvent::MouseButtonRelease, points.back()));
  } else {
    QCoreApplication::postEvent(&canvas, mouse(QEvent::MouseMove, points.back()));
    QCoreApplication::postEvent(&canvas, mouse(QEvent::MouseButtonRelease, points.back()));
  }
  // The press blocks in the page's track call until the queued events end it.
  std::unique_ptr<QMouseEvent> press(mouse(QEvent::MouseButtonPress, points.front()));
  QCoreApplication::sendEvent(&canvas, press.get());
}

} // namespace

bool RunScreenshotTour(MainWindow& window, QtPresenter& presenter, const AnalysisPtr& analysis,
                       const std::string& folder, const std::function<void()>& afterPages) {
  const QString dir = QString::fromStdString(folder);
  bool ok = true;
  QApplication::processEvents();
  ok = Save(window, dir, "main-window") && ok;
  // A tour through every page: each is saved as it appears, named after its
  // class (the form's name, such as SelectSANameDialog.png), once; then the
  // tour goes on as a user would.
  presenter.SetMsgBoxAnswer([](const std::string& text, int32_t style) {
    std::cout << "Message: " << text << "\n";
    return MsgBoxCloseAnswer(style);
  });
  std::set<std::string> saved;
  bool helpSaved = false;
  auto save = [&](Form& form, QWidget& dialog, const std::string& name) {
    if (!saved.insert(name).second) return;
    // What the tour typed is the user's own edit, which the widgets are not
    // told of: they are brought up to date from the form.
    if (FormDialog* d = presenter.DialogOf(form)) d->SyncAll();
    QApplication::processEvents();
    ok = Save(dialog, dir, QString::fromStdString(name)) && ok;
    // The page's help opens in the help window: saved once too.
    auto* help = dialog.findChild<QPushButton*>("HelpButton");
    if (helpSaved || !help || !help->isEnabled()) return;
    helpSaved = true;
    help->click();
    QApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->findChild<QTextBrowser*>("HelpBrowser", Qt::FindDirectChildrenOnly)) {
        ok = Save(*w, dir, "help") && ok;
        w->close();
      }
  };
  auto set = [](Form& form, const char* control, const std::string& text) {
    if (form.Ctl(control)->Enabled()) UserActions::SetText(form, control, text);
  };
  // What the tour does on the chooser in the current run; the other pages
  // always do the same.
  std::function<void(Form&)> onChooser;
  // Set when the map page switched to the list page.
  bool backFromMap = false;
  presenter.SetOnShown([&](Form& form, QWidget& dialog) {
    const std::string name = form.Name();
    if (name == "CreateSAMainDialog") {
      const bool empty = analysis->dataManager->GetStudyAreaCatalog()->Count() == 0;
      save(form, dialog, empty ? "CreateSAMainDialog-empty" : "CreateSAMainDialog");
      onChooser(form);
    } else if (name == "SelectSANameDialog") {
      UserActions::Type(form, "StudyAreaNameText", "Downtown");
      save(form, dialog, name);
      UserActions::Click(form, "NextButton");
    } else if (name == "SelectByZipCodesDialog") {
      set(form, "ZipCodesText", "10001, 10002, 10003;\r\n100*");
      save(form, dialog, name);
      UserActions::Click(form, "CancelButton");
    } else if (name == "SpecifySiteDialog") {
      // First by coordinates, then by address through the geocoder's page.
      if (saved.count(name) == 0) {
        UserActions::Click(form, "obtCoord");
        set(form, "txtLatitude", "40.7128");
        set(form, "txtLongitude", "-74.0060");
        save(form, dialog, name);
      } else {
        UserActions::Click(form, "obtSelect");
      }
      UserActions::Click(form, "NextButton");
    } else if (name == "GeocoderDialog") {
      UserActions::Type(form, "AddressText", "Springfield");
      UserActions::Click(form, "FindButton");
      save(form, dialog, name);
      UserActions::Click(form, "CancelButton");
    } else if (name == "SelectFromListDialog" && backFromMap) {
      // Back from the map page: the names chosen there are the chosen list.
      save(form, dialog, name + "-back");
      UserActions::Click(form, "CancelButton");
    } else if (name == "SelectFromListDialog") {
      // Three counties searched for and added, then a search under way; on
      // to the map page with them.
      for (const char* county : {"Kings, NY", "Queens, NY", "New York, NY"}) {
        set(form, "SearchTextBox", "");
        UserActions::Type(form, "SearchTextBox", county);
        if (SelectEntry(form, "FromList", county)) UserActions::Click(form, "AddButton");
      }
      set(form, "SearchTextBox", "");
      UserActions::Type(form, "SearchTextBox", "rich");
      save(form, dialog, name);
      UserActions::Click(form, form.Ctl("ToMapButton")->Enabled() ? "ToMapButton" : "CancelButton");
    } else if (name == "SelectFromMapDialog") {
      // Around New York City, labels on, Brooklyn and Queens dragged over;
      // then back to the list page with them.
      if (auto* canvas = dialog.findChild<MapCanvas*>("MapControl")) {
        auto extent = CreateAs<Envelope>(kEnvelopeProgId);
        extent->PutCoords(-74.30, 40.48, -73.65, 40.93);
        extent->SetSpatialReference(canvas->Control()->SpatialReference());
        canvas->Control()->SetExtent(extent);
        UserActions::ToolbarButton(form, "Toolbar1", "ShowLabels");
        QApplication::processEvents();
        DrawOnCanvas(*canvas, TrackKind::Rectangle, {{-73.95, 40.64}, {-73.80, 40.71}});
        save(form, dialog, name);
      }
      backFromMap = form.Ctl("ToListButton")->Enabled();
      UserActions::Click(form, backFromMap ? "ToListButton" : "CancelButton");
    } else if (name == "SelectRingSizeDialog") {
      set(form, "FirstText", "3");
      save(form, dialog, name);
      UserActions::Click(form, "CancelButton");
    } else if (name == "SelectByDrawingOwnAreaDialog") {
      // Lower Manhattan, drawn as a polygon and then as a circle.
      if (auto* canvas = dialog.findChild<MapCanvas*>("MapControl")) {
        auto extent = CreateAs<Envelope>(kEnvelopeProgId);
        extent->PutCoords(-74.16, 40.62, -73.86, 40.83);
        extent->SetSpatialReference(canvas->Control()->SpatialReference());
        canvas->Control()->SetExtent(extent);
        UserActions::ToolbarButton(form, "Toolbar1", "ShowLabels");
        QApplication::processEvents();
        UserActions::ToolbarButton(form, "Toolbar1", "SelectByPolygon");
        DrawOnCanvas(*canvas, TrackKind::Polygon,
                     {{-74.020, 40.700}, {-73.997, 40.708}, {-73.971, 40.710}, {-73.975, 40.727}, {-74.012, 40.726},
                      {-74.019, 40.715}});
        save(form, dialog, name);
        UserActions::ToolbarButton(form, "Toolbar1", "SelectByCircle");
        DrawOnCanvas(*canvas, TrackKind::Circle, {{-73.985, 40.745}, {-73.985, 40.765}});
        save(form, dialog, name + "-circle");
      }
      UserActions::Click(form, "CancelButton");
    } else if (name == "ManageSADialog") {
      save(form, dialog, name);
      for (const char* button : {"RenameButton", "RemoveButton", "ModifyButton", "CloseButton"})
        if (form.Visible() && form.Ctl(button)->Enabled()) UserActions::Click(form, button);
    } else if (name == "DeleteConfirmSADialog") {
      save(form, dialog, name);
      UserActions::Click(form, "NoButton");
    } else {
      save(form, dialog, name);
    }
    if (form.Visible()) form.CloseBox();
    if (!form.Visible())
      if (FormDialog* d = presenter.DialogOf(form)) d->EndShowing();
  });
  auto run = [&](const std::string& descriptor, std::function<void(Form&)> chooser) {
    const std::string caption = descriptor.empty() ? std::string() : MethodCaption(*analysis, descriptor);
    if (!descriptor.empty() && caption.empty()) return; // the data set does not offer it
    onChooser = chooser ? chooser : [caption](Form& form) {
      SelectEntry(form, "SATasksList", caption);
      UserActions::Click(form, "NextButton");
    };
    window.RunStudyAreaSetup();
  };
  run(kCurrentExtentMethod, nullptr);
  run(kZipCodesMethod, nullptr);
  {
    // The list page, the map page and the list page again, switched between
    // as a user does.
    const std::string regions = MethodCaption(*analysis, kMapListMethod);
    if (!regions.empty())
      run(kMapListMethod, [regions](Form& form) {
        SelectEntry(form, "SATasksList", regions);
        UserActions::Click(form, "FromListOption");
        UserActions::Click(form, "NextButton");
      });
  }
  run(kSimpleRingMethod, nullptr);
  run(kSimpleRingMethod, nullptr);
  run(kDrawnAreaMethod, nullptr);
  {
    GraphicElementPtr graphic = AddSelectedGraphic(*analysis);
    run(kSelectedShapesMethod, nullptr);
    analysis->application->Document()->FocusMap()->DeleteElement(graphic);
  }
  run("", [](Form& form) {
    UserActions::Click(form, "ManageSAButton");
    if (form.Visible()) UserActions::Click(form, "CancelButton");
  });
  // The window again, its Study Areas panel now listing the tour's study
  // areas; then what Identify finds in the middle of the map.
  QApplication::processEvents();
  ok = Save(window, dir, "main-window-study-areas") && ok;
  {
    window.SetTool(MainWindow::Tool::Identify);
    EnvelopePtr extent = As<ActiveView>(FocusMapOf(*analysis))->Extent();
    window.Identify((extent->XMin() + extent->XMax()) / 2, (extent->YMin() + extent->YMax()) / 2);
    if (IdentifyResults* found = window.IdentifyWindow()) found->Tree()->expandAll();
    QApplication::processEvents();
    ok = SaveWithIdentify(window, dir, "main-window-identify") && ok;
  }
  afterPages();
  return ok;
}

} // namespace tov
