#include "platform/base/CString.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwchar>

#include "platform/base/StringFormat.h"
#include "platform/base/Utf8.h"

namespace {

std::atomic<pictavo::StringResourceLoader> g_stringLoader{nullptr};

constexpr std::string_view kWhitespace = " \t\n\v\f\r";

std::string_view ViewOf(LPCTSTR psz) {
  return psz != nullptr ? std::string_view(psz) : std::string_view();
}

char FoldAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the multibyte character `ch` (one to four bytes) is one of the characters of `set`.
bool SetContains(std::string_view set, std::string_view ch) {
  while (!set.empty()) {
    const size_t len = pictavo::utf8::CharLength(set);
    if (set.substr(0, len) == ch) return true;
    set.remove_prefix(len);
  }
  return false;
}

// Bytes at the start of `text` made of characters that are (`inSet`) or are not in `set`.
size_t SpanOf(std::string_view text, std::string_view set, bool inSet) {
  size_t at = 0;
  while (at < text.size()) {
    const size_t len = pictavo::utf8::CharLength(text.substr(at));
    if (SetContains(set, text.substr(at, len)) != inSet) break;
    at += len;
  }
  return at;
}

// Bytes at the end of `text` made of characters of `set`.
size_t TrailingSpanOf(std::string_view text, std::string_view set) {
  size_t keep = 0;  // end of the last character that is not in the set
  size_t at = 0;
  while (at < text.size()) {
    const size_t len = pictavo::utf8::CharLength(text.substr(at));
    at += len;
    if (!SetContains(set, text.substr(at - len, len))) keep = at;
  }
  return text.size() - keep;
}

}  // namespace

namespace pictavo {
void SetStringResourceLoader(StringResourceLoader loader) {
  g_stringLoader.store(loader);
}
}  // namespace pictavo

// Construction and assignment.

CString::CString(LPCSTR psz) {
  AssignPointer(psz);
}

