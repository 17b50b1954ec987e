// The variables of web-album templates, referenced as "$Name" in a page and by their bare name
// inside an expression. Names are case-sensitive. The table enumerates its names in a fixed order
// (bucket h % 17 of the name's hash h = h * 33 + c, buckets 0 to 16, newest name first inside a
// bucket), which decides the order in which references are replaced.
#pragma once

#include <array>
#include <functional>
#include <utility>
#include <vector>

#include "platform/base/CString.h"

class CTemplateVariableTable {
 public:
  static constexpr int kBucketCount = 17;

  // Adds the name or replaces its value; a replaced name keeps its place in the order.
  void Set(LPCTSTR name, LPCTSTR value);
  void SetInt(LPCTSTR name, int value);
  // The value, or null when the name was never set.
  const CString* Lookup(LPCTSTR name) const;
  // Every name and value in the table's order.
  void ForEach(const std::function<void(const CString& name, const CString& value)>& visit) const;
  // Forgets every variable (tests; the program never clears the table).
  void RemoveAll();

  static unsigned Bucket(LPCTSTR name);

 private:
  // Each bucket keeps its newest name first.
  std::array<std::vector<std::pair<CString, CString>>, kBucketCount> m_buckets;
};

// The variables of every page of every generation; values stay until they are set again.
// Worker thread of the web-album output, one generation at a time.
extern CTemplateVariableTable g_templateVariables;
