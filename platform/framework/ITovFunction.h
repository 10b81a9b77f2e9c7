#pragma once
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <cstdint>
#include <string>

namespace tov {

// The processing side of a method. The progress runner calls Start once and
// then DoStep until it returns False. The operations stand in the interface
// order, which is part of the contract.
class ITovFunction : public virtual Object {
public:
  virtual bool Start() = 0;
  // True while more steps remain.
  virtual bool DoStep() = 0;
  virtual int32_t LastError() = 0;
  virtual int32_t Status() = 0;
  virtual void Cleanup() = 0;
  // Checks the parameters; False (last error 47) when one is missing.
  virtual bool Init() = 0;
  virtual bool SetResultParam(const std::string& name, Variant& value) = 0;
  // Keys compared exactly, case included. Objects are passed by reference:
  // the caller reads paramValue back after the call.
  virtual bool SetParam(const std::string& paramName, Variant& paramValue) = 0;
};

using ITovFunctionPtr = std::shared_ptr<ITovFunction>;

} // namespace tov
