#include "host/app/AppContext.h"

namespace tov {

AnalysisPtr AppContext::OpenAnalysisOnce(AnalysisOpening opening) {
  const bool lacksMap = m_analysis && !m_analysis->application && opening == AnalysisOpening::Whole;
  if (!m_analysis || lacksMap) {
    m_analysis.reset(); // one open analysis per process
    m_analysis = OpenAnalysis(analysisFolder, datasetName, dataRoot, createsSharedAnalysis, opening);
  }
  return m_analysis;
}

} // namespace tov
