// CString: the class library's string with multibyte semantics. The text is UTF-8; lengths and
// indices count bytes, as the platform's multibyte strings do. Searching and trimming by a set
// of characters treat a multibyte character as one; MakeUpper/MakeLower change ASCII letters only.
#pragma once

#include <compare>
#include <cstdarg>
#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"

class CString {
 public:
  CString() = default;
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  // A null pointer gives an empty string; a resource id made with MAKEINTRESOURCE loads that
  // string (see LoadString).
  CString(LPCSTR psz);  // NOLINT: implicit, as the class library's
  CString(LPCSTR pch, int nLength);
  CString(const unsigned char* psz);  // NOLINT
  CString(LPCWSTR pwsz);              // NOLINT: converted to UTF-8
  CString(LPCWSTR pwch, int nLength);
  explicit CString(char ch, int nRepeat = 1);
  CString(std::string_view text) : m_str(text) {}          // NOLINT
  CString(const std::string& text) : m_str(text) {}        // NOLINT
  CString(std::string&& text) : m_str(std::move(text)) {}  // NOLINT
  ~CString() = default;

  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(LPCSTR psz);
  CString& operator=(const unsigned char* psz);
  CString& operator=(LPCWSTR pwsz);
  CString& operator=(char ch);

  CString& operator+=(const CString& text);
  CString& operator+=(LPCSTR psz);
  CString& operator+=(char ch);

  // Size and access.
  int GetLength() const { return static_cast<int>(m_str.size()); }
  BOOL IsEmpty() const { return m_str.empty(); }
  void Empty();
  char GetAt(int nIndex) const;
  void SetAt(int nIndex, char ch);
  char operator[](int nIndex) const { return GetAt(nIndex); }
  operator LPCTSTR() const { return m_str.c_str(); }  // NOLINT: implicit, as the class library's
  LPCTSTR GetString() const { return m_str.c_str(); }
  // For our own layers: the text without conversion.
  std::string_view View() const { return m_str; }
  const std::string& Str() const { return m_str; }

  // Comparison: Compare is by bytes, CompareNoCase folds ASCII letters, Collate uses the locale.
  int Compare(LPCTSTR psz) const;
  int CompareNoCase(LPCTSTR psz) const;
  int Collate(LPCTSTR psz) const;
  int CollateNoCase(LPCTSTR psz) const;

  // Extraction; out-of-range arguments are clamped as the class library does.
  CString Mid(int nFirst) const;
  CString Mid(int nFirst, int nCount) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  CString SpanIncluding(LPCTSTR pszCharSet) const;
  CString SpanExcluding(LPCTSTR pszCharSet) const;
  // Next token after iStart, skipping leading delimiters; iStart moves past the token's
  // delimiter, and becomes -1 (with an empty result) when no token is left.
  CString Tokenize(LPCTSTR pszTokens, int& iStart) const;

  // Changes in place.
  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();
  int Replace(char chOld, char chNew);
  int Replace(LPCTSTR pszOld, LPCTSTR pszNew);
  int Remove(char ch);
  int Insert(int nIndex, char ch);
  int Insert(int nIndex, LPCTSTR psz);
  int Delete(int nIndex, int nCount = 1);
  // Whitespace is the ASCII set " \t\n\v\f\r".
  CString& Trim();
  CString& Trim(char chTarget);
  CString& Trim(LPCTSTR pszTargets);
  CString& TrimLeft();
  CString& TrimLeft(char chTarget);
  CString& TrimLeft(LPCTSTR pszTargets);
  CString& TrimRight();
  CString& TrimRight(char chTarget);
  CString& TrimRight(LPCTSTR pszTargets);

  // Searching; results are byte indices, -1 when not found.
  int Find(char ch) const { return Find(ch, 0); }
  int Find(char ch, int nStart) const;
  int Find(LPCTSTR pszSub) const { return Find(pszSub, 0); }
  int Find(LPCTSTR pszSub, int nStart) const;
  int ReverseFind(char ch) const;
  int FindOneOf(LPCTSTR pszCharSet) const;

  // printf-style formatting (see platform/base/StringFormat.h for the conversions).
  void Format(LPCTSTR pszFormat, ...);
  void Format(UINT nFormatID, ...);
  void FormatV(LPCTSTR pszFormat, va_list args);
  void AppendFormat(LPCTSTR pszFormat, ...);
  void AppendFormatV(LPCTSTR pszFormat, va_list args);

  // Direct buffer access. GetBuffer returns room for at least nMinBufLength characters and a
  // terminator; ReleaseBuffer(-1) takes the length up to the first NUL.
  LPTSTR GetBuffer();
  LPTSTR GetBuffer(int nMinBufLength);
  LPTSTR GetBufferSetLength(int nNewLength);
  void ReleaseBuffer(int nNewLength = -1);
  void FreeExtra() { m_str.shrink_to_fit(); }
  LPTSTR LockBuffer() { return m_str.data(); }
  void UnlockBuffer() {}

  // The string resource nID, through the loader installed with pictavo::SetStringResourceLoader;
  // FALSE (string unchanged) when there is none or it does not know the id.
  BOOL LoadString(UINT nID);

  friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
  friend bool operator==(const CString& a, LPCTSTR b) { return a.Compare(b) == 0; }
  friend std::strong_ordering operator<=>(const CString& a, const CString& b) {
    return a.m_str.compare(b.m_str) <=> 0;
  }
  friend std::strong_ordering operator<=>(const CString& a, LPCTSTR b) { return a.Compare(b) <=> 0; }

  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, LPCTSTR b);
  friend CString operator+(LPCTSTR a, const CString& b);
  friend CString operator+(const CString& a, char b);
  friend CString operator+(char a, const CString& b);
  friend CString operator+(CString&& a, const CString& b);
  friend CString operator+(CString&& a, LPCTSTR b);
  friend CString operator+(CString&& a, char b);

 private:
  void AssignPointer(LPCSTR psz);

  std::string m_str;
};

namespace pictavo {
// Looks up string resource `id`; returns false when there is no such string.
using StringResourceLoader = bool (*)(UINT id, std::string& text);
// Installs the loader CString::LoadString uses (null removes it). Safe from any thread.
void SetStringResourceLoader(StringResourceLoader loader);
}  // namespace pictavo
