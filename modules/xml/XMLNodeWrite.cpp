#include "modules/xml/XMLNodeWrite.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "platform/base/Utf8.h"
#include "platform/kernel/FileIo.h"
#include "platform/kernel/FileSystem.h"

thread_local HANDLE CWyxXMLNodeWrite::m_hanldeXMLWriteFile = nullptr;
thread_local FILE* CWyxXMLNodeWrite::m_pXMLWriteFile = nullptr;

namespace {

struct WriterState {
  std::string buffer;
  DWORD spoiled = ERROR_SUCCESS;              // why the document can no longer be written
  bool tagOpen = false;                       // the last start tag still lacks its '>' (it may become "/>")
  size_t nodes = 0;                           // nodes flushed since InitBuffer
  bool hasRoot = false;                       // a top-level element was written
  std::vector<const CWyxXMLNodeWrite*> open;  // flushed nodes not yet closed, innermost last
};

thread_local WriterState t_writer;     // the calling thread's document
thread_local size_t t_generation = 0;  // counts InitBuffer calls: a node of an older document is ignored

bool IsNameStart(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsValidName(std::string_view name) {
  if (name.empty() || !IsNameStart(static_cast<unsigned char>(name.front()))) return false;
  return std::all_of(name.begin(), name.end(), [](char ch) {
    const auto c = static_cast<unsigned char>(ch);
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
  });
}

// Characters XML 1.0 has no way to carry, not even as references.
bool IsUnrepresentable(char32_t cp) {
  return (cp < 0x20 && cp != '\t' && cp != '\n' && cp != '\r') || cp == 0xFFFE || cp == 0xFFFF;
}

// Appends `text` escaped for an attribute value (inAttribute) or for element text. Line ends and
// tabs inside attributes become references, since a reader turns the raw ones into spaces; a
// carriage return in text does too, since a reader folds it into the line feed.
void AppendEscaped(std::string& out, std::string_view text, bool inAttribute) {
  for (const wchar_t wc : pictavo::utf8::ToWide(text)) {
    const auto cp = static_cast<char32_t>(wc);
    switch (cp) {
      case '&':
        out += "&amp;";
        continue;
      case '<':
        out += "&lt;";
        continue;
      case '>':
        out += "&gt;";
        continue;
      case '"':
        out += inAttribute ? "&quot;" : "\"";
        continue;
      case '\r':
        out += "&#13;";
        continue;
      case '\n':
        out += inAttribute ? "&#10;" : "\n";
        continue;
      case '\t':
        out += inAttribute ? "&#9;" : "\t";
        continue;
      default:
        break;
    }
    if (IsUnrepresentable(cp)) continue;
    pictavo::utf8::AppendCodePoint(out, cp);
  }
}

void AppendIndent(std::string& out, int level) {
  out.append(static_cast<size_t>(std::clamp(level, 0, 64)) * 2, ' ');
}

void CloseOpenTag() {
  if (t_writer.tagOpen) {
    t_writer.buffer += '>';
    t_writer.tagOpen = false;
  }
}

void Spoil(DWORD why) {
  if (t_writer.spoiled == ERROR_SUCCESS) t_writer.spoiled = why;
}

// A document with a bad name or with elements still open would not be well-formed.
bool CheckWritable() {
  DWORD why = t_writer.spoiled;
  if (why == ERROR_SUCCESS && !t_writer.open.empty()) why = ERROR_INVALID_DATA;
  if (why == ERROR_SUCCESS) return true;
  SetLastError(why);
  return false;
}

}  // namespace

void CWyxXMLNodeWrite::InitBuffer() {
  t_writer = WriterState{};
  ++t_generation;
}

void CWyxXMLNodeWrite::FillXMLFileHeader() {
  CloseOpenTag();
  if (!t_writer.buffer.empty()) t_writer.buffer += '\n';
  t_writer.buffer += R"(<?xml version="1.0" encoding="UTF-8"?>)";
}

CString CWyxXMLNodeWrite::GetBufferText() {
  return CString(t_writer.buffer);
}

BOOL CWyxXMLNodeWrite::WriteHandleFile() {
  if (!CheckWritable()) return FALSE;
  const std::string text = t_writer.buffer + '\n';
  if (m_hanldeXMLWriteFile && m_hanldeXMLWriteFile != INVALID_HANDLE_VALUE) {
    size_t done = 0;
    while (done < text.size()) {
      DWORD written = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 30));
      if (!WriteFile(m_hanldeXMLWriteFile, text.data() + done, chunk, &written, nullptr)) return FALSE;
      if (written == 0) {
        SetLastError(ERROR_WRITE_FAULT);
        return FALSE;
      }
      done += written;
    }
    return TRUE;
  }
  if (m_pXMLWriteFile) {
    if (std::fwrite(text.data(), 1, text.size(), m_pXMLWriteFile) != text.size() ||
        std::fflush(m_pXMLWriteFile) != 0)
      return pictavo::FailWithErrno();
    return TRUE;
  }
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

