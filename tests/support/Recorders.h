#pragma once
#include "HostWrappers.h"

namespace tov::test {

// Every report made to any error handler created while a ReportRecorder lives.
struct Report {
  std::string location;
  long number = 0;
  std::string description;
  std::string source;
};

// A report made without a pending error: number 0, no source, no text.
inline void ExpectNoPendingError(const Report& report) {
  EXPECT_EQ(report.number, 0) << report.location;
  EXPECT_EQ(report.source, "") << report.location;
  EXPECT_EQ(report.description, "") << report.location;
}

class RecordingErrorHandler : public ErrorHandler {
public:
  explicit RecordingErrorHandler(std::vector<Report>* reports) : m_reports(reports) {}
  void SetProperty(const std::string&, const Variant&) override {}
  void ReportError(const std::string& location, long number, const std::string& source,
                   const std::string& description) override {
    m_reports->push_back({location, number, description, source});
  }

private:
  std::vector<Report>* m_reports;
};

// Replaces the error handler class for its lifetime.
class ReportRecorder {
public:
  const std::vector<Report>& Reports() const { return m_reports; }
  // Where each report was made, in order.
  std::vector<std::string> Locations() const {
    std::vector<std::string> locations;
    for (const Report& report : m_reports) locations.push_back(report.location);
    return locations;
  }

private:
  std::vector<Report> m_reports;
  ClassOverride m_handler{kErrorHandlerProgId, [this] {
                            return std::static_pointer_cast<Object>(std::make_shared<RecordingErrorHandler>(&m_reports));
                          }};
};

// A task that does nothing and succeeds in every call; a test overrides the
// calls it watches or answers otherwise.
class StubTask : public ITovTask {
public:
  int32_t LastError() override { return 0; }
  int32_t Status() override { return 1; }
  ObjectPtr TovParamSelector() override { return nullptr; }
  ITovFunctionPtr TovFunction() override { return nullptr; }
  void Cleanup() override {}
  void Break() override {}
  bool StartFunction() override { return true; }
  int32_t DoParamSelector() override { return 0; }
  bool InitFunction() override { return true; }
  bool InitParamSelector() override { return true; }
  bool Init(const DataManagerPtr&, const HostApplicationPtr&) override { return true; }
  bool SetParam(const std::string&, Variant&) override { return true; }
};

// A creation function that records what its task does with it.
struct FunctionLog {
  std::vector<std::string> keys; // SetParam keys in order
  std::map<std::string, Variant> values; // the last value of each
  int initCalls = 0;
  int32_t lastError = 0;
  bool initResult = true;
};

class SpyFunction : public ITovFunction {
public:
  explicit SpyFunction(FunctionLog* log) : m_log(log) {}
  bool Start() override { return true; }
  bool DoStep() override { return false; }
  int32_t LastError() override { return m_log->lastError; }
  int32_t Status() override { return 1; }
  void Cleanup() override {}
  bool Init() override {
    ++m_log->initCalls;
    return m_log->initResult;
  }
  bool SetResultParam(const std::string&, Variant&) override { return true; }
  bool SetParam(const std::string& key, Variant& value) override {
    m_log->keys.push_back(key);
    m_log->values[key] = value;
    return true;
  }

private:
  FunctionLog* m_log;
};

// Puts a double (a spy function, a probe task) writing to `log` under a
// ProgID for its lifetime.
template <class Double, class Log>
class DoubleScope {
public:
  explicit DoubleScope(const std::string& progId)
      : m_override(progId, [this] { return std::static_pointer_cast<Object>(std::make_shared<Double>(&log)); }) {}
  Log log;

private:
  ClassOverride m_override;
};

using SpyFunctionScope = DoubleScope<SpyFunction, FunctionLog>;

} // namespace tov::test
