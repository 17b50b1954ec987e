// The font of an album's subtitles: a TrueType file, a character set and a size.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/CString.h"

class CDVDSubtitleFont {
 public:
  CDVDSubtitleFont() = default;

  const CString& Get_strFontFileName() const { return m_strFontFileName; }
  void Set_strFontFileName(LPCTSTR path) { m_strFontFileName = path; }
  const CString& Get_strCharset() const { return m_strCharset; }
  void Set_strCharset(LPCTSTR name) { m_strCharset = name; }
  int Get_nFontSize() const { return m_nFontSize; }
  void Set_nFontSize(int size) { m_nFontSize = size; }

  // The character sets a subtitle can use, by display name, in list order.
  static const CStringArray& GetCharsetInfoArray();
  // Index of a name in that list without regard to case, -1 when unknown.
  static int GetCharsetIndex(LPCTSTR name);
  int GetCharsetIndex() const { return GetCharsetIndex(m_strCharset); }
  // The name at an index, "" outside the list.
  static CString GetCharsetNameFromIndex(int index);
  // The folder whose *.ttf files the font lists offer.
  static CString GetSystemFontDirectory();

  bool operator==(const CDVDSubtitleFont&) const = default;

  CString m_strFontFileName;
  CString m_strCharset{"Western"};
  int m_nFontSize = 24;
};
