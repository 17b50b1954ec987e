#include "modules/xml/XMLParse.h"

#include <pugixml.hpp>

#include <optional>
#include <string>

#include "modules/xml/ValueNotation.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/kernel/Path.h"

namespace {

// The first element `path` selects; empty for a missing element or a path that is not a valid
// expression (the program builds paths from names it reads, so a bad one is a miss, not a crash).
pugi::xml_node SelectElement(const pugi::xml_document* document, LPCTSTR path) {
  if (!document || !path) return {};
  try {
    const pugi::xpath_node found = document->select_node(path);
    return found.node().type() == pugi::node_element ? found.node() : pugi::xml_node();
  } catch (const pugi::xpath_exception&) {
    return {};
  }
}

std::optional<std::string_view> AttributeText(const pugi::xml_document* document, LPCTSTR path,
                                              LPCTSTR attribute) {
  if (!attribute) return std::nullopt;
  const pugi::xml_attribute found = SelectElement(document, path).attribute(attribute);
  if (!found) return std::nullopt;
  return std::string_view(found.value());
}

// Whitespace-only text is kept when it is an element's whole content (a value of " " reads back
// as written); between elements it is layout and dropped.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_ws_pcdata_single;

// Well-formed XML has exactly one root element; the parser alone would accept a fragment.
bool HasOneRoot(const pugi::xml_document& document) {
  int roots = 0;
  for (const pugi::xml_node child : document.children())
    if (child.type() == pugi::node_element) ++roots;
  return roots == 1;
}

DWORD ErrorOfParse(pugi::xml_parse_status status) {
  switch (status) {
    case pugi::status_file_not_found:
      return ERROR_FILE_NOT_FOUND;
    case pugi::status_io_error:
      return ERROR_READ_FAULT;
    case pugi::status_out_of_memory:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_INVALID_DATA;
  }
}

}  // namespace

CXMLParse::CXMLParse() = default;
CXMLParse::~CXMLParse() = default;

BOOL CXMLParse::InitXMLParse(const CString& strPath) {
  m_document.reset();
  if (strPath.IsEmpty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  auto document = std::make_unique<pugi::xml_document>();
  const std::string path = pictavo::path::ResolveDataPath(strPath.View());
  const pugi::xml_parse_result result = document->load_file(path.c_str(), kParseOptions);
  if (!result || !HasOneRoot(*document)) {
    SetLastError(result ? ERROR_INVALID_DATA : ErrorOfParse(result.status));
    return FALSE;
  }
  m_document = std::move(document);
  return TRUE;
}

BOOL CXMLParse::InitXMLParseFromText(LPCTSTR lpszText) {
  m_document.reset();
  auto document = std::make_unique<pugi::xml_document>();
  const pugi::xml_parse_result result = document->load_string(lpszText ? lpszText : "", kParseOptions);
  if (!result || !HasOneRoot(*document)) {
    SetLastError(result ? ERROR_INVALID_DATA : ErrorOfParse(result.status));
    return FALSE;
  }
  m_document = std::move(document);
  return TRUE;
}

BOOL CXMLParse::GetElementAttribute(LPCTSTR lpszPath, LPCTSTR lpszAttribute, CString& strValue) const {
  const auto text = AttributeText(m_document.get(), lpszPath, lpszAttribute);
  if (!text) return FALSE;
  strValue = *text;
  return TRUE;
}

BOOL CXMLParse::GetElementAttribute(LPCTSTR lpszPath, LPCTSTR lpszAttribute, int& nValue) const {
  const auto text = AttributeText(m_document.get(), lpszPath, lpszAttribute);
  const auto value = text ? pictavo::xml::ParseInt(*text) : std::nullopt;
  if (!value) return FALSE;
  nValue = *value;
  return TRUE;
}

BOOL CXMLParse::GetElementAttributeColor(LPCTSTR lpszPath, LPCTSTR lpszAttribute, DWORD& dwColor) const {
  const auto text = AttributeText(m_document.get(), lpszPath, lpszAttribute);
  const auto value = text ? pictavo::xml::ParseColor(*text) : std::nullopt;
  if (!value) return FALSE;
  dwColor = *value;
  return TRUE;
}

BOOL CXMLParse::GetElementText(LPCTSTR lpszPath, CString& strText) const {
  const pugi::xml_node element = SelectElement(m_document.get(), lpszPath);
  if (!element) return FALSE;
  std::string text;
  for (const pugi::xml_node child : element.children())
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) text += child.value();
  strText = std::move(text);
  return TRUE;
}
