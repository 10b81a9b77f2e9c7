#pragma once
#include <gtest/gtest.h>
#include "platform/framework/ErrorHandler.h"
#include "platform/framework/ITovFunction.h"
#include "platform/runtime/ObjectRegistry.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

// Replaces the error handler class for its lifetime; the host's comes back
// afterwards.
class ReportRecorder {
public:
  ReportRecorder() {
    auto* reports = &m_reports;
    RegisterClass(kErrorHandlerProgId, [reports] {
      return std::static_pointer_cast<Object>(std::make_shared<RecordingErrorHandler>(reports));
    });
  }
  ~ReportRecorder();
  const std::vector<Report>& Reports() const { return m_reports; }

private:
  std::vector<Report> m_reports;
};

// A creation function that records what its task does with it.
struct FunctionLog {
  std::vector<std::string> keys; // SetParam keys in order
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
  bool SetParam(const std::string& key, Variant&) override {
    m_log->keys.push_back(key);
    return true;
  }

private:
  FunctionLog* m_log;
};

// Puts a spy under the function ProgID for its lifetime.
class SpyFunctionScope {
public:
  explicit SpyFunctionScope(const std::string& progId);
  ~SpyFunctionScope();
  FunctionLog log;

private:
  std::string m_progId;
};

} // namespace tov::test
