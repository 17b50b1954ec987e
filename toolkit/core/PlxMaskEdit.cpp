#include "toolkit/core/PlxMaskEdit.h"

#include <algorithm>
#include <cctype>

IMPLEMENT_DYNAMIC(CPlxMaskEdit, CEdit)

BEGIN_MESSAGE_MAP(CPlxMaskEdit, CEdit)
ON_WM_CREATE()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_WM_LBUTTONUP()
ON_MESSAGE(WM_PASTE, OnPasteMessage)
ON_CONTROL_REFLECT(EN_UPDATE, OnEditUpdate)
ON_CONTROL_REFLECT(EN_SETFOCUS, OnEditSetFocus)
END_MESSAGE_MAP()

namespace {

bool KeyHeld(int key) {
  return GetKeyState(key) < 0;
}

}  // namespace

void CPlxMaskEdit::EnableMask(LPCTSTR lpszMask, LPCTSTR lpszTemplate, char chBlank, LPCTSTR lpszValidChars) {
  m_strMaskChars = lpszMask ? lpszMask : "";
  m_strLiteralTemplate = lpszTemplate ? lpszTemplate : "";
  m_chBlank = chBlank;
  m_strModel = m_strLiteralTemplate;
  // Input positions show the blank until something is typed there.
  for (int i = 0; i < m_strModel.GetLength(); ++i)
    if (IsInputPos(i)) m_strModel.SetAt(i, m_chBlank);
  SetValidChars(lpszValidChars);
}

void CPlxMaskEdit::SetValidChars(LPCTSTR lpszValidChars) {
  m_strAllowedChars = lpszValidChars ? lpszValidChars : "";
}

bool CPlxMaskEdit::IsInputPos(int nPos) const {
  return nPos >= 0 && nPos < m_strLiteralTemplate.GetLength() && m_strLiteralTemplate[nPos] == '_';
}

BOOL CPlxMaskEdit::IsAllowedChar(char ch) const {
  return m_strAllowedChars.IsEmpty() || m_strAllowedChars.Find(ch) >= 0;
}

BOOL CPlxMaskEdit::MatchesMaskChar(char ch, char chMask) const {
  const auto c = static_cast<unsigned char>(ch);
  switch (chMask) {
    case 'D':
      return std::isdigit(c) != 0;
    case 'd':
      return std::isdigit(c) || ch == ' ';
    case 'C':
      return std::isalpha(c) != 0;
    case 'c':
      return std::isalpha(c) || ch == ' ';
    case 'A':
      return std::isalnum(c) != 0;
    case 'a':
      return std::isalnum(c) || ch == ' ';
    case '+':
      return ch == '+' || ch == '-' || ch == ' ';
    default:
      return FALSE;
  }
}

BOOL CPlxMaskEdit::CanPlaceCharAt(char ch, int nPos) const {
  if (!HasMask()) return IsAllowedChar(ch);
  if (!IsInputPos(nPos) || !IsAllowedChar(ch)) return FALSE;
  return nPos < m_strMaskChars.GetLength() && MatchesMaskChar(ch, m_strMaskChars[nPos]);
}

CString CPlxMaskEdit::GetInputChars(BOOL bWithBlanks) const {
  if (!HasMask()) return m_strModel;
  CString result;
  for (int i = 0; i < m_strModel.GetLength(); ++i)
    if (IsInputPos(i) && (bWithBlanks || m_strModel[i] != m_chBlank)) result += m_strModel[i];
  return result;
}

bool CPlxMaskEdit::FindInputGroup(int nPos, bool bForward, Group* pGroup) const {
  const int length = m_strLiteralTemplate.GetLength();
  if (length == 0) {
    *pGroup = {0, Length()};
    return true;
  }
  int p = std::clamp(nPos, 0, length);
  if (bForward) {
    while (p > 0 && IsInputPos(p - 1)) --p;
    if (p >= length) return false;
    while (p < length && !IsInputPos(p)) ++p;
    if (p >= length) return false;
    int end = p;
    while (end < length && IsInputPos(end)) ++end;
    *pGroup = {p, end};
    return true;
  }
  while (p < length && IsInputPos(p)) ++p;
  if (p == 0) return false;
  while (!IsInputPos(p - 1)) {
    if (--p == 0) return false;
  }
  int start = p - 1;
  while (start > 0 && IsInputPos(start - 1)) --start;
  *pGroup = {start, p};
  return true;
}

