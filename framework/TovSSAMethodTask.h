#pragma once
#include "platform/framework/DataManager.h"
#include "platform/framework/HostDataset.h"
#include "platform/framework/ITovTask.h"
#include "platform/framework/ProgressRunner.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/framework/TaskPropertySet.h"
#include "platform/gis/HostApplication.h"
#include "platform/runtime/Trap.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tov {

class WizardPage;

// What a task does with a failure inside SetParam: most tasks let it pass to
// the caller; some report it under "ITovFunction_SetParam " and return False.
enum class SetParamFailures { PassToCaller, Report };

// What RunPage does with the page when it is left.
enum class PageEnd { Unload, KeepLoaded };

// What every creation method's task shares: its fields, the twelve
// operations, the page sequence and the name page. A method adds its pages
// (RunPages), its function's parameters (PassParameters) and, where they
// differ, its guard and its own keys.
class TovSSAMethodTask : public ITovTask {
public:
  ~TovSSAMethodTask() override;

  int32_t LastError() override;
  int32_t Status() override;
  ObjectPtr TovParamSelector() override;
  ITovFunctionPtr TovFunction() override;
  void Cleanup() override;
  void Break() override;
  bool StartFunction() override;
  int32_t DoParamSelector() override;
  bool InitFunction() override;
  bool InitParamSelector() override;
  bool Init(const DataManagerPtr& dataManager, const HostApplicationPtr& application) override;
  bool SetParam(const std::string& paramName, Variant& paramValue) override;

  // The study area name accepted on the name page.
  const std::string& StudyAreaName() const { return m_sSAName; }

  // The method's pages for a study area that keeps its name (the host's
  // property sheet changes a stored one with them): the pages of a run
  // without the name page. 0 when the user accepted, 2 Back, -1 cancelled;
  // the input is left as after DoParamSelector.
  int32_t RunPagesKeepingName();

protected:
  TovSSAMethodTask(const char* modulePath, const char* functionProgId,
                   SetParamFailures setParamFailures = SetParamFailures::PassToCaller);

  // The method's page sequence: 0 accepted, 2 back, -1 cancelled.
  virtual int32_t RunPages() = 0;
  // True when InitFunction must leave the function alone.
  virtual bool FunctionInputsMissing();
  // The function's SetParam calls, in the method's order.
  virtual void PassParameters();
  // A key (lower case) beyond "ssatask", "dataset", "propertyset".
  virtual bool SetOwnParam(const std::string& lowerKey, Variant& paramValue);

  // Hands one parameter to the function and reads the value back: a
  // function may replace an object it was given.
  template <class T>
  void PassObject(const char* key, std::shared_ptr<T>& object) {
    Variant value(object);
    m_function->SetParam(key, value);
    object = value.ToObjectAs<T>();
  }
  void PassValue(const char* key, const Variant& value);

  // What follows a page when Next is pressed on it (the next page's
  // procedure, or a check of the page's input): its result becomes the
  // page's result, and 2 shows the page again.
  using NextStep = std::function<int32_t()>;

  // Runs one page of the sequence. The caller creates the page (and fills
  // what it shows); RunPage calls ReadFromPropertySet and InitializeDialog
  // once, then shows the page until it is left: Back gives 2, Cancel or
  // closing -1, Next runs next (no next: 0) and gives its result unless
  // that is 2. Every showing is ResetParams, RestoreFormPosition, the modal
  // showing, SaveFormPosition and WriteToPropertySet, whichever button
  // closed the page. The page is then unloaded unless end says otherwise.
  int32_t RunPage(const std::shared_ptr<WizardPage>& page, const NextStep& next, PageEnd end = PageEnd::Unload);

  // One showing of a page as RunPage does it; returns the page's result.
  int32_t ShowPageOnce(const std::shared_ptr<WizardPage>& page);

  // The name page, last of every method: 0 with m_sSAName set, 2 back, -1.
  // A name the catalogue holds already is refused and the page shown again.
  int32_t ShowSelectSANameDialog();
  // What follows Next on the method's last page: the name page, or 0 when
  // the study area keeps its name.
  int32_t ShowNamePageUnlessKept();

  ErrorSite m_errors;
  int32_t m_status = 1;
  int32_t m_lastError = 0;
  DataManagerPtr m_pDataManager;
  HostApplicationPtr m_pApplication;
  ITovFunctionPtr m_function;
  std::string m_sSAName;
  ProgressRunnerPtr m_progressRunner;
  TaskDescriptorPtr m_pSSATask;
  HostDatasetPtr m_pDataSet;
  TaskPropertySetPtr pPropertySet;

private:
  bool SetKnownParam(const std::string& paramName, Variant& paramValue);

  const char* m_functionProgId;
  SetParamFailures m_setParamFailures;
  bool m_keepsName = false;
};

} // namespace tov
