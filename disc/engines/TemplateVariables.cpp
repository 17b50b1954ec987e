#include "disc/engines/TemplateVariables.h"

#include <cstring>

CTemplateVariableTable g_templateVariables;

unsigned CTemplateVariableTable::Bucket(LPCTSTR name) {
  uint32_t h = 0;
  for (const char* p = name; *p != '\0'; ++p) h = h * 33u + static_cast<unsigned char>(*p);
  return h % kBucketCount;
}

void CTemplateVariableTable::Set(LPCTSTR name, LPCTSTR value) {
  auto& bucket = m_buckets[Bucket(name)];
  for (auto& entry : bucket) {
    if (entry.first == name) {
      entry.second = value != nullptr ? value : "";
      return;
    }
  }
  bucket.insert(bucket.begin(), {CString(name), CString(value != nullptr ? value : "")});
}

void CTemplateVariableTable::SetInt(LPCTSTR name, int value) {
  CString text;
  text.Format("%d", value);
  Set(name, text);
}

const CString* CTemplateVariableTable::Lookup(LPCTSTR name) const {
  for (const auto& entry : m_buckets[Bucket(name)])
    if (entry.first == name) return &entry.second;
  return nullptr;
}

void CTemplateVariableTable::ForEach(
    const std::function<void(const CString& name, const CString& value)>& visit) const {
  for (const auto& bucket : m_buckets)
    for (const auto& entry : bucket) visit(entry.first, entry.second);
}

void CTemplateVariableTable::RemoveAll() {
  for (auto& bucket : m_buckets) bucket.clear();
}