BOOL CWyxXMLNodeWrite::WriteBufferToFile(LPCTSTR lpszPath) {
  if (!CheckWritable()) return FALSE;
  if (!lpszPath || !*lpszPath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD error = pictavo::WriteFileAtomically(lpszPath, t_writer.buffer + '\n');
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return FALSE;
  }
  return TRUE;
}

CWyxXMLNodeWrite::CWyxXMLNodeWrite(int nLevel, LPCTSTR lpszName, LPCTSTR lpszValue)
    : m_nLevel(nLevel), m_name(lpszName ? lpszName : ""), m_value(lpszValue ? lpszValue : "") {
  if (!IsValidName(m_name)) Spoil(ERROR_INVALID_NAME);
}

CWyxXMLNodeWrite::~CWyxXMLNodeWrite() {
  if (!m_flushed) Flush();
  if (m_generation != t_generation) return;
  if (t_writer.open.empty() || t_writer.open.back() != this) {
    // Closed before a node nested in it: the end tags would cross.
    Spoil(ERROR_INVALID_DATA);
    std::erase(t_writer.open, this);
    return;
  }
  t_writer.open.pop_back();
  std::string& out = t_writer.buffer;
  if (t_writer.nodes == m_serial) {
    // No child since the start tag: close on the same line.
    if (t_writer.tagOpen) {
      out += "/>";
      t_writer.tagOpen = false;
    } else {
      out += "</" + m_name + ">";
    }
    return;
  }
  CloseOpenTag();
  out += '\n';
  AppendIndent(out, m_nLevel);
  out += "</" + m_name + ">";
}

BOOL CWyxXMLNodeWrite::AddAttribute(LPCTSTR lpszName, LPCTSTR lpszValue) {
  if (m_flushed) return FALSE;
  std::string name = lpszName ? lpszName : "";
  const bool repeated = std::any_of(m_attributes.begin(), m_attributes.end(),
                                    [&name](const auto& attribute) { return attribute.first == name; });
  if (!IsValidName(name) || repeated) {
    Spoil(ERROR_INVALID_NAME);
    return FALSE;
  }
  m_attributes.emplace_back(std::move(name), lpszValue ? lpszValue : "");
  return TRUE;
}

BOOL CWyxXMLNodeWrite::AddAttribute(LPCTSTR lpszName, int nValue) {
  return AddAttribute(lpszName, std::to_string(nValue).c_str());
}

BOOL CWyxXMLNodeWrite::SetValue(LPCTSTR lpszValue) {
  if (m_flushed) return FALSE;
  m_value = lpszValue ? lpszValue : "";
  return TRUE;
}

BOOL CWyxXMLNodeWrite::Flush() {
  if (m_flushed) return FALSE;
  m_flushed = true;
  if (t_writer.open.empty()) {
    if (t_writer.hasRoot) Spoil(ERROR_INVALID_DATA);  // a second root element
    t_writer.hasRoot = true;
  }
  std::string& out = t_writer.buffer;
  CloseOpenTag();
  if (!out.empty()) out += '\n';
  AppendIndent(out, m_nLevel);
  out += '<';
  out += m_name;
  for (const auto& [name, value] : m_attributes) {
    out += ' ';
    out += name;
    out += "=\"";
    AppendEscaped(out, value, /*inAttribute=*/true);
    out += '"';
  }
  if (m_value.empty()) {
    t_writer.tagOpen = true;
  } else {
    out += '>';
    AppendEscaped(out, m_value, /*inAttribute=*/false);
  }
  m_serial = ++t_writer.nodes;
  m_generation = t_generation;
  t_writer.open.push_back(this);
  return TRUE;
}
