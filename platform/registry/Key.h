// The registry's data model: a tree of keys holding typed values, and the changes a process
// makes to it. Names ignore case and keep the spelling they were first written with.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pictavo::registry {

// Value types, with the platform's numbers.
inline constexpr uint32_t kTypeNone = 0;
inline constexpr uint32_t kTypeString = 1;
inline constexpr uint32_t kTypeExpandString = 2;
inline constexpr uint32_t kTypeBinary = 3;
inline constexpr uint32_t kTypeDword = 4;
inline constexpr uint32_t kTypeMultiString = 7;

struct Value {
  std::string name;  // "" is the key's default value
  uint32_t type = kTypeNone;
  std::vector<uint8_t> data;
};

// Components of a key path below a hive's root, as the caller spelled them.
using KeyPath = std::vector<std::string>;

class Key {
 public:
  explicit Key(std::string name = {}) : m_name(std::move(name)) {}
  Key(const Key& other);
  Key& operator=(const Key& other);
  Key(Key&&) noexcept = default;
  Key& operator=(Key&&) noexcept = default;

  const std::string& Name() const { return m_name; }

  // Sub-keys in the order the registry enumerates them: by name, ignoring case.
  size_t ChildCount() const { return m_children.size(); }
  const Key* ChildAt(size_t index) const;
  Key* Child(std::string_view name);
  const Key* Child(std::string_view name) const;
  // The existing child of that name, or a new one spelled `name`.
  Key& ChildOrNew(std::string_view name, bool* created = nullptr);
  bool RemoveChild(std::string_view name);

  // Values in the order they were first set.
  const std::vector<Value>& Values() const { return m_values; }
  const Value* FindValue(std::string_view name) const;
  void SetValue(std::string_view name, uint32_t type, std::vector<uint8_t> data);
  bool RemoveValue(std::string_view name);

  // The key at `path` below this one, or null.
  Key* Find(const KeyPath& path);
  const Key* Find(const KeyPath& path) const;

 private:
  std::string m_name;
  std::map<std::string, std::unique_ptr<Key>> m_children;  // by folded name
  std::vector<Value> m_values;
};

// One change a process made and has not yet written to the hive's file. Changes are replayed onto
// the file's current contents when they are written, so concurrent writers lose nothing.
struct Change {
  enum class Kind { kCreateKey, kSetValue, kDeleteValue, kDeleteKey };
  Kind kind;
  KeyPath path;
  std::string name;  // value name, for kSetValue and kDeleteValue
  uint32_t type = kTypeNone;
  std::vector<uint8_t> data;
};

// Applies a change to a tree. Setting a value creates the keys on its path; deleting something
// that is not there is not an error.
void Apply(Key& root, const Change& change);

}  // namespace pictavo::registry
