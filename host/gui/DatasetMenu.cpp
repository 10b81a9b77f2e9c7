#include "host/gui/DatasetMenu.h"

#include "host/framework/DatasetSwitch.h"
#include "host/gui/MainWindow.h"
#include "host/gui/NewDatasetDialog.h"
#include "platform/runtime/HostError.h"

#include <QActionGroup>
#include <QMenu>
#include <QMessageBox>

namespace tov {

DatasetMenu::DatasetMenu(QMenu* analysisMenu, MainWindow* window, AnalysisPtr analysis)
    : QObject(window), m_window(window), m_analysis(std::move(analysis)) {
  m_submenu = analysisMenu->addMenu(tr("&Data Set"));
  connect(m_submenu, &QMenu::aboutToShow, this, [this] { Rebuild(); });
  connect(analysisMenu->addAction(tr("&New Data Set from File...")), &QAction::triggered, this, [this] { NewFromFile(); });
  Rebuild();
}

void DatasetMenu::Rebuild() {
  m_submenu->clear();
  auto* group = new QActionGroup(m_submenu);
  const std::string current = m_analysis->extension->CurrentDatasetName();
  for (const JsonDatasetPtr& dataset : m_analysis->dataManager->DataSets()) {
    QAction* action = m_submenu->addAction(QString::fromStdString(dataset->Name()));
    action->setCheckable(true);
    action->setChecked(dataset->Name() == current);
    group->addAction(action);
    const std::string name = dataset->Name();
    connect(action, &QAction::triggered, this, [this, name] { Switch(name); });
  }
}

bool DatasetMenu::Switch(const std::string& name) {
  if (name == m_analysis->extension->CurrentDatasetName()) return true;
  try {
    SwitchDataset(*m_analysis, name);
  } catch (const HostError& e) {
    QMessageBox::warning(m_window, tr("Data Set"), QString::fromStdString(e.Description()));
    return false;
  }
  m_window->Canvas()->Reload();
  m_window->Reload();
  Rebuild();
  return true;
}

bool DatasetMenu::NewFromFile() {
  NewDatasetDialog dialog(m_analysis->dataRoot, m_window);
  if (dialog.exec() != QDialog::Accepted) return false;
  try {
    InstallDataset(*m_analysis, dialog.Report().folder);
  } catch (const HostError& e) {
    QMessageBox::warning(m_window, tr("New Data Set"), QString::fromStdString(e.Description()));
    return false;
  }
  return Switch(dialog.Report().name);
}

} // namespace tov