CString::CString(LPCSTR pch, int nLength) {
  if (pch != nullptr && nLength > 0) m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(const unsigned char* psz) : CString(reinterpret_cast<LPCSTR>(psz)) {}

CString::CString(LPCWSTR pwsz) {
  if (pwsz != nullptr) m_str = pictavo::utf8::FromWide(pwsz);
}

CString::CString(LPCWSTR pwch, int nLength) {
  if (pwch != nullptr && nLength > 0)
    m_str = pictavo::utf8::FromWide(std::wstring_view(pwch, static_cast<size_t>(nLength)));
}

CString::CString(char ch, int nRepeat) {
  if (nRepeat > 0) m_str.assign(static_cast<size_t>(nRepeat), ch);
}

void CString::AssignPointer(LPCSTR psz) {
  // Pointers below 64K are resource ids (MAKEINTRESOURCE), never text.
  const auto value = reinterpret_cast<uintptr_t>(psz);
  if (value == 0) {
    m_str.clear();
  } else if (value <= 0xFFFF) {
    m_str.clear();
    LoadString(static_cast<UINT>(value));
  } else {
    m_str.assign(psz);
  }
}

CString& CString::operator=(LPCSTR psz) {
  AssignPointer(psz);  // std::string::assign copes with text from this string
  return *this;
}

CString& CString::operator=(const unsigned char* psz) {
  return *this = reinterpret_cast<LPCSTR>(psz);
}

CString& CString::operator=(LPCWSTR pwsz) {
  m_str = pwsz != nullptr ? pictavo::utf8::FromWide(pwsz) : std::string();
  return *this;
}

CString& CString::operator=(char ch) {
  m_str.assign(1, ch);
  return *this;
}

CString& CString::operator+=(const CString& text) {
  m_str += text.m_str;
  return *this;
}

CString& CString::operator+=(LPCSTR psz) {
  if (psz != nullptr) m_str.append(psz);  // append copes with text from this string
  return *this;
}

CString& CString::operator+=(char ch) {
  m_str.push_back(ch);
  return *this;
}

CString operator+(const CString& a, const CString& b) {
  CString r;
  r.m_str.reserve(a.m_str.size() + b.m_str.size());
  r.m_str.append(a.m_str).append(b.m_str);
  return r;
}
CString operator+(const CString& a, LPCTSTR b) {
  const std::string_view bv = ViewOf(b);
  CString r;
  r.m_str.reserve(a.m_str.size() + bv.size());
  r.m_str.append(a.m_str).append(bv);
  return r;
}
CString operator+(LPCTSTR a, const CString& b) {
  const std::string_view av = ViewOf(a);
  CString r;
  r.m_str.reserve(av.size() + b.m_str.size());
  r.m_str.append(av).append(b.m_str);
  return r;
}
CString operator+(const CString& a, char b) {
  CString r(a);
  r.m_str.push_back(b);
  return r;
}
CString operator+(char a, const CString& b) {
  CString r;
  r.m_str.reserve(b.m_str.size() + 1);
  r.m_str.push_back(a);
  r.m_str.append(b.m_str);
  return r;
}
CString operator+(CString&& a, const CString& b) {
  a.m_str.append(b.m_str);
  return std::move(a);
}
CString operator+(CString&& a, LPCTSTR b) {
  a.m_str.append(ViewOf(b));
  return std::move(a);
}
CString operator+(CString&& a, char b) {
  a.m_str.push_back(b);
  return std::move(a);
}

// Access.

void CString::Empty() {
  m_str.clear();
  m_str.shrink_to_fit();
}

char CString::GetAt(int nIndex) const {
  if (nIndex < 0 || nIndex >= GetLength()) return '\0';
  return m_str[static_cast<size_t>(nIndex)];
}

void CString::SetAt(int nIndex, char ch) {
  if (nIndex >= 0 && nIndex < GetLength()) m_str[static_cast<size_t>(nIndex)] = ch;
}

// Comparison.

int CString::Compare(LPCTSTR psz) const {
  const int r = std::string_view(m_str).compare(ViewOf(psz));
  return (r > 0) - (r < 0);
}

int CString::CompareNoCase(LPCTSTR psz) const {
  const std::string_view other = ViewOf(psz);
  const size_t n = std::min(m_str.size(), other.size());
  for (size_t i = 0; i < n; ++i) {
    const auto a = static_cast<unsigned char>(FoldAscii(m_str[i]));
    const auto b = static_cast<unsigned char>(FoldAscii(other[i]));
    if (a != b) return a < b ? -1 : 1;
  }
  if (m_str.size() == other.size()) return 0;
  return m_str.size() < other.size() ? -1 : 1;
}

int CString::Collate(LPCTSTR psz) const {
  const int r = std::strcoll(m_str.c_str(), psz != nullptr ? psz : "");
  return (r > 0) - (r < 0);
}

int CString::CollateNoCase(LPCTSTR psz) const {
  CString a(*this), b(psz);
  return a.MakeLower().Collate(b.MakeLower());
}

// Extraction.

CString CString::Mid(int nFirst) const {
  return Mid(nFirst, GetLength());
}

CString CString::Mid(int nFirst, int nCount) const {
  const int length = GetLength();
  nFirst = std::clamp(nFirst, 0, length);
  nCount = std::clamp(nCount, 0, length - nFirst);
  return CString(std::string_view(m_str).substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString CString::Left(int nCount) const {
  return Mid(0, nCount);
}

CString CString::Right(int nCount) const {
  nCount = std::clamp(nCount, 0, GetLength());
  return Mid(GetLength() - nCount, nCount);
}

CString CString::SpanIncluding(LPCTSTR pszCharSet) const {
  return CString(std::string_view(m_str).substr(0, SpanOf(m_str, ViewOf(pszCharSet), true)));
}

CString CString::SpanExcluding(LPCTSTR pszCharSet) const {
  return CString(std::string_view(m_str).substr(0, SpanOf(m_str, ViewOf(pszCharSet), false)));
}

CString CString::Tokenize(LPCTSTR pszTokens, int& iStart) const {
  if (iStart < 0 || iStart >= GetLength()) {
    iStart = -1;
    return CString();
  }
  const std::string_view rest = std::string_view(m_str).substr(static_cast<size_t>(iStart));
  const std::string_view tokens = ViewOf(pszTokens);
  if (tokens.empty()) {
    iStart = GetLength();
    return CString(rest);
  }
  const size_t skip = SpanOf(rest, tokens, true);
  if (skip == rest.size()) {
    iStart = -1;
    return CString();
  }
  const size_t length = SpanOf(rest.substr(skip), tokens, false);
  const size_t tokenEnd = static_cast<size_t>(iStart) + skip + length;
  // Step over the delimiter that ended the token (a whole multibyte character).
  const size_t delimiter = pictavo::utf8::CharLength(std::string_view(m_str).substr(tokenEnd));
  iStart = static_cast<int>(tokenEnd + std::max<size_t>(delimiter, 1));
  return CString(rest.substr(skip, length));
}

// Changes in place.

CString& CString::MakeUpper() {
  for (char& c : m_str)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return *this;
}

CString& CString::MakeLower() {
  for (char& c : m_str) c = FoldAscii(c);
  return *this;
}

CString& CString::MakeReverse() {
  // Reverse the characters, keeping each multibyte sequence in its order.
  std::string reversed(m_str.size(), '\0');
  size_t at = 0;
  size_t out = m_str.size();
  while (at < m_str.size()) {
    const size_t len = pictavo::utf8::CharLength(std::string_view(m_str).substr(at));
    out -= len;
    std::memcpy(reversed.data() + out, m_str.data() + at, len);
    at += len;
  }
  m_str.swap(reversed);
  return *this;
}

int CString::Replace(char chOld, char chNew) {
  int count = 0;
  for (char& c : m_str) {
    if (c == chOld) {
      c = chNew;
      ++count;
    }
  }
  return count;
}

int CString::Replace(LPCTSTR pszOld, LPCTSTR pszNew) {
  const std::string_view from = ViewOf(pszOld);
  if (from.empty()) return 0;
  const std::string to(ViewOf(pszNew));  // copied: it may point into this string
  std::string result;
  int count = 0;
  size_t at = 0;
  for (size_t hit; (hit = m_str.find(from, at)) != std::string::npos; at = hit + from.size()) {
    if (count == 0) result.reserve(m_str.size());
    result.append(m_str, at, hit - at).append(to);
    ++count;
  }
  if (count == 0) return 0;
  result.append(m_str, at, std::string::npos);
  m_str.swap(result);
  return count;
}

int CString::Remove(char ch) {
  const auto end = std::remove(m_str.begin(), m_str.end(), ch);
  const int count = static_cast<int>(m_str.end() - end);
  m_str.erase(end, m_str.end());
  return count;
}

int CString::Insert(int nIndex, char ch) {
  nIndex = std::clamp(nIndex, 0, GetLength());
  m_str.insert(static_cast<size_t>(nIndex), 1, ch);
  return GetLength();
}

int CString::Insert(int nIndex, LPCTSTR psz) {
  nIndex = std::clamp(nIndex, 0, GetLength());
  const std::string text(ViewOf(psz));
  m_str.insert(static_cast<size_t>(nIndex), text);
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  nIndex = std::max(nIndex, 0);
  if (nCount > 0 && nIndex < GetLength())
    m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(std::min(nCount, GetLength() - nIndex)));
  return GetLength();
}

CString& CString::Trim() {
  return TrimRight().TrimLeft();
}
CString& CString::Trim(char chTarget) {
  return TrimRight(chTarget).TrimLeft(chTarget);
}
CString& CString::Trim(LPCTSTR pszTargets) {
  return TrimRight(pszTargets).TrimLeft(pszTargets);
}

CString& CString::TrimLeft() {
  m_str.erase(0, std::min(m_str.find_first_not_of(kWhitespace), m_str.size()));
  return *this;
}

CString& CString::TrimLeft(char chTarget) {
  m_str.erase(0, std::min(m_str.find_first_not_of(chTarget), m_str.size()));
  return *this;
}

CString& CString::TrimLeft(LPCTSTR pszTargets) {
  m_str.erase(0, SpanOf(m_str, ViewOf(pszTargets), true));
  return *this;
}

CString& CString::TrimRight() {
  const size_t last = m_str.find_last_not_of(kWhitespace);
  m_str.erase(last == std::string::npos ? 0 : last + 1);
  return *this;
}

CString& CString::TrimRight(char chTarget) {
  const size_t last = m_str.find_last_not_of(chTarget);
  m_str.erase(last == std::string::npos ? 0 : last + 1);
  return *this;
}

CString& CString::TrimRight(LPCTSTR pszTargets) {
  m_str.erase(m_str.size() - TrailingSpanOf(m_str, ViewOf(pszTargets)));
  return *this;
}

// Searching.

int CString::Find(char ch, int nStart) const {
  if (nStart < 0) nStart = 0;
  if (nStart >= GetLength()) return -1;
  const size_t hit = m_str.find(ch, static_cast<size_t>(nStart));
  return hit == std::string::npos ? -1 : static_cast<int>(hit);
}

int CString::Find(LPCTSTR pszSub, int nStart) const {
  if (nStart < 0) nStart = 0;
  if (nStart > GetLength()) return -1;
  const size_t hit = m_str.find(ViewOf(pszSub), static_cast<size_t>(nStart));
  return hit == std::string::npos ? -1 : static_cast<int>(hit);
}

int CString::ReverseFind(char ch) const {
  const size_t hit = m_str.rfind(ch);
  return hit == std::string::npos ? -1 : static_cast<int>(hit);
}

int CString::FindOneOf(LPCTSTR pszCharSet) const {
  const size_t at = SpanOf(m_str, ViewOf(pszCharSet), false);
  return at == m_str.size() ? -1 : static_cast<int>(at);
}

// Formatting.

void CString::Format(LPCTSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  FormatV(pszFormat, args);
  va_end(args);
}

void CString::Format(UINT nFormatID, ...) {
  CString format;
  if (!format.LoadString(nFormatID)) return;
  va_list args;
  va_start(args, nFormatID);
  FormatV(format, args);
  va_end(args);
}

void CString::FormatV(LPCTSTR pszFormat, va_list args) {
  std::string result;  // formatted aside: arguments may point into this string
  pictavo::AppendFormatV(result, pszFormat, args);
  m_str.swap(result);
}

void CString::AppendFormat(LPCTSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  AppendFormatV(pszFormat, args);
  va_end(args);
}

void CString::AppendFormatV(LPCTSTR pszFormat, va_list args) {
  std::string result;
  pictavo::AppendFormatV(result, pszFormat, args);
  m_str += result;
}

// Buffer access.

LPTSTR CString::GetBuffer() {
  return m_str.data();
}

LPTSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength > GetLength()) m_str.resize(static_cast<size_t>(nMinBufLength));
  return m_str.data();
}

LPTSTR CString::GetBufferSetLength(int nNewLength) {
  m_str.resize(static_cast<size_t>(std::max(nNewLength, 0)));
  return m_str.data();
}

void CString::ReleaseBuffer(int nNewLength) {
  if (nNewLength < 0)
    m_str.resize(strnlen(m_str.c_str(), m_str.size()));
  else
    m_str.resize(std::min(static_cast<size_t>(nNewLength), m_str.size()));
}

BOOL CString::LoadString(UINT nID) {
  const pictavo::StringResourceLoader loader = g_stringLoader.load();
  std::string text;
  if (loader == nullptr || !loader(nID, text)) return FALSE;
  m_str = std::move(text);
  return TRUE;
}
