#include "platform/registry/Key.h"

#include <iterator>

#include "platform/registry/Names.h"

namespace pictavo::registry {

Key::Key(const Key& other) : m_name(other.m_name), m_values(other.m_values) {
  for (const auto& [folded, child] : other.m_children)
    m_children.emplace(folded, std::make_unique<Key>(*child));
}

Key& Key::operator=(const Key& other) {
  if (this != &other) *this = Key(other);
  return *this;
}

const Key* Key::ChildAt(size_t index) const {
  if (index >= m_children.size()) return nullptr;
  return std::next(m_children.begin(), static_cast<std::ptrdiff_t>(index))->second.get();
}

Key* Key::Child(std::string_view name) {
  const auto it = m_children.find(FoldName(name));
  return it == m_children.end() ? nullptr : it->second.get();
}

const Key* Key::Child(std::string_view name) const {
  return const_cast<Key*>(this)->Child(name);
}

Key& Key::ChildOrNew(std::string_view name, bool* created) {
  auto [it, inserted] = m_children.try_emplace(FoldName(name));
  if (inserted) it->second = std::make_unique<Key>(std::string(name));
  if (created != nullptr) *created = inserted;
  return *it->second;
}

bool Key::RemoveChild(std::string_view name) {
  return m_children.erase(FoldName(name)) > 0;
}

const Value* Key::FindValue(std::string_view name) const {
  for (const Value& value : m_values)
    if (NamesEqual(value.name, name)) return &value;
  return nullptr;
}

void Key::SetValue(std::string_view name, uint32_t type, std::vector<uint8_t> data) {
  for (Value& value : m_values)
    if (NamesEqual(value.name, name)) {
      value.type = type;
      value.data = std::move(data);
      return;
    }
  m_values.push_back(Value{std::string(name), type, std::move(data)});
}

bool Key::RemoveValue(std::string_view name) {
  for (auto it = m_values.begin(); it != m_values.end(); ++it)
    if (NamesEqual(it->name, name)) {
      m_values.erase(it);
      return true;
    }
  return false;
}

Key* Key::Find(const KeyPath& path) {
  Key* key = this;
  for (const std::string& component : path) {
    key = key->Child(component);
    if (key == nullptr) return nullptr;
  }
  return key;
}

const Key* Key::Find(const KeyPath& path) const {
  return const_cast<Key*>(this)->Find(path);
}

void Apply(Key& root, const Change& change) {
  switch (change.kind) {
    case Change::Kind::kCreateKey:
    case Change::Kind::kSetValue: {
      Key* key = &root;
      for (const std::string& component : change.path) key = &key->ChildOrNew(component);
      if (change.kind == Change::Kind::kSetValue) key->SetValue(change.name, change.type, change.data);
      break;
    }
    case Change::Kind::kDeleteValue:
      if (Key* key = root.Find(change.path)) key->RemoveValue(change.name);
      break;
    case Change::Kind::kDeleteKey: {
      if (change.path.empty()) break;
      KeyPath parentPath(change.path.begin(), change.path.end() - 1);
      if (Key* parent = root.Find(parentPath)) parent->RemoveChild(change.path.back());
      break;
    }
  }
}

}  // namespace pictavo::registry
