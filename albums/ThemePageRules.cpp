#include "albums/ThemePageRules.h"

#include <algorithm>
#include <cstring>
#include <map>

#include "modules/xml/XMLParse.h"
#include "platform/kernel/Path.h"

namespace {

// The length of the longest prefix of `text` of at most `limit` bytes that ends on a UTF-8
// character boundary.
size_t BoundaryPrefix(const char* text, size_t length, size_t limit) {
  if (length <= limit) return length;
  size_t n = limit;
  // Continuation bytes (10xxxxxx) belong to the character started before them.
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return n;
}

}  // namespace

size_t CopyTextField(char* field, size_t size, const CString& text) {
  if (field == nullptr || size == 0) return 0;
  const size_t n = BoundaryPrefix(text.GetString(), static_cast<size_t>(text.GetLength()), size - 1);
  std::memcpy(field, text.GetString(), n);
  field[n] = '\0';
  return n;
}

std::vector<_TITLE_EFFECT> ReadTitleEffectList(const CString& listPath, const CString& effectFolder,
                                               std::vector<std::string>* refused) {
  std::vector<_TITLE_EFFECT> entries;
  CXMLParse xml;
  if (!xml.InitXMLParse(listPath)) return entries;
  int count = 0;
  if (!xml.GetElementAttribute("//effect", "count", count) || count <= 0) return entries;
  // Every item once, in document order; the first one with an id wins, as a lookup by id finds it.
  std::map<int, int> byId;  // id -> position among the items (1-based)
  for (int position = 1;; ++position) {
    CString path;
    path.Format("(//effect/item)[%d]", position);
    CString text;
    if (!xml.GetElementText(path, text)) break;
    CString idText;
    if (!xml.GetElementAttribute(path, "id", idText)) continue;
    const std::string id = idText.GetString();
    if (id.empty() || id.size() > 10 || !std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; }))
      continue;
    if (id.size() > 1 && id[0] == '0') continue;  // "01" is not the id 1
    const long long value = std::stoll(id);
    if (value >= count) continue;
    byId.emplace(static_cast<int>(value), position);
  }
  for (const auto& [id, position] : byId) {
    CString path;
    path.Format("(//effect/item)[%d]", position);
    CString name, file;
    int duration = 0;
    xml.GetElementAttribute(path, "name", name);
    xml.GetElementAttribute(path, "duration", duration);
    xml.GetElementText(path, file);
    const CString full(pictavo::path::ResolveNoCase(
                           pictavo::path::Join(effectFolder.GetString(), file.Trim().GetString()))
                           .c_str());
    _TITLE_EFFECT entry;
    std::memset(&entry, 0, sizeof entry);
    if (!FitsField(full, sizeof entry.szEffectFile)) {
      if (refused != nullptr) refused->push_back(full.GetString());
      continue;
    }
    CopyTextField(entry.szName, sizeof entry.szName, name);
    CopyTextField(entry.szEffectFile, sizeof entry.szEffectFile, full);
    entry.nDefaultDuration = duration;
    entries.push_back(entry);
  }
  return entries;
}

CString MovieColorText(COLORREF color) {
  CString text;
  text.Format("0x%02x%02x%02x", GetRValue(color), GetGValue(color), GetBValue(color));
  return text;
}

RECT PreviewLetterbox(int w, int h) {
  if (w * 0.75 > h) {
    const int boxWidth = static_cast<int>(h * 4.0 / 3.0);
    const int left = (w - boxWidth) / 2;
    return RECT{left, 0, left + boxWidth, h};
  }
  const int boxHeight = static_cast<int>(w * 0.75);
  const int top = (h - boxHeight) / 2;
  return RECT{0, top, w, top + boxHeight};
}

CString PreviewSecondsText(DWORD elapsedMs) {
  CString text;
  text.Format("%d seconds", static_cast<int>(elapsedMs / 1000));
  return text;
}

ThemePageLayout LayOutThemePage(int cx, int cy, const RECT& title, const RECT& list, int y0, int previewHeight) {
  const int titleWidth = title.right - title.left;
  const int d = title.bottom - title.top;
  const int listWidth = list.right - list.left;
  int x = title.left;
  if (listWidth + titleWidth + 20 < cx) {
    const int centred = (list.left + title.left + cx - list.right - title.right - 10) / 2;
    if (centred > 0) x = centred;
  }
  const int a = 2 * d + 80 < cy ? cy - 2 * d - 50 : previewHeight;
  ThemePageLayout layout{};
  layout.preview = RECT{x, y0, x + titleWidth, y0 + a};
  layout.titlePage = RECT{x, y0 + a + 10, x + titleWidth, y0 + a + 10 + d};
  layout.creditPage = RECT{x, y0 + a + d + 10, x + titleWidth, y0 + a + 2 * d + 10};
  const int listLeft = layout.preview.right + 20;
  layout.list = RECT{listLeft, list.top, listLeft + listWidth, list.top + 2 * d + a};
  layout.labelX = x;
  return layout;
}
