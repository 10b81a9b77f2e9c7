#pragma once
#include <QWidget>

#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace tov {

class MainWindow;
class StudyAreaCommands;

// The "Study Areas" panel beside the layer tree: the analysis's study areas
// with the method that made each and its area, the current one marked.
// Double-click or Enter opens one; its context menu (also the Menu key)
// offers the commands on it, and Delete deletes it.
class StudyAreasPanel : public QWidget {
public:
  StudyAreasPanel(MainWindow& window, StudyAreaCommands& commands, QWidget* parent);

  QTreeWidget* List() const { return m_list; }
  // Lists the study areas anew from the analysis.
  void Refresh();
  // The row of a study area, or null.
  QTreeWidgetItem* ItemOf(const std::string& name) const;
  // The study area a row shows.
  static std::string NameOf(const QTreeWidgetItem* item);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  MainWindow& m_window;
  StudyAreaCommands& m_commands;
  QTreeWidget* m_list = nullptr;
};

} // namespace tov
