#pragma once
#include "host/framework/AnalysisDataManager.h"
#include "host/framework/AnalysisExtension.h"
#include "host/framework/DataSearchPath.h"
#include "host/framework/SharedAnalysis.h"
#include "host/gis/GisApplication.h"


#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tov {

// An open analysis: one folder holding
//   analysis.sqlite  study area catalogue, extension properties and options,
//                    the current data set name;
//   document.json    the map document;
//   log.txt          one line per error report;
//   StudyAreas/<id>/ each study area's layer file and dataset;
//   Scratch/         pages' scratch layers (the drawn area), each in a
//                    folder of its own that lives as long as the process.
// The application, data manager and extension are wired together: the
// application finds the extension under "TovKernel.TovExtension".
struct Analysis {
  // A shared analysis (in PostgreSQL): folder is then this process's working
  // copy of it. Declared first so that it goes last.
  std::shared_ptr<SharedAnalysis> shared;
  std::string folder; // native path
  std::string dataRoot; // native folder new data sets are written to
  // analysis.sqlite (of the working copy, for a shared analysis)
  std::shared_ptr<AnalysisDatabase> database;
  // None when the analysis was opened WithoutMap.
  std::shared_ptr<GisApplication> application;
  std::shared_ptr<AnalysisDataManager> dataManager;
  std::shared_ptr<AnalysisExtension> extension;
  bool created = false; // true when this call made a new analysis
};

using AnalysisPtr = std::shared_ptr<Analysis>;

// How much of an analysis OpenAnalysis reads. A command that neither shows
// nor changes the map (list, show) opens it WithoutMap: the map document,
// which grows with every study area, is then left unread. A new analysis,
// and one switched to another data set, still get their map. Such a command
// changes no study area either: a shared analysis takes their files as
// pulled (SharedAnalysis::SetOnlyReads).
enum class AnalysisOpening { Whole, WithoutMap };

// Opens the analysis in nativeFolder, creating the folder and a new analysis
// when there is none. Data sets are looked up in dataRoot first, then along
// the rest of DataSearchPath. datasetName picks the current data set ("" =
// the one the analysis used last, else the one marked as the default, else
// the first found). A new
// analysis shows the data set's reference layers in its analysis coordinate
// system, at its initial extent (AddReferenceLayers), and is saved at once. Also points the error log at the folder's log.txt.
// Failures (unknown data set, unreadable files) raise HostError.
// A PostgreSQL location ("postgresql://...?schema=S" or "PG:... schemas=S")
// opens a shared analysis instead (see SharedAnalysis); one that does not
// exist yet is made only when createShared.
AnalysisPtr OpenAnalysis(const std::string& nativeFolder, const std::string& datasetName = std::string(),
                         const std::string& dataRoot = std::string(), bool createShared = true,
                         AnalysisOpening opening = AnalysisOpening::Whole);

// Writes the map document to document.json (atomically). The catalogue and
// settings need no saving: each change is stored when it is made. A shared
// analysis then publishes everything this process changed in one transaction.
void SaveAnalysis(const Analysis& analysis);

// What an analysis holds at one moment, to tell afterwards whether a run of
// the wizard changed it: the map document and the number of changes this
// process made to the catalogue and settings.
// A document untouched since it was loaded is marked by the text it was
// loaded from, not written out: with a thousand study areas that took a
// fifth of an `open`.
struct AnalysisMark {
  // The document's text; empty: what cannot be saved, or see loadedText and prepared.
  std::string document;
  std::shared_ptr<const std::string> loadedText;
  // The document's state at the mark, made only when it is asked for.
  std::function<std::string()> prepared;
  int64_t commits = 0;
};
AnalysisMark MarkAnalysis(const Analysis& analysis);
// True when the document or the catalogue and settings changed since mark.
bool ChangedSince(const Analysis& analysis, const AnalysisMark& mark);
// The same between two marks, `after` the later.
bool ChangedBetween(const AnalysisMark& before, const AnalysisMark& after);
// Saves as SaveAnalysis, but only what changed since mark: what the process
// did to the map before it (a command's preparation of the map for a run
// that then stored nothing) is not kept. `now`, when given, is the
// document's state of this moment (an AnalysisMark's), not made again.
void SaveAnalysisChangesSince(const Analysis& analysis, const AnalysisMark& mark, std::string now = {});

// How messages name the analysis: its folder, or its shared location.
std::string AnalysisShownName(const Analysis& analysis);

// How a path of the analysis is shown to people: native; inside a shared
// analysis, its location followed by the path within it (the working copy
// this process keeps means nothing to its users). Opening an analysis also
// makes this the way the component's messages show paths.
std::string AnalysisShownPath(const Analysis& analysis, const std::string& path);

// The extension of the analysis opened last in this process, or no object.
std::shared_ptr<AnalysisExtension> CurrentAnalysisExtension();

} // namespace tov
