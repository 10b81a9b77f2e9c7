#include "host/app/AppContext.h"

#include "host/framework/SharedAnalysis.h"

namespace tov {

AnalysisPtr AppContext::OpenAnalysisOnce(AnalysisOpening opening) {
  const bool lacksMap = m_analysis && !m_analysis->application && opening == AnalysisOpening::Whole;
  if (!m_analysis || lacksMap) {
    m_analysis.reset(); // one open analysis per process
    m_analysis = OpenAnalysis(analysisFolder, datasetName, dataRoot, createsSharedAnalysis, opening);
  } else if (opening == AnalysisOpening::Whole && m_analysis->shared) {
    // Opened to read, it is now used to change it.
    m_analysis->shared->SetOnlyReads(false);
  }
  return m_analysis;
}

} // namespace tov
