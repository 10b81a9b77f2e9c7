#pragma once
#include "framework/TovSSAMethodFunction.h"
#include "platform/framework/DataSetLayer.h"
#include "platform/gis/SelectionSet.h"
#include "platform/runtime/Collection.h"

#include <string>

namespace tov {

// Builds the study area from regions of the reference layer, chosen by
// name (RegionsSelectedByNames) or as a selection (SelectionSet): the union
// of their shapes, or of the shapes of another layer ("DSMainLayer") whose
// identifier field ("DSMainLayerIDFieldName") holds the same identifiers.
// The features list is the chosen regions' identifiers
// ("MainLayerIDFieldName"), each quoted: '36047','36081'.
class TovSSAMapListFunction : public TovSSAMethodFunction {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSAMapListFunction";
  TovSSAMapListFunction();

  // Checks the parameters, then reads the configuration as the task does.
  bool Init() override;

  // The where clause selecting the named regions: one parenthesised
  // comparison per name, in order, joined by " OR ", each quote of a name
  // doubled: (NAME= 'A') OR (NAME= 'B''C').
  static std::string RegionsWhereClause(const std::string& fieldName, const Collection& names);

protected:
  // Start only clears the result: all the work is in the one step.
  void Prepare() override;
  bool Step() override;
  bool SetOwnParam(const std::string& key, Variant& paramValue) override;
  // One of the two inputs must be there.
  bool ParametersComplete() override;

private:
  void ReadConfiguration();

  CollectionPtr m_regionsSelectedByNames;
  SelectionSetPtr m_selectionSet;
  DataSetLayerPtr m_mainLayer;
  std::string m_listFieldName;
};

} // namespace tov
