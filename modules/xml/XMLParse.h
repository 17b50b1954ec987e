// CXMLParse: the XML reader the program reads skins, effect lists, themes and menu templates
// with. A path is an XPath expression ("//skins/skin", "//effect/item[@id=\"3\"]"); every getter
// reads the first element the path selects in document order and stores into the caller's
// variable only when that element and the value exist and parse. On any failure the variable
// is left exactly as it was and the result is FALSE, so callers preset a default and test it.
// One object per file, used by one thread.
#pragma once

#include <memory>

#include "platform/base/CString.h"
#include "platform/base/WinTypes.h"

namespace pugi {
class xml_document;
}

class CXMLParse {
 public:
  CXMLParse();
  ~CXMLParse();
  CXMLParse(const CXMLParse&) = delete;
  CXMLParse& operator=(const CXMLParse&) = delete;

  // Reads and parses the file (`\` accepted as separator; a data file beside the program is found
  // without regard to case). Non-zero only when the whole file parsed; otherwise the reader holds
  // no document and the last error says why (ERROR_FILE_NOT_FOUND, ERROR_INVALID_DATA ...).
  BOOL InitXMLParse(const CString& strPath);
  // The same from text in memory.
  BOOL InitXMLParseFromText(LPCTSTR lpszText);

  // The attribute's text.
  BOOL GetElementAttribute(LPCTSTR lpszPath, LPCTSTR lpszAttribute, CString& strValue) const;
  // The attribute as a decimal integer.
  BOOL GetElementAttribute(LPCTSTR lpszPath, LPCTSTR lpszAttribute, int& nValue) const;
  // The attribute as a colour ("#RRGGBB", "RRGGBB", "r,g,b") giving an RGB COLORREF, or a plain
  // decimal number given back as it is (pixel sizes read through the colour form).
  BOOL GetElementAttributeColor(LPCTSTR lpszPath, LPCTSTR lpszAttribute, DWORD& dwColor) const;
  // The element's text: its character data (text and CDATA children) joined, exactly as written.
  BOOL GetElementText(LPCTSTR lpszPath, CString& strText) const;

 private:
  std::unique_ptr<pugi::xml_document> m_document;  // null while no file is parsed
};
