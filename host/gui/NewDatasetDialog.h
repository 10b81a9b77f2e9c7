#pragma once
#include "host/datasets/DatasetCreate.h"
#include "host/datasets/SourceLayers.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tov {

// Analysis > New Data Set from File...: a small dialog over `datasets
// create`. The user picks a file, its main layer and name field, code areas
// and outlines if any; the dialog shows the analysis system and code rules
// that would be inferred, and Create makes the data set in the data root.
class NewDatasetDialog : public QDialog {
public:
  explicit NewDatasetDialog(std::string dataRoot, QWidget* parent = nullptr);
  ~NewDatasetDialog() override;

  // Reads the layers of a source into the lists (the Browse button's work).
  void SetSource(const QString& file);
  // What Create would ask for, as the dialog stands.
  DatasetCreateOptions Options() const;
  // Makes the data set; a refusal is shown and leaves the dialog open.
  bool Create();
  const DatasetCreateReport& Report() const { return m_report; }

  QLineEdit* SourceEdit() const { return m_source; }
  QLineEdit* NameEdit() const { return m_name; }
  QComboBox* RegionsBox() const { return m_regions; }
  QComboBox* NameFieldBox() const { return m_nameField; }
  QComboBox* CodesBox() const { return m_codes; }
  QComboBox* CodeFieldBox() const { return m_codeField; }
  QListWidget* ContextList() const { return m_context; }
  QComboBox* ProjectionBox() const { return m_projection; }
  QLabel* InferredLabel() const { return m_inferred; }
  QPushButton* CreateButton() const { return m_create; }

private:
  void LayerChosen();
  void ShowInferred();

  std::string m_dataRoot;
  QString m_loaded; // the file whose layers are listed
  bool m_loading = false;
  std::vector<SourceLayerInfo> m_layers;
  QLineEdit* m_source;
  QLineEdit* m_name;
  QComboBox* m_regions;
  QComboBox* m_nameField;
  QComboBox* m_labelField;
  QComboBox* m_codes;
  QComboBox* m_codeField;
  QListWidget* m_context;
  QComboBox* m_projection;
  QLineEdit* m_attribution;
  QLabel* m_inferred;
  QPushButton* m_create;
  DatasetCreateReport m_report;
};

} // namespace tov
