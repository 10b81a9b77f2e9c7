#pragma once
#include "platform/framework/DataManager.h"
#include "platform/framework/ITovFunction.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/gis/HostApplication.h"

#include <functional>
#include <memory>
#include <string>

namespace tov {

// How the property sheet lets the study area of one creation method be made
// again from new input: the method's function runs with "FromPropertyPage"
// True, so the store replaces the shape in place. One per method task name
// ("SetupStudyArea.UseWhole", ...); a method without one offers no change.
class StudyAreaRebuilder {
public:
  virtual ~StudyAreaRebuilder() = default;
  // The button's text on the property sheet ("Rebuild from the whole layer").
  virtual std::string Caption() const = 0;
  virtual std::string FunctionProgId() const = 0;
  // Asks the user for the new input (the rebuilder's own pages); false when
  // the user cancelled.
  virtual bool Edit(const StudyAreaRecordPtr& record, const DataManagerPtr& dataManager,
                    const HostApplicationPtr& application) = 0;
  // Hands the function what Edit collected, beyond the parameters every
  // rebuild passes ("Application", "DataManager", "StudyAreaName", "DataSet",
  // "SSATask", "FromPropertyPage").
  virtual void PassParameters(ITovFunction& function) = 0;
};

using StudyAreaRebuilderFactory = std::function<std::unique_ptr<StudyAreaRebuilder>()>;

// Registers (or, with an empty factory, removes) the rebuilder of a method.
void RegisterStudyAreaRebuilder(const std::string& methodTaskName, StudyAreaRebuilderFactory factory);
// A new rebuilder for the method, or null when it has none.
std::unique_ptr<StudyAreaRebuilder> CreateStudyAreaRebuilder(const std::string& methodTaskName);

} // namespace tov
