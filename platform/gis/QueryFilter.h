#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// ProgID "orvaCore.QueryFilter". An attribute filter: a where clause in SQL
// syntax (empty: every row) and the fields to fetch ("*" or empty: all;
// otherwise names separated by commas, blanks allowed).
class QueryFilter : public virtual Object {
public:
  virtual std::string WhereClause() const = 0;
  virtual void SetWhereClause(const std::string& clause) = 0;
  virtual std::string SubFields() const = 0;
  virtual void SetSubFields(const std::string& fields) = 0;
  virtual void AddField(const std::string& name) = 0;
};

using QueryFilterPtr = std::shared_ptr<QueryFilter>;

} // namespace tov
