#include "host/app/AppContext.h"

namespace tov {

AnalysisPtr AppContext::OpenAnalysisOnce() {
  if (!m_analysis) m_analysis = OpenAnalysis(analysisFolder, datasetName, dataRoot, createsSharedAnalysis);
  return m_analysis;
}

} // namespace tov
