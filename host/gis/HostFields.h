#pragma once
#include "platform/gis/Field.h"
#include "platform/gis/Fields.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"

#include <vector>

namespace tov {

class HostFields : public tov::Fields {
public:
  long FieldCount() const override { return static_cast<long>(m_fields.size()); }
  FieldPtr Field(long index) const override {
    if (index < 0 || index >= FieldCount())
      throw HostError(err::SubscriptOutOfRange, kFieldsProgId,
                      "There is no field number " + std::to_string(index) + " (there are " +
                          std::to_string(FieldCount()) + ")");
    return m_fields[static_cast<size_t>(index)];
  }
  long FindField(const std::string& name) const override {
    for (size_t i = 0; i < m_fields.size(); ++i)
      if (EqualsIgnoreCase(m_fields[i]->Name(), name)) return static_cast<long>(i);
    return -1;
  }
  void AddField(const FieldPtr& field) override {
    if (!field) throw HostError(err::ObjectRequired, kFieldsProgId, "No field was given to add");
    m_fields.push_back(field);
  }

private:
  std::vector<FieldPtr> m_fields;
};

} // namespace tov
