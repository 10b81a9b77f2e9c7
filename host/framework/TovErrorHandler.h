#pragma once
#include "platform/framework/ErrorHandler.h"

#include <functional>

namespace tov {

// "TovKernel.TovErrorHandler": appends one line per report to the analysis
// log and, when "Debug" is True, shows it (stderr on the command line).
class TovErrorHandler : public ErrorHandler {
public:
  // One report as ReportError received it.
  struct Report {
    std::string location;
    long number = 0;
    std::string source;
    std::string description;
  };
  using ReportListener = std::function<void(const Report&)>;
  // Every report of every handler in the process also reaches the listeners
  // (a front end collecting the reports of one run). The id removes it.
  static long AddReportListener(ReportListener listener);
  static void RemoveReportListener(long id);

  void SetProperty(const std::string& name, const Variant& value) override;
  void ReportError(const std::string& location, long number, const std::string& source,
                   const std::string& description) override;

  bool Debug() const { return m_debug; }
  const std::string& ModuleName() const { return m_moduleName; }
  // The line ReportError writes (without the time stamp), for the log and tests.
  std::string FormatReport(const std::string& location, long number, const std::string& source,
                           const std::string& description) const;

private:
  bool m_debug = false;
  std::string m_moduleName;
};

} // namespace tov
