#include "HostCallCounter.h"
#include "HostWrappers.h"

namespace tov::test {

namespace {

// Passes each call of an Interface on to the real object after the counter
// has seen it as "kind.Method".
template <class Interface>
class Counted : public Delegating<Interface> {
public:
  Counted(std::shared_ptr<Interface> inner, HostCallCounter* counter, std::string kind)
      : Delegating<Interface>(std::move(inner)), m_counter(counter), m_kind(std::move(kind)) {}

protected:
  void Tick(const char* method) const { m_counter->Tick(m_kind + "." + method); }

private:
  HostCallCounter* m_counter;
  std::string m_kind;
};

class CountedLayerFile : public Counted<LayerFile> {
public:
  using Counted::Counted;
  std::string Filename() const override { return Tick("Filename"), m_inner->Filename(); }
  void SetFilename(const std::string& path) override { Tick("SetFilename"), m_inner->SetFilename(path); }
  void Open(const std::string& path) override { Tick("Open"), m_inner->Open(path); }
  LayerPtr Layer() const override { return Tick("Layer"), m_inner->Layer(); }
  void SetLayer(const LayerPtr& layer) override { Tick("SetLayer"), m_inner->SetLayer(layer); }
  void Save(const std::string& path) override { Tick("Save"), m_inner->Save(path); }
};

class CountedWorkspaceFactory : public Counted<WorkspaceFactory> {
public:
  using Counted::Counted;
  std::string ClassID() const override { return Tick("ClassID"), m_inner->ClassID(); }
  WorkspacePtr OpenFromFile(const std::string& path) override { return Tick("OpenFromFile"), m_inner->OpenFromFile(path); }
  std::string Create(const std::string& folder, const std::string& name, const ObjectPtr& properties) override {
    return Tick("Create"), m_inner->Create(folder, name, properties);
  }
  bool IsWorkspace(const std::string& path) const override { return Tick("IsWorkspace"), m_inner->IsWorkspace(path); }
};

class CountedFileInfo : public Counted<FileInfo> {
public:
  using Counted::Counted;
  void SetPath(const std::string& path) override { Tick("SetPath"), m_inner->SetPath(path); }
  std::string Path() override { return Tick("Path"), m_inner->Path(); }
  std::string DirectoryPart() override { return Tick("DirectoryPart"), m_inner->DirectoryPart(); }
  std::string NamePart() override { return Tick("NamePart"), m_inner->NamePart(); }
  std::string ExtensionPart() override { return Tick("ExtensionPart"), m_inner->ExtensionPart(); }
};

class CountedFileSystemObject : public Counted<FileSystemObject> {
public:
  using Counted::Counted;
  bool FileExists(const std::string& path) const override { return Tick("FileExists"), m_inner->FileExists(path); }
  bool FolderExists(const std::string& path) const override { return Tick("FolderExists"), m_inner->FolderExists(path); }
  std::string GetAbsolutePathName(const std::string& path) const override {
    return Tick("GetAbsolutePathName"), m_inner->GetAbsolutePathName(path);
  }
  void DeleteFile(const std::string& path) override { Tick("DeleteFile"), m_inner->DeleteFile(path); }
};

// The object made by the real factory, wrapped when it is of a counted kind.
template <class Interface, class Wrapper>
ObjectPtr WrapAs(const ObjectPtr& object, HostCallCounter* counter, const std::string& kind) {
  auto typed = std::dynamic_pointer_cast<Interface>(object);
  if (!typed) return object;
  return std::static_pointer_cast<Object>(std::make_shared<Wrapper>(typed, counter, kind));
}

ObjectPtr Wrap(const ObjectPtr& object, HostCallCounter* counter, const std::string& progId) {
  if (progId == kLayerFileProgId) return WrapAs<LayerFile, CountedLayerFile>(object, counter, progId);
  if (progId == kShapefileWorkspaceFactoryProgId || progId == kAccessWorkspaceFactoryProgId)
    return WrapAs<WorkspaceFactory, CountedWorkspaceFactory>(object, counter, progId);
  if (progId == kFileInfoProgId) return WrapAs<FileInfo, CountedFileInfo>(object, counter, progId);
  if (progId == kFileSystemObjectProgId) return WrapAs<FileSystemObject, CountedFileSystemObject>(object, counter, progId);
  return object;
}

} // namespace

HostCallCounter::HostCallCounter(long n, Action action, std::function<bool(const std::string&)> wanted)
    : m_n(n), m_action(std::move(action)) {
  for (const std::string& progId : RegisteredProgIds()) {
    if (wanted && !wanted(progId)) continue;
    ObjectFactory inner = RegisteredFactory(progId);
    m_saved.emplace_back(progId, inner);
    RegisterClass(progId, [this, progId, inner]() -> ObjectPtr {
      Tick(progId);
      return Wrap(inner(), this, progId);
    });
  }
}

HostCallCounter::~HostCallCounter() {
  for (const auto& [progId, factory] : m_saved) RegisterClass(progId, factory);
}

void HostCallCounter::Tick(const std::string& call) {
  m_log.push_back(call);
  if (++m_calls != m_n) return;
  m_hit = call;
  if (m_action) m_action(call);
}

} // namespace tov::test
