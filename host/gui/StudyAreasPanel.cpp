#include "host/gui/StudyAreasPanel.h"

#include "host/gui/MainWindow.h"
#include "host/gui/StudyAreaCommands.h"
#include "host/studyareas/StudyAreaProperties.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/HostError.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tov {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

enum Column { kName, kMethod, kArea };

// The mark of the current study area: a filled dot in the outline colour
// the map gives it.
QIcon CurrentMark() {
  QPixmap pixmap(12, 12);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(QColor("#d9601a"));
  painter.setPen(Qt::NoPen);
  painter.drawEllipse(QRectF(1.5, 1.5, 9, 9));
  return QIcon(pixmap);
}

QString AreaText(const StudyAreaProperties& p) {
  if (!p.hasShape) return QObject::tr("unknown");
  const QLocale locale;
  const int digits = p.areaSquareKilometres < 100 ? 1 : 0;
  return QObject::tr("%1 km\u00b2").arg(locale.toString(p.areaSquareKilometres, 'f', digits));
}

} // namespace

StudyAreasPanel::StudyAreasPanel(MainWindow& window, StudyAreaCommands& commands, QWidget* parent)
    : QWidget(parent), m_window(window), m_commands(commands) {
  setObjectName("StudyAreasPanel");
  auto* title = new QLabel(tr("&Study Areas"), this);
  m_list = new QTreeWidget(this);
  m_list->setObjectName("StudyAreasList");
  m_list->setAccessibleName(tr("Study areas"));
  title->setBuddy(m_list);
  m_list->setColumnCount(3);
  m_list->setHeaderLabels({tr("Name"), tr("Method"), tr("Area")});
  m_list->setRootIsDecorated(false);
  m_list->setAllColumnsShowFocus(true);
  m_list->setSortingEnabled(true);
  m_list->sortByColumn(kName, Qt::AscendingOrder);
  m_list->header()->setStretchLastSection(false);
  // The name in full; the method gives way when the panel is narrow.
  m_list->header()->setSectionResizeMode(kName, QHeaderView::ResizeToContents);
  m_list->header()->setSectionResizeMode(kMethod, QHeaderView::Stretch);
  m_list->header()->setSectionResizeMode(kArea, QHeaderView::ResizeToContents);
  m_list->setContextMenuPolicy(Qt::CustomContextMenu);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 4, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(title);
  layout->addWidget(m_list, 1);

  // Double-click and Enter.
  connect(m_list, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    if (item) m_commands.Run(StudyAreaCommands::Action::Open, NameOf(item));
  });
  connect(m_list, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    QTreeWidgetItem* item = m_list->itemAt(at);
    QPoint where = at;
    // From the keyboard: the row the keyboard is on.
    if (!item && (item = m_list->currentItem())) where = m_list->visualItemRect(item).center();
    if (!item) return;
    m_commands.MenuFor(NameOf(item), this)->popup(m_list->viewport()->mapToGlobal(where));
  });
  m_list->installEventFilter(this);
}

bool StudyAreasPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_list && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && m_list->currentItem()) {
    m_commands.Run(StudyAreaCommands::Action::Delete, NameOf(m_list->currentItem()));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

std::string StudyAreasPanel::NameOf(const QTreeWidgetItem* item) {
  return item ? item->data(kName, Qt::UserRole).toString().toStdString() : std::string();
}

QTreeWidgetItem* StudyAreasPanel::ItemOf(const std::string& name) const {
  for (int i = 0; i < m_list->topLevelItemCount(); ++i)
    if (NameOf(m_list->topLevelItem(i)) == name) return m_list->topLevelItem(i);
  return nullptr;
}

void StudyAreasPanel::Refresh() {
  const std::string selected = NameOf(m_list->currentItem());
  m_list->setSortingEnabled(false);
  m_list->clear();
  const AnalysisPtr& analysis = m_window.Analysis();
  StudyAreaCatalogPtr catalog = analysis->dataManager->GetStudyAreaCatalog();
  CollectionPtr names = catalog ? catalog->Names() : CollectionPtr();
  for (long i = 1; names && i <= names->Count(); ++i) {
    const std::string name = names->Item(i).ToString();
    StudyAreaProperties properties;
    try {
      properties = DescribeStudyArea(*analysis, name);
    } catch (const HostError& e) {
      properties.name = name;
      properties.problem = e.Description();
    }
    auto* item = new QTreeWidgetItem(m_list);
    item->setText(kName, Q(name));
    item->setData(kName, Qt::UserRole, Q(name));
    item->setText(kMethod, Q(properties.methodCaption.empty() ? properties.method : properties.methodCaption));
    item->setText(kArea, AreaText(properties));
    item->setTextAlignment(kArea, Qt::AlignRight | Qt::AlignVCenter);
    if (properties.hasShape)
      item->setToolTip(kArea, tr("%1 square miles").arg(QLocale().toString(properties.areaSquareMiles, 'f', 1)));
    if (!properties.problem.empty()) item->setToolTip(kName, Q(properties.problem));
    if (properties.current) {
      QFont bold = item->font(kName);
      bold.setBold(true);
      for (int c = kName; c <= kArea; ++c) item->setFont(c, bold);
      item->setIcon(kName, CurrentMark());
      item->setToolTip(kName, tr("The current study area"));
      item->setData(kName, Qt::AccessibleDescriptionRole, tr("current study area"));
    }
  }
  m_list->setSortingEnabled(true);
  if (QTreeWidgetItem* again = ItemOf(selected)) m_list->setCurrentItem(again);
}

} // namespace tov
