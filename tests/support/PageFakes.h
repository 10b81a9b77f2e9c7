#pragma once
// Small stand-ins for the host objects the page conventions talk to.
#include "HostWrappers.h"
#include "host/forms/HostSystemCalls.h"

namespace tov {
namespace testing_pages {

// Resource components over tables the tests fill; an unknown id gives "?id".
template <int Which>
class FakeResources : public ResourceFinder {
public:
  static std::map<std::string, std::string>& Table() {
    static std::map<std::string, std::string> table;
    return table;
  }
  std::string FindString(const std::string& id) override {
    auto it = Table().find(id);
    return it == Table().end() ? "?" + id : it->second;
  }
  ResourcePicturePtr FindCursor(const std::string&) override { return nullptr; }
};
using FakeTexts = FakeResources<0>;
using FakeLayout = FakeResources<1>;

// The host's system calls, recording help requests.
class RecordingCalls : public HostSystemCalls {
public:
  bool WinHelpA(long hWnd, const std::string& file, uint32_t command, const std::string& data) override {
    helpWindow = hWnd;
    helpFile = file;
    helpCommand = command;
    helpTopic = data;
    return true;
  }
  long helpWindow = 0;
  std::string helpFile, helpTopic;
  uint32_t helpCommand = 0;
};

class FakePropertySet : public TaskPropertySet {
public:
  Variant GetProperty(const std::string& key) override {
    auto it = values.find(key);
    if (it == values.end()) throw HostError(5, "FakePropertySet", "no key " + key);
    return it->second;
  }
  void SetProperty(const std::string& key, const Variant& value) override {
    values[key] = value;
    order.push_back(key);
  }
  bool HasProperty(const std::string& key) override { return values.count(key) != 0; }
  void RemoveProperty(const std::string& key) override { values.erase(key); }
  long Count() override { return static_cast<long>(values.size()); }
  std::map<std::string, Variant> values;
  std::vector<std::string> order;
};

class FakeApplication : public HostApplication {
public:
  MapDocumentPtr Document() const override { return nullptr; }
  int64_t hWnd() const override { return window; }
  ObjectPtr FindExtension(const std::string& identifier) const override {
    asked = identifier;
    return extension;
  }
  int64_t window = HostSystemCalls::kHostWindow;
  ObjectPtr extension;
  mutable std::string asked;
};

// Puts the fakes in place of the host's resources and system calls for its
// lifetime (English locale); the host's come back afterwards.
class FakePages {
public:
  FakePages() : m_previousCalls(GetSystemCalls()) {
    calls->SetLocale(1033);
    SetSystemCalls(calls);
  }
  ~FakePages() { SetSystemCalls(m_previousCalls); }
  FakePages(const FakePages&) = delete;
  FakePages& operator=(const FakePages&) = delete;

  std::shared_ptr<RecordingCalls> calls = std::make_shared<RecordingCalls>();

private:
  test::ClassOverride m_texts{kTextResourcesProgId, test::ClassOverride::Of<FakeTexts>()};
  test::ClassOverride m_layout{kGuiResourcesProgId, test::ClassOverride::Of<FakeLayout>()};
  SystemCallsPtr m_previousCalls;
};

} // namespace testing_pages
} // namespace tov
