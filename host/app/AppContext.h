#pragma once
#include "host/framework/Analysis.h"

#include <string>

namespace tov {

// What every command of the command line shares: the global options and the
// analysis, opened on first use.
struct AppContext {
  std::string analysisFolder = "analysis";
  std::string datasetName;
  std::string dataRoot;
  // A shared analysis that does not exist yet is made only by commands that
  // store something (setup); the others refuse it with a message.
  bool createsSharedAnalysis = false;

  // Opens (or creates) the analysis once; later calls return the same one
  // (read again whole when it was opened WithoutMap and the map is wanted).
  AnalysisPtr OpenAnalysisOnce(AnalysisOpening opening = AnalysisOpening::Whole);

private:
  AnalysisPtr m_analysis;
};

} // namespace tov
