#pragma once
#include "platform/runtime/Object.h"
#include "platform/runtime/Variant.h"

#include <string>
#include <unordered_map>
#include <vector>

namespace tov {

// The platform collection: items are variants counted from 1, in the order
// added; an item may carry a key, compared without regard to case.
// A second item with an existing key raises 457; a missing index or key
// raises 5. Looking up by key is O(1).
class Collection : public virtual Object {
public:
  long Count() const { return static_cast<long>(m_items.size()); }
  // Appends at the end (or before the 1-based position `before` when > 0).
  void Add(const Variant& item, const std::string& key = std::string(), long before = 0);
  const Variant& Item(long index) const;
  const Variant& Item(const std::string& key) const;
  // True when an item carries this key (no error when it does not).
  bool HasKey(const std::string& key) const;
  void Remove(long index);
  void Remove(const std::string& key);
  void Clear();

  std::vector<Variant>::const_iterator begin() const { return m_items.begin(); }
  std::vector<Variant>::const_iterator end() const { return m_items.end(); }

private:
  void CheckIndex(long index) const;
  void Reindex();

  std::vector<Variant> m_items;
  std::vector<std::string> m_keys; // folded key per item, "" when none
  std::unordered_map<std::string, size_t> m_byKey;
};

using CollectionPtr = std::shared_ptr<Collection>;

} // namespace tov
