#include "platform/runtime/Collection.h"

#include "platform/runtime/TextCase.h"

namespace tov {

namespace {
std::string Fold(const std::string& key) { return LowerCase(key); }
const char kSource[] = "Collection";
} // namespace

void Collection::Add(const Variant& item, const std::string& key, long before) {
  const std::string folded = Fold(key);
  if (!folded.empty() && m_byKey.count(folded))
    throw HostError(err::DuplicateKey, kSource, "This key is already associated with an element of this collection: \"" + key + "\"");
  if (before > 0) {
    CheckIndex(before);
    m_items.insert(m_items.begin() + (before - 1), item);
    m_keys.insert(m_keys.begin() + (before - 1), folded);
    Reindex();
    return;
  }
  m_items.push_back(item);
  m_keys.push_back(folded);
  if (!folded.empty()) m_byKey[folded] = m_items.size() - 1;
}

void Collection::CheckIndex(long index) const {
  if (index < 1 || index > Count())
    throw HostError(err::InvalidCall, kSource, "Invalid procedure call or argument: no item " + std::to_string(index) +
                                                   " in a collection of " + std::to_string(Count()));
}

const Variant& Collection::Item(long index) const {
  CheckIndex(index);
  return m_items[static_cast<size_t>(index - 1)];
}

const Variant& Collection::Item(const std::string& key) const {
  auto it = m_byKey.find(Fold(key));
  if (it == m_byKey.end())
    throw HostError(err::InvalidCall, kSource, "Invalid procedure call or argument: no item with the key \"" + key + "\"");
  return m_items[it->second];
}

bool Collection::HasKey(const std::string& key) const { return m_byKey.count(Fold(key)) != 0; }

void Collection::Remove(long index) {
  CheckIndex(index);
  m_items.erase(m_items.begin() + (index - 1));
  m_keys.erase(m_keys.begin() + (index - 1));
  Reindex();
}

void Collection::Remove(const std::string& key) {
  auto it = m_byKey.find(Fold(key));
  if (it == m_byKey.end())
    throw HostError(err::InvalidCall, kSource, "Invalid procedure call or argument: no item with the key \"" + key + "\"");
  Remove(static_cast<long>(it->second) + 1);
}

void Collection::Clear() {
  m_items.clear();
  m_keys.clear();
  m_byKey.clear();
}

void Collection::Reindex() {
  m_byKey.clear();
  for (size_t i = 0; i < m_keys.size(); ++i)
    if (!m_keys[i].empty()) m_byKey[m_keys[i]] = i;
}

} // namespace tov
