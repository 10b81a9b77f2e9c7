#include "host/framework/Analysis.h"

#include "host/common/Paths.h"
#include "host/framework/DataSearchPath.h"
#include "host/framework/DatasetSwitch.h"
#include "host/framework/HostEnvironment.h"
#include "host/framework/ReferenceLayers.h"
#include "host/framework/SqliteStudyAreaCatalog.h"
#include "host/gis/DocumentLock.h"
#include "platform/framework/TovExtension.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/PathDisplay.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sys/stat.h>

namespace tov {
namespace {
const char kSource[] = "Analysis";
std::mutex g_mutex;
std::weak_ptr<AnalysisExtension> g_current;

// A native path under folder, shown as where it lives in a shared analysis.
std::string SharedShownPath(const std::string& location, const std::string& folder, const std::string& path) {
  const std::string native = DisplayPath(path);
  if (native.size() > folder.size() && native.compare(0, folder.size(), folder) == 0 && native[folder.size()] == '/')
    return location + " " + native.substr(folder.size() + 1);
  return native;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

void MakeFolders(const std::string& path) {
  for (size_t pos = 1; pos <= path.size(); ++pos) {
    if (pos != path.size() && path[pos] != '/') continue;
    std::string part = path.substr(0, pos);
    if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
      throw HostError(err::PathNotFound, kSource,
                      "The analysis folder " + path + " cannot be created (" + std::strerror(errno) + ").");
  }
}
} // namespace

std::shared_ptr<AnalysisExtension> CurrentAnalysisExtension() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return g_current.lock();
}

AnalysisPtr OpenAnalysis(const std::string& nativeFolder, const std::string& datasetName,
                         const std::string& dataRoot, bool createShared, AnalysisOpening opening) {
  if (nativeFolder.empty())
    throw HostError(err::InvalidCall, kSource, "No analysis folder was given.");
  auto analysis = std::make_shared<Analysis>();
  std::string folder = nativeFolder;
  if (SharedAnalysis::IsLocation(nativeFolder)) {
    analysis->shared = SharedAnalysis::Open(nativeFolder, createShared);
    analysis->shared->SetOnlyReads(opening == AnalysisOpening::WithoutMap);
    folder = analysis->shared->WorkingFolder();
  }
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  MakeFolders(folder);
  analysis->folder = folder;
  analysis->dataRoot = dataRoot.empty() ? DefaultDataRoot() : dataRoot;
  std::string documentPath = folder + "/document.json";
  // Two processes starting on a new analysis at once: one makes the
  // document, the other waits and loads it.
  std::unique_ptr<DocumentLock> creating;
  if (!Exists(documentPath)) creating = std::make_unique<DocumentLock>(documentPath);
  analysis->created = !Exists(documentPath);

  std::string logPath = folder + "/log.txt";
  { std::ofstream touch(logPath, std::ios::app); }
  SetErrorLogPath(logPath);

  auto db = std::make_shared<AnalysisDatabase>(folder + "/analysis.sqlite");
  analysis->database = db;
  const FoundDatasets found = FindDatasets(dataRoot);
  const std::vector<JsonDatasetPtr>& datasets = found.datasets;
  auto catalog = std::make_shared<SqliteStudyAreaCatalog>(db, folder);
  if (analysis->shared) catalog->SetIdSource([shared = analysis->shared.get()] { return shared->NextStudyAreaId(); });
  analysis->dataManager = std::make_shared<AnalysisDataManager>(datasets, catalog, folder + "/Scratch");
  analysis->extension = std::make_shared<AnalysisExtension>(db, analysis->dataManager);

  std::string current = datasetName.empty() ? analysis->extension->CurrentDatasetName() : datasetName;
  // Given none, a new analysis takes the data set marked as the default, else
  // the first by folder name.
  if (current.empty() && !datasets.empty()) {
    current = datasets.front()->Name();
    for (const auto& ds : datasets)
      if (ds->IsDefault()) {
        current = ds->Name();
        break;
      }
  }
  if (!current.empty() && !analysis->dataManager->DataSetByName(current)) {
    std::string names;
    for (const auto& ds : datasets) names += (names.empty() ? "" : ", ") + ds->Name();
    throw HostError(err::InvalidCall, kSource,
                    "There is no data set named \"" + current + "\". " +
                        (names.empty() ? "No data set was found. " + DescribeSearch(found.searched) +
                                             " Install the samples with \"tovana datasets install-sample\"."
                                       : "Installed data sets: " + names + "."));
  }
  // An analysis given another data set than the one it used switches to it
  // once its map is read.
  const std::string before = analysis->extension->CurrentDatasetName();
  const bool switching = !analysis->created && !before.empty() && current != before;
  if (current != before && !switching) analysis->extension->SetCurrentDatasetName(current);

  // Without the map there is no application either, so nothing can save an
  // unread map over the stored one.
  const bool withMap = opening == AnalysisOpening::Whole || analysis->created || switching;
  if (withMap) {
    analysis->application = std::make_shared<GisApplication>();
    analysis->application->AddExtension(kTovExtensionProgId, analysis->extension);
  }
  if (analysis->created) {
    if (!current.empty()) {
      auto ds = std::dynamic_pointer_cast<JsonDataset>(analysis->dataManager->DataSetByName(current));
      AddReferenceLayers(analysis->application->Document(), *ds, *analysis->extension->DataAccess());
    }
    SaveAnalysis(*analysis);
  } else if (withMap) {
    analysis->application->LoadDocument(documentPath);
    if (switching) SwitchDataset(*analysis, current);
  }
  creating.reset();

  if (analysis->shared)
    SetPathDisplay([location = analysis->shared->Location().shown, folder](const std::string& path) {
      return SharedShownPath(location, folder, path);
    });
  else SetPathDisplay(&DisplayPath);

  std::lock_guard<std::mutex> lock(g_mutex);
  g_current = analysis->extension;
  return analysis;
}

void SaveAnalysis(const Analysis& analysis) {
  if (!analysis.application) throw HostError(err::ObjectVariableNotSet, kSource, "The analysis is not open.");
  analysis.application->SaveDocument(analysis.folder + "/document.json");
  if (analysis.shared) analysis.shared->Publish(analysis.application->SavedDocumentText().get());
}

namespace {
// The document's state at the mark; empty when it cannot be saved.
std::string StateAt(const AnalysisMark& mark) {
  if (!mark.prepared) return mark.document;
  try {
    return mark.prepared();
  } catch (const HostError&) {
    return {};
  } catch (const nlohmann::json::exception&) {
    return {}; // a text that is not UTF-8: refused by the save, with its message
  }
}
} // namespace

AnalysisMark MarkAnalysis(const Analysis& analysis) {
  if (!analysis.application) throw HostError(err::ObjectVariableNotSet, kSource, "The analysis is not open.");
  AnalysisMark mark;
  mark.commits = analysis.database->Commits();
  const std::string document = analysis.folder + "/document.json";
  if ((mark.loadedText = analysis.application->UntouchedDocumentText(document))) return mark;
  if ((mark.prepared = analysis.application->PreparedDocumentState(document))) return mark;
  try {
    mark.document = analysis.application->DocumentState(document);
  } catch (const HostError&) {
    // A map holding what cannot be saved: the document counts as changed.
    mark.document.clear();
  } catch (const nlohmann::json::exception&) {
    mark.document.clear(); // a text that is not UTF-8, as above
  }
  return mark;
}

bool ChangedSince(const Analysis& analysis, const AnalysisMark& mark) {
  return ChangedBetween(mark, MarkAnalysis(analysis));
}

bool ChangedBetween(const AnalysisMark& before, const AnalysisMark& after) {
  if (after.commits != before.commits) return true;
  if (before.loadedText) {
    if (after.loadedText) return *after.loadedText != *before.loadedText;
    // Written as a save would write it; a file written otherwise (an older
    // version's) counts as changed, and is saved the same again.
    return after.document.empty() || after.document != *before.loadedText;
  }
  // Saved in between: the later mark is of another text.
  if (after.loadedText) return true;
  const std::string was = StateAt(before);
  const std::string is = StateAt(after);
  return was.empty() || is.empty() || is != was;
}

void SaveAnalysisChangesSince(const Analysis& analysis, const AnalysisMark& mark, std::string now) {
  if (!analysis.application) throw HostError(err::ObjectVariableNotSet, kSource, "The analysis is not open.");
  // Untouched at the mark: its changes since are those since the load (or
  // since a save after it, which holds the earlier ones already).
  if (mark.loadedText) {
    analysis.application->SaveDocument(analysis.folder + "/document.json", std::move(now));
    if (analysis.shared) analysis.shared->Publish(analysis.application->SavedDocumentText().get());
    return;
  }
  const std::string since = StateAt(mark);
  if (since.empty()) return SaveAnalysis(analysis);
  analysis.application->SaveDocumentChangesSince(analysis.folder + "/document.json", since, std::move(now));
  if (analysis.shared) analysis.shared->Publish(analysis.application->SavedDocumentText().get());
}

std::string AnalysisShownName(const Analysis& analysis) {
  return analysis.shared ? analysis.shared->Location().shown : analysis.folder;
}

std::string AnalysisShownPath(const Analysis& analysis, const std::string& path) {
  return analysis.shared ? SharedShownPath(analysis.shared->Location().shown, analysis.folder, path) : DisplayPath(path);
}

} // namespace tov
