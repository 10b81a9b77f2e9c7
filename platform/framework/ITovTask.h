#pragma once
#include "platform/framework/ITovFunction.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <string>

namespace tov {

class DataManager;
class HostApplication;

// The parameter-selector side of a method, driven by the host in this order:
// SetParam..., Init, InitParamSelector, DoParamSelector, InitFunction,
// StartFunction, Status/LastError, Cleanup. The operations stand in the
// interface order, which is part of the contract.
class ITovTask : public virtual Object {
public:
  virtual int32_t LastError() = 0;
  virtual int32_t Status() = 0;
  // Always no object in this component.
  virtual ObjectPtr TovParamSelector() = 0;
  virtual ITovFunctionPtr TovFunction() = 0;
  virtual void Cleanup() = 0;
  virtual void Break() = 0;
  virtual bool StartFunction() = 0;
  // 0 go on, 2 back, -1 cancelled.
  virtual int32_t DoParamSelector() = 0;
  virtual bool InitFunction() = 0;
  virtual bool InitParamSelector() = 0;
  virtual bool Init(const std::shared_ptr<DataManager>& dataManager,
                    const std::shared_ptr<HostApplication>& application) = 0;
  // Keys matched without regard to case; False for an unknown key.
  virtual bool SetParam(const std::string& paramName, Variant& paramValue) = 0;
};

using ITovTaskPtr = std::shared_ptr<ITovTask>;

} // namespace tov
