#pragma once
#include <memory>
#include <vector>

namespace tov {

// An enumerator over a snapshot taken when it was made (EnumLayer,
// EnumFeature, EnumElement): later changes to the source do not disturb it.
template <class Interface, class Item>
class HostVectorEnum : public Interface {
public:
  explicit HostVectorEnum(std::vector<std::shared_ptr<Item>> items) : m_items(std::move(items)) {}
  void Reset() override { m_next = 0; }
  std::shared_ptr<Item> Next() override { return m_next < m_items.size() ? m_items[m_next++] : nullptr; }

private:
  std::vector<std::shared_ptr<Item>> m_items;
  size_t m_next = 0;
};

} // namespace tov
