#include "host/gui/NewDatasetDialog.h"

#include "platform/runtime/HostError.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

namespace tov {
namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

// The first entry of the optional lists: nothing chosen.
const char kNone[] = "(none)";
const char kInferred[] = "(the first with unique values)";
} // namespace

NewDatasetDialog::NewDatasetDialog(std::string dataRoot, QWidget* parent)
    : QDialog(parent), m_dataRoot(std::move(dataRoot)) {
  setWindowTitle(tr("New Data Set from File"));
  auto* form = new QFormLayout;
  m_source = new QLineEdit(this);
  auto* browse = new QPushButton(tr("Browse..."), this);
  auto* sourceRow = new QHBoxLayout;
  sourceRow->addWidget(m_source, 1);
  sourceRow->addWidget(browse);
  auto* sourceLabel = new QLabel(tr("&File:"), this);
  sourceLabel->setBuddy(m_source);
  form->addRow(sourceLabel, sourceRow);
  m_regions = new QComboBox(this);
  m_nameField = new QComboBox(this);
  m_labelField = new QComboBox(this);
  m_codes = new QComboBox(this);
  m_codeField = new QComboBox(this);
  m_context = new QListWidget(this);
  m_context->setMaximumHeight(90);
  m_projection = new QComboBox(this);
  m_projection->setEditable(true);
  m_projection->addItem("auto");
  m_attribution = new QLineEdit(this);
  m_name = new QLineEdit(this);
  m_inferred = new QLabel(this);
  m_inferred->setWordWrap(true);
  form->addRow(tr("&Regions (main layer):"), m_regions);
  form->addRow(tr("Region &names from:"), m_nameField);
  form->addRow(tr("&Add to the names:"), m_labelField);
  form->addRow(tr("&Code areas:"), m_codes);
  form->addRow(tr("Code &field:"), m_codeField);
  form->addRow(tr("&Outlines:"), m_context);
  form->addRow(tr("&Projection:"), m_projection);
  form->addRow(tr("A&ttribution:"), m_attribution);
  form->addRow(tr("Data set na&me:"), m_name);
  form->addRow(m_inferred);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
  m_create = buttons->addButton(tr("Create"), QDialogButtonBox::AcceptRole);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  resize(520, 480);

  connect(browse, &QPushButton::clicked, this, [this] {
    const QString file = QFileDialog::getOpenFileName(
        this, tr("Layers of the new data set"), m_source->text(),
        tr("Layers (*.gpkg *.shp *.geojson *.json *.fgb);;All files (*)"));
    if (!file.isEmpty()) SetSource(file);
  });
  // Also emitted when the field only loses the focus: the same file is not read again.
  connect(m_source, &QLineEdit::editingFinished, this, [this] {
    if (m_source->text() != m_loaded) SetSource(m_source->text());
  });
  connect(m_regions, &QComboBox::currentTextChanged, this, [this] { LayerChosen(); });
  connect(m_codes, &QComboBox::currentTextChanged, this, [this] { LayerChosen(); });
  connect(m_codeField, &QComboBox::currentTextChanged, this, [this] { ShowInferred(); });
  connect(m_projection, &QComboBox::currentTextChanged, this, [this] { ShowInferred(); });
  connect(m_create, &QPushButton::clicked, this, [this] {
    if (Create()) accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

// The file field finishes its editing when it loses the focus, also while
// the dialog is being destroyed: by then it must reach no slot of it.
NewDatasetDialog::~NewDatasetDialog() {
  for (QObject* child : findChildren<QObject*>()) QObject::disconnect(child, nullptr, this, nullptr);
}

void NewDatasetDialog::SetSource(const QString& file) {
  // Filling the lists moves the focus, which may finish the file field's
  // editing again: that call must not pull the layers from under this one.
  if (m_loading) return;
  m_loading = true;
  m_loaded = file;
  m_source->setText(file);
  m_layers.clear();
  try {
    m_layers = ListSourceLayers(S(file));
  } catch (const HostError& e) {
    m_inferred->setText(Q(e.Description()));
  }
  const QSignalBlocker a(m_regions), b(m_codes);
  m_regions->clear();
  m_codes->clear();
  m_codes->addItem(tr(kNone));
  for (const SourceLayerInfo& layer : m_layers)
    if (layer.kind == "polygons") {
      m_regions->addItem(Q(layer.name));
      m_codes->addItem(Q(layer.name));
    }
  if (m_name->text().isEmpty()) m_name->setText(QFileInfo(file).completeBaseName());
  LayerChosen();
  m_loading = false;
}

void NewDatasetDialog::LayerChosen() {
  auto fieldsOf = [this](const QString& name) {
    for (const SourceLayerInfo& layer : m_layers)
      if (Q(layer.name) == name) return layer.textFields;
    return std::vector<std::string>();
  };
  const QSignalBlocker a(m_codeField);
  m_nameField->clear();
  m_labelField->clear();
  m_nameField->addItem(tr(kInferred));
  m_labelField->addItem(tr(kNone));
  for (const std::string& f : fieldsOf(m_regions->currentText())) {
    m_nameField->addItem(Q(f));
    m_labelField->addItem(Q(f));
  }
  m_codeField->clear();
  for (const std::string& f : fieldsOf(m_codes->currentText())) m_codeField->addItem(Q(f));
  m_codeField->setEnabled(m_codes->currentIndex() > 0);
  m_context->clear();
  for (const SourceLayerInfo& layer : m_layers) {
    const QString name = Q(layer.name);
    if (name == m_regions->currentText() || (m_codes->currentIndex() > 0 && name == m_codes->currentText())) continue;
    if (layer.kind != "polygons" && layer.kind != "lines") continue;
    auto* item = new QListWidgetItem(name, m_context);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  ShowInferred();
}

void NewDatasetDialog::ShowInferred() {
  QString text;
  if (m_regions->count() == 0) {
    text = m_layers.empty() ? tr("Pick a file of layers.") : tr("The file holds no polygon layer to use as regions.");
  } else {
    try {
      text = tr("Analysis system: ") +
             Q(PreviewAnalysisSystem(S(m_source->text()), S(m_regions->currentText()), S(m_projection->currentText())));
    } catch (const HostError& e) {
      text = Q(e.Description());
    }
    if (m_codes->currentIndex() > 0 && m_codeField->count() > 0) {
      try {
        const CodeRules rules =
            PreviewCodeRules(S(m_source->text()), S(m_codes->currentText()), S(m_codeField->currentText()));
        text += "\n" + tr("Code rules: ") + (rules.numeric ? tr("digits") : tr("letters and digits")) + ", " +
                QString::number(rules.valueLength) + tr(" characters, ") +
                (rules.checkValidity ? tr("checked") : tr("not checked (the codes differ in length)")) + ". " +
                Q(rules.validExample);
      } catch (const HostError& e) {
        text += "\n" + Q(e.Description());
      }
    } else {
      text += "\n" + tr("Without code areas the data set offers no study areas of codes.");
    }
  }
  m_inferred->setText(text);
  m_create->setEnabled(m_regions->count() > 0);
}

DatasetCreateOptions NewDatasetDialog::Options() const {
  DatasetCreateOptions o;
  o.name = S(m_name->text());
  o.source = S(m_source->text());
  o.regions.layer = S(m_regions->currentText());
  if (m_nameField->currentIndex() > 0) o.regions.field = S(m_nameField->currentText());
  if (m_labelField->currentIndex() > 0) o.labelField = S(m_labelField->currentText());
  if (m_codes->currentIndex() > 0) o.codes = LayerChoice{S(m_codes->currentText()), S(m_codeField->currentText())};
  for (int i = 0; i < m_context->count(); ++i)
    if (m_context->item(i)->checkState() == Qt::Checked) o.context.push_back(S(m_context->item(i)->text()));
  o.projection = S(m_projection->currentText());
  o.attribution = S(m_attribution->text());
  o.dataRoot = m_dataRoot;
  return o;
}

bool NewDatasetDialog::Create() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    m_report = CreateDataset(Options());
  } catch (const HostError& e) {
    QApplication::restoreOverrideCursor();
    QMessageBox::warning(this, windowTitle(), Q(e.Description()));
    return false;
  }
  QApplication::restoreOverrideCursor();
  return true;
}

} // namespace tov
