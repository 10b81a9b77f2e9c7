#pragma once
#include "framework/TovSSAMethodFunction.h"
#include "platform/framework/DataSetLayer.h"
#include "platform/runtime/Collection.h"

#include <string>

namespace tov {

// Builds the study area as the union of the main layer's features whose ZIP
// code field matches one of the listed codes (a code ending in "%" matches
// by prefix) and stores it with the list as typed as its features list.
class TovSSASelZipCodesFunction : public TovSSAMethodFunction {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSASelZipCodesFunction";
  TovSSASelZipCodesFunction();

  // Checks the parameters, then finds the main layer and its ZIP code field
  // named by the descriptor ("DSMainLayer", "DSMainLayerIDFieldName").
  bool Init() override;

  // The where clause selecting the features of the codes: one parenthesised
  // LIKE comparison per code, in order, joined by " OR ".
  static std::string ZipWhereClause(const std::string& fieldName, const Collection& codes);

protected:
  // Start only clears the result: all the work is in the one step.
  void Prepare() override;
  bool Step() override;
  bool SetOwnParam(const std::string& key, Variant& paramValue) override;
  bool ParametersComplete() override;

private:
  void FindMainLayer();

  CollectionPtr m_zipCodes;
  std::string m_zipCodesString;
  std::string m_zipFieldName;
  DataSetLayerPtr m_mainLayer;
};

} // namespace tov
