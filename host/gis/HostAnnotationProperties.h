#pragma once
#include "host/gis/HostLabelClass.h"
#include "platform/gis/AnnotationProperties.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ProgIds.h"

#include <vector>

namespace tov {

class HostAnnotationProperties : public AnnotationProperties {
public:
  HostAnnotationProperties() { m_classes.push_back(std::make_shared<HostLabelClass>()); }

  long Count() const override { return static_cast<long>(m_classes.size()); }
  LabelClassPtr Item(long index) const override {
    if (index < 0 || index >= Count())
      throw HostError(err::SubscriptOutOfRange, kAnnotationPropertiesProgId,
                      "The layer has no label class number " + std::to_string(index));
    return m_classes[static_cast<size_t>(index)];
  }
  void Add(const LabelClassPtr& labelClass) override {
    if (!labelClass) throw HostError(err::ObjectRequired, kAnnotationPropertiesProgId, "No label class was given");
    m_classes.push_back(labelClass);
  }
  void Clear() override { m_classes.clear(); }

private:
  std::vector<LabelClassPtr> m_classes;
};

} // namespace tov
