#include "host/gui/IdentifyTool.h"

#include "host/gui/MapScale.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/Field.h"
#include "platform/gis/Fields.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/Map.h"
#include "platform/gis/Point.h"
#include "platform/gis/Polygon.h"
#include "platform/gis/SpatialFilter.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tov {

namespace {

// A feature's value as text; no value shows as "<null>".
QString ValueText(const Variant& value) {
  if (value.IsEmpty()) return QObject::tr("<null>");
  if (value.IsObject()) return QString();
  return QString::fromStdString(value.ToString());
}

PolygonPtr Square(double x, double y, double half, const SpatialReferencePtr& system) {
  auto polygon = CreateAs<Polygon>(kPolygonProgId);
  for (auto [dx, dy] : {std::pair{-half, -half}, {-half, half}, {half, half}, {half, -half}, {-half, -half}}) {
    auto point = CreateAs<Point>(kPointProgId);
    point->PutCoords(x + dx, y + dy);
    polygon->AddPoint(point);
  }
  polygon->SetSpatialReference(system);
  return polygon;
}

} // namespace

std::vector<IdentifiedFeature> IdentifyAt(const Map& map, double x, double y, double tolerance, double scale) {
  std::vector<IdentifiedFeature> found;
  const PolygonPtr probe = Square(x, y, tolerance, map.SpatialReference());
  for (const FeatureLayerPtr& layer : FeatureLayersDrawnAt(map, scale)) {
    try {
      FeatureClassPtr featureClass = layer->FeatureClass();
      if (!layer->Valid() || !featureClass) continue;
      auto filter = CreateAs<SpatialFilter>(kSpatialFilterProgId);
      filter->SetGeometry(probe);
      FeatureCursorPtr cursor = featureClass->Search(filter, false);
      FieldsPtr fields = featureClass->Fields();
      while (FeaturePtr feature = cursor->NextFeature()) {
        IdentifiedFeature item;
        item.layer = QString::fromStdString(layer->Name());
        item.oid = feature->OID();
        for (long i = 0; fields && i < fields->FieldCount(); ++i) {
          FieldPtr field = fields->Field(i);
          // The shape is on the map and the id in the feature's title.
          if (!field || field->Type() == fieldTypeGeometry || field->Type() == fieldTypeOID) continue;
          const Variant value = feature->Value(i);
          item.attributes.emplace_back(QString::fromStdString(field->AliasName().empty() ? field->Name() : field->AliasName()),
                                       ValueText(value));
          if (item.title.isEmpty() && field->Type() == fieldTypeString && !value.IsEmpty())
            item.title = QString::fromStdString(value.ToString());
        }
        if (item.title.isEmpty()) item.title = QObject::tr("Feature %1").arg(item.oid);
        found.push_back(std::move(item));
      }
    } catch (const HostError&) {
      // A layer that cannot be read has nothing to show here; the map says
      // why it cannot draw it.
    }
  }
  return found;
}

IdentifyResults::IdentifyResults(QWidget* parent) : QDialog(parent) {
  setObjectName("IdentifyResults");
  setWindowTitle(tr("Identify"));
  setWindowFlag(Qt::Tool);
  m_where = new QLabel(this);
  m_where->setObjectName("IdentifyWhere");
  m_tree = new QTreeWidget(this);
  m_tree->setObjectName("IdentifyTree");
  m_tree->setAccessibleName(tr("Identified features"));
  m_tree->setColumnCount(2);
  m_tree->setHeaderLabels({tr("Field"), tr("Value")});
  m_tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_where);
  layout->addWidget(m_tree, 1);
  layout->addWidget(buttons);
  resize(380, 420);
}

QString IdentifyResults::Where() const { return m_where->text(); }

void IdentifyResults::Show(const std::vector<IdentifiedFeature>& found, const QString& where) {
  m_tree->clear();
  m_where->setText(found.empty() ? tr("Nothing found at %1").arg(where) : tr("At %1:").arg(where));
  QTreeWidgetItem* layerItem = nullptr;
  for (const IdentifiedFeature& feature : found) {
    if (!layerItem || layerItem->text(0) != feature.layer) {
      layerItem = new QTreeWidgetItem(m_tree, {feature.layer});
      QFont bold = layerItem->font(0);
      bold.setBold(true);
      layerItem->setFont(0, bold);
      layerItem->setFirstColumnSpanned(true);
      layerItem->setExpanded(true);
    }
    auto* featureItem = new QTreeWidgetItem(layerItem, {feature.title});
    featureItem->setFirstColumnSpanned(true);
    for (const auto& [field, value] : feature.attributes) new QTreeWidgetItem(featureItem, {field, value});
    // The topmost feature is what the user pointed at: shown open.
    featureItem->setExpanded(m_tree->topLevelItemCount() == 1 && layerItem->childCount() == 1);
  }
  // Opened beside the map's top right corner, where it hides least of it.
  if (!isVisible() && parentWidget() && !m_placed) {
    const QWidget* window = parentWidget()->window();
    move(window->mapToGlobal(QPoint(window->width() - width() - 24, 90)));
    m_placed = true;
  }
  show();
  raise();
}

} // namespace tov
