#pragma once
#include "platform/gis/GisForward.h"

#include <QDialog>
#include <QString>

#include <utility>
#include <vector>

class QLabel;
class QTreeWidget;

namespace tov {

// One feature found under the pointer, with its attributes as shown.
struct IdentifiedFeature {
  QString layer;
  long oid = -1;
  std::vector<std::pair<QString, QString>> attributes; // field and value, in the class's order
  // What names the feature: its first text attribute, else its id.
  QString title;
};

// The features of the map's layers within tolerance (map units) of the
// point (map coordinates), in the layers the map draws at that scale,
// topmost layer first. A layer whose data cannot be read is passed over.
std::vector<IdentifiedFeature> IdentifyAt(const Map& map, double x, double y, double tolerance, double scale);

// The window that shows what the Identify tool found: each layer with its
// features, each feature with its attributes; it stays open beside the map
// and shows the next click's features in place of these.
class IdentifyResults : public QDialog {
public:
  explicit IdentifyResults(QWidget* parent);
  void Show(const std::vector<IdentifiedFeature>& found, const QString& where);
  QTreeWidget* Tree() const { return m_tree; }
  QString Where() const;

private:
  QLabel* m_where = nullptr;
  QTreeWidget* m_tree = nullptr;
  bool m_placed = false;
};

} // namespace tov
