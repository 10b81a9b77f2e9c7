#include "Recorders.h"

#include "component/RegisterComponentClasses.h"
#include "host/framework/RegisterHostFrameworkClasses.h"

namespace tov::test {

ReportRecorder::~ReportRecorder() { RegisterHostFrameworkClasses(); }

SpyFunctionScope::SpyFunctionScope(const std::string& progId) : m_progId(progId) {
  auto* spyLog = &log;
  RegisterClass(progId, [spyLog] { return std::static_pointer_cast<Object>(std::make_shared<SpyFunction>(spyLog)); });
}

SpyFunctionScope::~SpyFunctionScope() { RegisterComponentClasses(); }

} // namespace tov::test