BOOL CPlxMaskEdit::AssignText(LPCTSTR lpszText, BOOL bIncludesLiterals) {
  const CString text = lpszText ? lpszText : "";
  if (!HasMask()) {
    m_strModel = text;
    return TRUE;
  }
  const int inputs = GetInputChars(TRUE).GetLength();
  if (bIncludesLiterals ? text.GetLength() > m_strLiteralTemplate.GetLength() : text.GetLength() > inputs)
    return FALSE;
  CString candidate = m_strLiteralTemplate;
  for (int i = 0; i < candidate.GetLength(); ++i)
    if (IsInputPos(i)) candidate.SetAt(i, m_chBlank);
  for (int i = 0, j = 0; j < text.GetLength() && i < candidate.GetLength();) {
    if (IsInputPos(i)) {
      const char c = text[j];
      if (c != m_chBlank &&
          !(IsAllowedChar(c) && i < m_strMaskChars.GetLength() && MatchesMaskChar(c, m_strMaskChars[i])))
        return FALSE;
      candidate.SetAt(i, c);
      ++i;
      ++j;
    } else if (bIncludesLiterals) {
      if (text[j] != m_strLiteralTemplate[i]) return FALSE;
      ++i;
      ++j;
    } else {
      ++i;
    }
  }
  m_strModel = candidate;
  return TRUE;
}

int CPlxMaskEdit::MaskRunLength(int nPos, int nEnd) const {
  if (nPos < 0 || nPos >= nEnd) return 0;
  const char mask = nPos < m_strMaskChars.GetLength() ? m_strMaskChars[nPos] : 0;
  int n = 0;
  while (nPos + n < nEnd && IsInputPos(nPos + n) &&
         (nPos + n < m_strMaskChars.GetLength() ? m_strMaskChars[nPos + n] : 0) == mask)
    ++n;
  return n;
}

void CPlxMaskEdit::Select(int nStart, int nEnd) {
  SendMessage(EM_SETSEL, nStart, nEnd);
  SendMessage(EM_SCROLLCARET);
}

void CPlxMaskEdit::Beep() const {
  MessageBeep(static_cast<UINT>(-1));
}

void CPlxMaskEdit::ReplaceRun(int nStart, const CString& strText) {
  for (int i = 0; i < strText.GetLength() && nStart + i < Length(); ++i)
    m_strModel.SetAt(nStart + i, strText[i]);
  SendMessage(EM_SETSEL, nStart, nStart + strText.GetLength());
  ReplaceSel(strText, TRUE);
}

void CPlxMaskEdit::SelectFirstGroupOrAll() {
  Group g;
  if (m_bConfineToGroup && FirstGroup(&g))
    Select(g.start, g.end);
  else
    Select(0, -1);
}

int CPlxMaskEdit::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CEdit::OnCreate(lpCreateStruct) == -1) return -1;
  SetWindowText(m_strModel);
  return 0;
}

void CPlxMaskEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  Group first;
  if (!FirstGroup(&first)) {
    Beep();
    return;
  }
  const bool shift = KeyHeld(VK_SHIFT), ctrl = KeyHeld(VK_CONTROL);
  int s = 0, e = 0;
  GetSel(s, e);
  const int length = Length();
  Group g, other;
  switch (nChar) {
    case VK_END:
      if (!FindInputGroup(e, true, &g)) LastGroup(&g);
      Select(g.end, g.end);
      return;
    case VK_HOME:
      if (!FindInputGroup(s, false, &g)) g = first;
      Select(g.start, g.start);
      return;
    case VK_LEFT:
    case VK_UP:
      if (!FindInputGroup(s, false, &g)) g = first;
      if (shift) {
        if (m_bConfineToGroup)
          Select(std::min(std::max(s - 1, g.start), g.end), e);
        else
          Select(std::max(s - 1, 0), e);
      } else if (ctrl) {
        bool found = s > 1 ? FindInputGroup(s - 1, false, &other) : (other = g, true);
        if (!found || (other.start == s && other.end == e)) return Beep();
        Select(other.start, other.end);
      } else if (s == e && s == g.start) {
        bool found = s > 1 ? FindInputGroup(s - 1, false, &other) : (other = g, true);
        if (!found || other.end >= s) return Beep();
        Select(other.end, other.end);
      } else {
        const int caret = std::clamp(s - 1, g.start, g.end);
        Select(caret, caret);
      }
      return;
    case VK_RIGHT:
    case VK_DOWN:
      if (!FindInputGroup(e, true, &g)) LastGroup(&g);
      if (shift) {
        if (m_bConfineToGroup)
          Select(s, std::max(std::min(e + 1, g.end), g.start));
        else
          Select(s, std::min(e + 1, length));
      } else if (ctrl) {
        bool found = e < length - 1 ? FindInputGroup(e + 1, true, &other) : (other = g, true);
        if (!found || (other.start == s && other.end == e)) return Beep();
        Select(other.start, other.end);
      } else if (s == e && e == g.end) {
        bool found = e < length - 1 ? FindInputGroup(e + 1, true, &other) : (other = g, true);
        if (!found || other.start <= e) return Beep();
        Select(other.start, other.start);
      } else {
        const int caret = std::clamp(e + 1, g.start, g.end);
        Select(caret, caret);
      }
      return;
    case VK_BACK:
      DeleteChars(true);
      return;
    case VK_DELETE:
      if (shift) break;
      DeleteChars(false);
      return;
    case VK_INSERT:
      if (ctrl || shift || !HasMask()) break;
      return;
    default:
      break;
  }
  CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

bool CPlxMaskEdit::SelectionInGroup(int* pStart, int* pEnd, Group* pGroup) {
  GetSel(*pStart, *pEnd);
  if (!FindInputGroup(*pStart, true, pGroup)) {
    Beep();
    return false;
  }
  if (*pStart < pGroup->start || *pEnd > pGroup->end) {
    Beep();
    Select(pGroup->start, pGroup->end);
    return false;
  }
  return true;
}

void CPlxMaskEdit::DeleteChars(bool bBackspace) {
  int s = 0, e = 0;
  Group g;
  if (!SelectionInGroup(&s, &e, &g)) return;
  if (s == e) {
    if (!HasMask()) return (void)Default();
    if (bBackspace) {
      if (s == g.start) {
        Group p;
        bool found = s > 1 ? FindInputGroup(s - 1, false, &p) : (p = g, true);
        if (!found || p.end >= s) return Beep();
        return Select(p.end, p.end);
      }
      const int start = s - 1;
      const int n = MaskRunLength(start, g.end);
      ReplaceRun(start, m_strModel.Mid(start + 1, n - 1) + CString(m_chBlank));
      return Select(start, start);
    }
    if (s == g.end) return Beep();
    const int n = MaskRunLength(s, g.end);
    ReplaceRun(s, m_strModel.Mid(s + 1, n - 1) + CString(m_chBlank));
    return Select(s, s);
  }
  if (!HasMask()) return (void)Default();
  const int n = MaskRunLength(s, g.end);
  if (e - s > n) {
    Beep();
    return Select(s, s + n);
  }
  ReplaceRun(s, m_strModel.Mid(e, s + n - e) + CString(m_chBlank, e - s));
  Select(s, s);
}

void CPlxMaskEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  const bool printable = nChar >= 0x20 && nChar != 0x7F && nChar < 0x100;
  if (printable && !KeyHeld(VK_CONTROL)) return TypeChar(static_cast<char>(nChar));
  // Backspace and Delete did their work on key down.
  if (HasMask() && (nChar == VK_BACK || nChar == VK_DELETE)) return;
  CEdit::OnChar(nChar, nRepCnt, nFlags);
}

