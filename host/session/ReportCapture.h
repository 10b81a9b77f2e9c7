#pragma once
#include "host/framework/TovErrorHandler.h"

#include <vector>

namespace tov {

// Collects the failure reports made while it exists, whichever handler made
// them: the reports of one run of a task.
class ReportCapture {
public:
  ReportCapture();
  ~ReportCapture();
  ReportCapture(const ReportCapture&) = delete;
  ReportCapture& operator=(const ReportCapture&) = delete;

  const std::vector<TovErrorHandler::Report>& Reports() const { return m_reports; }
  // Reports made from now on are marked as made by the function (its
  // processing), the earlier ones as made while the pages were shown.
  void StartFunctionPart() { m_functionFrom = m_reports.size(); }
  // The reports made since StartFunctionPart.
  std::vector<TovErrorHandler::Report> FunctionReports() const;

private:
  long m_listener = 0;
  std::vector<TovErrorHandler::Report> m_reports;
  size_t m_functionFrom = static_cast<size_t>(-1);
};

} // namespace tov
