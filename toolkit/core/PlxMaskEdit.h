// CPlxMaskEdit: the property list's in-place edit for values with an input template, a mask or a
// set of valid characters. It keeps a model of the whole text (literals at literal positions, a
// typed character or the blank at input positions), lets the user type only into input positions,
// shifts characters inside a run of like positions on deletion, and re-validates text that arrives
// by other roads (paste, cut, undo, the owner's SetWindowText). Refusals beep and change nothing.
// UI thread only.
#pragma once

#include "platform/base/CString.h"
#include "platform/mfc/Afx.h"

class CPlxMaskEdit : public CEdit {
  DECLARE_DYNAMIC(CPlxMaskEdit)

 public:
  CPlxMaskEdit() = default;
  ~CPlxMaskEdit() override = default;

  // An input group [start, end): a maximal run of input positions.
  struct Group {
    int start = 0, end = 0;
    bool operator==(const Group&) const = default;
  };

  // Mask, template ('_' marks an input position, any other character is a literal) and the
  // character an empty input position shows. The model becomes the template.
  void EnableMask(LPCTSTR lpszMask, LPCTSTR lpszTemplate, char chBlank, LPCTSTR lpszValidChars = nullptr);
  // The characters accepted at all; null or empty: every character.
  void SetValidChars(LPCTSTR lpszValidChars);
  // Validates a text and makes it the model; with bIncludesLiterals the text carries the
  // template's literals too. The window is not touched; a refused text leaves the model.
  BOOL AssignText(LPCTSTR lpszText, BOOL bIncludesLiterals);
  CString GetFullText() const { return m_strModel; }
  // The characters at input positions, blanks left out unless bWithBlanks.
  CString GetInputChars(BOOL bWithBlanks) const;
  BOOL IsAllowedChar(char ch) const;
  BOOL CanPlaceCharAt(char ch, int nPos) const;
  virtual BOOL MatchesMaskChar(char ch, char chMask) const;
  // The group containing or just ended by nPos, else the next one (forward), or the group
  // containing nPos, else the nearest one ending at or before it (backward).
  bool FindInputGroup(int nPos, bool bForward, Group* pGroup) const;
  BOOL HasMask() const { return !m_strLiteralTemplate.IsEmpty(); }

  // Set before the window exists when wanted; nothing in the program changes them.
  BOOL m_bPasteInputCharsOnly = FALSE;
  BOOL m_bConfineToGroup = TRUE;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg LRESULT OnPasteMessage(WPARAM, LPARAM);
  afx_msg void OnEditUpdate();
  afx_msg void OnEditSetFocus();
  DECLARE_MESSAGE_MAP()

 private:
  bool IsInputPos(int nPos) const;
  int Length() const { return m_strModel.GetLength(); }
  // The run of like mask characters starting at nPos, bounded by nEnd.
  int MaskRunLength(int nPos, int nEnd) const;
  bool FirstGroup(Group* pGroup) const { return FindInputGroup(0, true, pGroup); }
  bool LastGroup(Group* pGroup) const { return FindInputGroup(Length(), false, pGroup); }
  void Select(int nStart, int nEnd);
  void Beep() const;
  // Replaces [nStart, nStart + text length) in the window (undoable) and the model.
  void ReplaceRun(int nStart, const CString& strText);
  // The selection and the group it starts in; false, after a beep, when it leaves that group
  // (which then becomes the selection) or there is none.
  bool SelectionInGroup(int* pStart, int* pEnd, Group* pGroup);
  void TypeChar(char ch);
  void DeleteChars(bool bBackspace);
  void SelectFirstGroupOrAll();

  CString m_strModel;
  CString m_strMaskChars;
  CString m_strLiteralTemplate;
  char m_chBlank = ' ';
  CString m_strAllowedChars;
  BOOL m_bInUpdate = FALSE;
  BOOL m_bInPaste = FALSE;
};
