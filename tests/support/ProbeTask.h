#pragma once
#include "HostWrappers.h"
#include "Recorders.h"

namespace tov::test {

// A task standing in for another's (a method's, the property sheet's): it
// notes how it is driven and answers as told.
struct ProbeLog {
  std::vector<std::string> keys; // SetParam keys in order
  TaskDescriptorPtr descriptor;
  TaskPropertySetPtr propertySet;
  std::map<std::string, std::string> propertiesAtPages; // the set as the pages found it
  Variant fromMapOrList;
  bool initResult = true;
  int32_t pagesResult = 0;
  int32_t status = 1;
  int32_t lastError = 0;
  ITovFunctionPtr function;
  std::vector<std::string> calls; // the other operations, in order
  bool callsHoldKeys = false;     // SetParam noted in calls too, as "SetParam <key>"
  std::string record;             // the name of the study area record given as "StudyArea"
};

class ProbeTask : public StubTask {
public:
  explicit ProbeTask(ProbeLog* log) : m_log(log) {}
  int32_t LastError() override { return m_log->lastError; }
  int32_t Status() override { return m_log->status; }
  ITovFunctionPtr TovFunction() override { return m_log->function; }
  void Cleanup() override { m_log->calls.push_back("Cleanup"); }
  void Break() override { m_log->calls.push_back("Break"); }
  bool StartFunction() override { return m_log->calls.push_back("StartFunction"), true; }
  bool InitFunction() override { return m_log->calls.push_back("InitFunction"), true; }
  bool InitParamSelector() override { return m_log->calls.push_back("InitParamSelector"), true; }
  bool Init(const DataManagerPtr& dataManager, const HostApplicationPtr& application) override {
    return m_log->calls.push_back(dataManager && application ? "Init" : "Init without objects"), m_log->initResult;
  }
  int32_t DoParamSelector() override {
    m_log->calls.push_back("DoParamSelector");
    m_log->propertiesAtPages.clear();
    if (m_log->propertySet)
      for (const char* key : {"SAName", "FormLeft", "FormTop", "FormWidth", "FormHeight"})
        if (m_log->propertySet->HasProperty(key))
          m_log->propertiesAtPages[key] = m_log->propertySet->GetProperty(key).ToString();
    return m_log->pagesResult;
  }
  bool SetParam(const std::string& paramName, Variant& paramValue) override {
    m_log->keys.push_back(paramName);
    if (m_log->callsHoldKeys) m_log->calls.push_back("SetParam " + paramName);
    if (paramName == "StudyArea") m_log->record = paramValue.ToObjectAs<StudyAreaRecord>()->Name();
    if (paramName == "SSATask") m_log->descriptor = paramValue.ToObjectAs<TaskDescriptor>();
    if (paramName == "PropertySet") m_log->propertySet = paramValue.ToObjectAs<TaskPropertySet>();
    if (paramName == "FromMapOrList") m_log->fromMapOrList = paramValue;
    return true;
  }

private:
  ProbeLog* m_log;
};

using ProbeScope = DoubleScope<ProbeTask, ProbeLog>;

} // namespace tov::test
