#include "host/framework/TovErrorHandler.h"

#include "host/common/WorkCancel.h"
#include "host/framework/HostEnvironment.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <map>
#include <mutex>
#include <vector>

namespace tov {
namespace {
// A report must stay on one line of the log whatever the description holds.
std::string OneLine(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    if (c == '\r' || c == '\n') out += " | ";
    else if (static_cast<unsigned char>(c) < 32) out += ' ';
    else out += c;
  }
  return out;
}

std::string TimeStamp() {
  std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm tm{};
  localtime_r(&now, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
  return buf;
}

std::mutex g_listenersMutex;
std::map<long, TovErrorHandler::ReportListener> g_listeners;
long g_nextListener = 1;
} // namespace

long TovErrorHandler::AddReportListener(ReportListener listener) {
  std::lock_guard<std::mutex> lock(g_listenersMutex);
  const long id = g_nextListener++;
  g_listeners[id] = std::move(listener);
  return id;
}

void TovErrorHandler::RemoveReportListener(long id) {
  std::lock_guard<std::mutex> lock(g_listenersMutex);
  g_listeners.erase(id);
}

void TovErrorHandler::SetProperty(const std::string& name, const Variant& value) {
  // Unknown properties are kept silently: callers may set more than we use.
  if (name == "Debug") m_debug = value.ToBool();
  else if (name == "Module Name") m_moduleName = value.ToString();
}

std::string TovErrorHandler::FormatReport(const std::string& location, long number,
                                          const std::string& source,
                                          const std::string& description) const {
  std::string line = "[" + (m_moduleName.empty() ? std::string("?") : m_moduleName) + "] " + location +
                     " error " + std::to_string(number);
  if (!source.empty()) line += " (" + source + ")";
  if (!description.empty()) line += ": " + description;
  return OneLine(line);
}

void TovErrorHandler::ReportError(const std::string& location, long number, const std::string& source,
                                  const std::string& description) {
  std::string line = FormatReport(location, number, source, description);
  // Reporting must never fail the caller: a log that cannot be written is skipped.
  std::string logPath = ErrorLogPath();
  if (!logPath.empty()) {
    std::ofstream log(logPath, std::ios::app);
    if (log) log << TimeStamp() << " " << line << "\n";
  }
  // Work the user gave up is logged, not shown as a failure.
  if (m_debug && number != kUserInterruptError) ShowErrorLine(line);
  std::vector<ReportListener> listeners;
  {
    std::lock_guard<std::mutex> lock(g_listenersMutex);
    for (const auto& entry : g_listeners) listeners.push_back(entry.second);
  }
  const Report report{location, number, source, description};
  for (const ReportListener& listener : listeners) {
    try {
      listener(report);
    } catch (const std::exception&) {
      // A listener that fails loses the report; the caller goes on.
    }
  }
}

} // namespace tov
