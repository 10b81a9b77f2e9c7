#include "host/session/ReportCapture.h"

namespace tov {

ReportCapture::ReportCapture()
    : m_listener(TovErrorHandler::AddReportListener(
          [this](const TovErrorHandler::Report& report) { m_reports.push_back(report); })) {}

ReportCapture::~ReportCapture() { TovErrorHandler::RemoveReportListener(m_listener); }

std::vector<TovErrorHandler::Report> ReportCapture::FunctionReports() const {
  if (m_functionFrom >= m_reports.size()) return {};
  return {m_reports.begin() + static_cast<std::ptrdiff_t>(m_functionFrom), m_reports.end()};
}

} // namespace tov