void CPlxMaskEdit::TypeChar(char ch) {
  const DWORD style = GetStyle();
  if (style & ES_UPPERCASE)
    ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  else if (style & ES_LOWERCASE)
    ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  int s = 0, e = 0;
  Group g;
  if (!SelectionInGroup(&s, &e, &g)) return;
  const int length = Length();
  if (s == e) {
    if (!HasMask()) {
      if (!CanPlaceCharAt(ch, s)) return Beep();
      return (void)Default();
    }
    if (s == g.end) {
      if (s >= length - 1) return Beep();
      Group next;
      if (!FindInputGroup(s + 1, true, &next) || next.start <= s) return Beep();
      s = e = next.start;
      g = next;
    }
    if (!CanPlaceCharAt(ch, s)) return Beep();
    ReplaceRun(s, CString(ch));
    int caret = s + 1;
    Group next;
    if (caret == g.end && caret < length - 1 && FindInputGroup(caret + 1, true, &next) && next.start > caret)
      caret = next.start;
    return Select(caret, caret);
  }
  if (!CanPlaceCharAt(ch, s)) return Beep();
  if (!HasMask()) return (void)Default();
  const int n = MaskRunLength(s, g.end);
  if (e - s > n) {
    Beep();
    return Select(s, s + n);
  }
  ReplaceRun(s, CString(ch) + m_strModel.Mid(e, s + n - e) + CString(m_chBlank, e - s - 1));
  Select(s + 1, s + 1);
}

void CPlxMaskEdit::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_bConfineToGroup) {
    int s = 0, e = 0;
    GetSel(s, e);
    Group g;
    if (FindInputGroup(s, true, &g) || FindInputGroup(s, false, &g)) {
      const int ns = std::max(std::min(s, g.end), g.start);
      const int ne = std::max(std::min(e, g.end), g.start);
      if (ns != s || ne != e) Select(ns, ne);
    }
  }
  CEdit::OnLButtonUp(nFlags, point);
}

void CPlxMaskEdit::OnEditSetFocus() {
  SelectFirstGroupOrAll();
}

void CPlxMaskEdit::OnEditUpdate() {
  if (m_bInUpdate || m_bInPaste) return;
  m_bInUpdate = TRUE;
  CString text;
  GetWindowText(text);
  if (text != m_strModel) {
    if (!AssignText(text, TRUE)) {
      SendMessage(EM_UNDO);
      SendMessage(EM_EMPTYUNDOBUFFER);
      Beep();
      GetWindowText(text);
    }
  }
  if (text != m_strModel) {
    SetWindowText(m_strModel);
    SelectFirstGroupOrAll();
  }
  m_bInUpdate = FALSE;
}

LRESULT CPlxMaskEdit::OnPasteMessage(WPARAM, LPARAM) {
  m_bInPaste = TRUE;
  int s0 = 0, e0 = 0;
  GetSel(s0, e0);
  Default();
  int s = 0, e = 0;
  GetSel(s, e);
  const int p = std::max(s, e);
  CString text;
  GetWindowText(text);
  const CString pasted = p > s0 ? text.Mid(s0, p - s0) : CString();
  CString base = m_strModel;
  int at = s0;
  if (m_bPasteInputCharsOnly) {
    base = GetInputChars(TRUE);
    if (HasMask())
      for (int i = 0; i < s0 && i < m_strLiteralTemplate.GetLength(); ++i)
        if (!IsInputPos(i)) --at;
  }
  const int k = HasMask() ? pasted.GetLength() : 0;
  const CString candidate =
      base.Left(at) + pasted + (at + k < base.GetLength() ? base.Mid(at + k) : CString());
  if (!AssignText(candidate, !m_bPasteInputCharsOnly)) Beep();
  SetWindowText(m_strModel);
  Group g;
  if (m_bConfineToGroup && FindInputGroup(s0, true, &g))
    Select(g.start, g.start);
  else
    Select(s0, s0);
  m_bInPaste = FALSE;
  return 0;
}
