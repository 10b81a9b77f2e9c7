#pragma once
#include "framework/TovSSAMethodTask.h"
#include "platform/runtime/Collection.h"

#include <string>

namespace tov {

// The study area is the union of the ZIP areas the user lists: a page for
// the list, checked against the data set's ZIP rules, then the name page.
class TovSSASelZipCodesTask : public TovSSAMethodTask {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSASelZipCodesTask";
  TovSSASelZipCodesTask();

  // The ZIP page, then the name page: 0 when the name page finished, 2 Back
  // from the ZIP page, -1 Cancel. Next on the ZIP page parses its text with
  // the descriptor's rules (read once per call); a refused list, or one
  // holding no code, shows the page again with the text as typed.
  int32_t ShowSelectZipCodesDialog();

  // The ZIP page for a stored study area given a new list (the host's
  // property sheet): it starts with the stored list (the record's features
  // list, the text between single quotes), and no name page follows. As
  // RunPagesKeepingName.
  int32_t ChangeZipCodes(const std::string& featuresList);

  // The codes of the last accepted list, or no object; the text it came from.
  const CollectionPtr& ZipCodes() const { return m_zipCodes; }
  const std::string& ZipCodesString() const { return m_zipCodesString; }

protected:
  int32_t RunPages() override;
  // The function's own Init says what is missing.
  bool FunctionInputsMissing() override;
  void PassParameters() override;

private:
  CollectionPtr m_zipCodes;
  std::string m_zipCodesString;
};

} // namespace tov
