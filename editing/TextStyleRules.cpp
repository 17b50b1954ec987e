#include "editing/TextStyleRules.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "modules/data/PhotoTextEffect.h"
#include "modules/log/Log.h"
#include "modules/xml/XMLParse.h"
#include "platform/base/Utf8.h"

namespace textstyle {

int ClampSize(int nSize) {
  return std::clamp(nSize, kMinSize, kMaxSize);
}

int ClampOffset(int nOffset) {
  return std::clamp(nOffset, -kMaxOffset, kMaxOffset);
}

BOOL ParseEditInt(std::string_view text, int& nValue) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return FALSE;
  nValue = value;
  return TRUE;
}

std::vector<_TextEffect> ReadEffectList(const CString& path, int* pnCount) {
  std::vector<_TextEffect> styles;
  if (pnCount != nullptr) *pnCount = -1;
  CXMLParse parser;
  if (!parser.InitXMLParse(path)) {
    WriteErrorLog("Text effect list %s cannot be read.", static_cast<LPCTSTR>(path));
    return styles;
  }
  int claimed = -1;
  parser.GetElementAttribute("//TEXT_EFFECT", "count", claimed);
  if (pnCount != nullptr) *pnCount = claimed;
  for (int k = 0; k < kMaxStyles; ++k) {
    CString element;
    element.Format("//TEXT_EFFECT/data[@id=\"%d\"]", k);
    _TextEffect style;
    std::memset(&style, 0, sizeof style);
    if (!CPhotoTextEffect::ReadEffectFromXML(parser, element, &style)) break;
    styles.push_back(style);
  }
  if (claimed != static_cast<int>(styles.size()))
    WriteLog("Text effect list claims %d styles, holds %d.", claimed, static_cast<int>(styles.size()));
  return styles;
}

int InitialStyleIndex(int nCount) {
  return nCount <= 0 ? -1 : std::min(kInitialStyle, nCount - 1);
}

int StoredStyleIndex(int nStored, int nCount) {
  return nStored >= 0 && nStored < nCount ? nStored : -1;
}

}  // namespace textstyle
