#pragma once
// Host objects that pass every call to a real one: a test overrides the
// call it wants to fail or answer otherwise.
#include "Prelude.h"

namespace tov::test {

template <class Interface>
class Delegating : public Interface {
public:
  explicit Delegating(std::shared_ptr<Interface> inner) : m_inner(std::move(inner)) {}

protected:
  std::shared_ptr<Interface> m_inner;
};

class DelegatingCatalog : public Delegating<StudyAreaCatalog> {
public:
  using Delegating::Delegating;
  CollectionPtr Names() override { return m_inner->Names(); }
  long Count() override { return m_inner->Count(); }
  bool Exists(const std::string& name) override { return m_inner->Exists(name); }
  bool Add(const std::string& name) override { return m_inner->Add(name); }
  StudyAreaRecordPtr Item(const std::string& name) override { return m_inner->Item(name); }
  void Remove(const std::string& name) override { m_inner->Remove(name); }
};

// A catalogue that refuses every new name: the store stops before the polygon.
class RefusingCatalog : public DelegatingCatalog {
public:
  using DelegatingCatalog::DelegatingCatalog;
  bool Add(const std::string&) override { return false; }
};

class DelegatingDataManager : public Delegating<DataManager> {
public:
  using Delegating::Delegating;
  long DataSetCount() override { return m_inner->DataSetCount(); }
  HostDatasetPtr DataSet(long index) override { return m_inner->DataSet(index); }
  std::string DataSetName(long index) override { return m_inner->DataSetName(index); }
  HostDatasetPtr DataSetByName(const std::string& name) override { return m_inner->DataSetByName(name); }
  StudyAreaCatalogPtr GetStudyAreaCatalog() override { return m_inner->GetStudyAreaCatalog(); }
  std::string MediaPath(const std::string& name) override { return m_inner->MediaPath(name); }
  std::string ScratchLayerPath() override { return m_inner->ScratchLayerPath(); }
};

class RefusingDataManager : public DelegatingDataManager {
public:
  using DelegatingDataManager::DelegatingDataManager;
  StudyAreaCatalogPtr GetStudyAreaCatalog() override {
    return std::make_shared<RefusingCatalog>(m_inner->GetStudyAreaCatalog());
  }
};

class DelegatingExtension : public Delegating<TovExtension> {
public:
  using Delegating::Delegating;
  TextPropertySetPtr ExtensionProperties() override { return m_inner->ExtensionProperties(); }
  TextPropertySetPtr ExtensionOptions() override { return m_inner->ExtensionOptions(); }
  GeometryPtr CurrentStudyAreaGeometry() override { return m_inner->CurrentStudyAreaGeometry(); }
  std::string CurrentDatasetName() override { return m_inner->CurrentDatasetName(); }
  DataAccessServicePtr GetDataAccessService() override { return m_inner->GetDataAccessService(); }
  DataManagerPtr GetDataManager() override { return m_inner->GetDataManager(); }
};

// A map that is not its own view: it passes the Map calls only.
class DelegatingMap : public Delegating<Map> {
public:
  using Delegating::Delegating;
  std::string Name() const override { return m_inner->Name(); }
  void SetName(const std::string& name) override { m_inner->SetName(name); }
  long LayerCount() const override { return m_inner->LayerCount(); }
  LayerPtr Layer(long index) const override { return m_inner->Layer(index); }
  EnumLayerPtr Layers(bool allLevels) const override { return m_inner->Layers(allLevels); }
  void AddLayer(const LayerPtr& layer) override { m_inner->AddLayer(layer); }
  void InsertLayer(const LayerPtr& layer, long index) override { m_inner->InsertLayer(layer, index); }
  void DeleteLayer(const LayerPtr& layer) override { m_inner->DeleteLayer(layer); }
  void ClearLayers() override { m_inner->ClearLayers(); }
  EnumFeaturePtr FeatureSelection() const override { return m_inner->FeatureSelection(); }
  long SelectionCount() const override { return m_inner->SelectionCount(); }
  void SelectByShape(const GeometryPtr& shape, const SelectionEnvironmentPtr& env, bool justOne) override {
    m_inner->SelectByShape(shape, env, justOne);
  }
  void ClearSelection() override { m_inner->ClearSelection(); }
  void AddElement(const GraphicElementPtr& element) override { m_inner->AddElement(element); }
  void DeleteElement(const GraphicElementPtr& element) override { m_inner->DeleteElement(element); }
  void DeleteAllElements() override { m_inner->DeleteAllElements(); }
  long ElementCount() const override { return m_inner->ElementCount(); }
  GraphicElementPtr Element(long index) const override { return m_inner->Element(index); }
  void SelectElement(const GraphicElementPtr& element) override { m_inner->SelectElement(element); }
  void UnselectAllElements() override { m_inner->UnselectAllElements(); }
  long ElementSelectionCount() const override { return m_inner->ElementSelectionCount(); }
  EnumElementPtr SelectedElements() const override { return m_inner->SelectedElements(); }
  SpatialReferencePtr SpatialReference() const override { return m_inner->SpatialReference(); }
  void SetSpatialReference(const SpatialReferencePtr& sr) override { m_inner->SetSpatialReference(sr); }
};

class DelegatingDocument : public Delegating<MapDocument> {
public:
  using Delegating::Delegating;
  MapPtr FocusMap() const override { return m_inner->FocusMap(); }
  void SetFocusMap(const MapPtr& map) override { m_inner->SetFocusMap(map); }
  long MapCount() const override { return m_inner->MapCount(); }
  MapPtr Map(long index) const override { return m_inner->Map(index); }
  void AddMap(const MapPtr& map) override { m_inner->AddMap(map); }
  ActiveViewPtr ActiveView() const override { return m_inner->ActiveView(); }
  void RefreshContentsView() override { m_inner->RefreshContentsView(); }
};

// An application whose document and analysis extension may be replaced.
class DelegatingApplication : public Delegating<HostApplication> {
public:
  using Delegating::Delegating;
  MapDocumentPtr Document() const override { return document ? document : m_inner->Document(); }
  int64_t hWnd() const override { return m_inner->hWnd(); }
  ObjectPtr FindExtension(const std::string& identifier) const override {
    if (extension && identifier == kTovExtensionProgId) return extension;
    return m_inner->FindExtension(identifier);
  }

  MapDocumentPtr document;
  TovExtensionPtr extension;
};

// Registers a factory under a ProgID for its lifetime, then puts back the one before.
class ClassOverride {
public:
  ClassOverride(std::string progId, ObjectFactory factory)
      : m_progId(std::move(progId)), m_previous(RegisteredFactory(m_progId)) {
    RegisterClass(m_progId, std::move(factory));
  }
  ~ClassOverride() {
    if (m_previous)
      RegisterClass(m_progId, m_previous);
    else
      UnregisterClass(m_progId);
  }
  ClassOverride(const ClassOverride&) = delete;
  ClassOverride& operator=(const ClassOverride&) = delete;

  // A factory of default-constructed T.
  template <class T>
  static ObjectFactory Of() {
    return [] { return std::static_pointer_cast<Object>(std::make_shared<T>()); };
  }

private:
  std::string m_progId;
  ObjectFactory m_previous;
};

// Takes a class out of the registry for its lifetime.
class ClassRemoval : ClassOverride {
public:
  explicit ClassRemoval(std::string progId) : ClassOverride(progId, nullptr) { UnregisterClass(progId); }
};

} // namespace tov::test
