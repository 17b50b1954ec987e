// CPlxURLLinkButton: a toolkit push button that opens its link when clicked, through the
// desktop's opener. The link is m_strURL, or the button's caption when that is empty, with
// m_strPrefix put in front ("mailto:", "https://" ...).
#pragma once

#include "toolkit/core/PlxButton.h"

class CPlxURLLinkButton : public CPlxButton {
  DECLARE_DYNAMIC(CPlxURLLinkButton)

 public:
  CPlxURLLinkButton();

  void SetURL(LPCTSTR lpszURL) { m_strURL = lpszURL != nullptr ? lpszURL : ""; }
  void SetURLPrefix(LPCTSTR lpszPrefix) { m_strPrefix = lpszPrefix != nullptr ? lpszPrefix : ""; }
  // The address a click opens: the prefix and the link (or the caption).
  CString GetTarget() const;

  BOOL m_bPassClickToParent = FALSE;  // TRUE: open nothing, the parent gets the click
  CString m_strURL;                   // empty: the caption is the link
  CString m_strPrefix;

 protected:
  // The button's own click, reflected: TRUE keeps it from the parent.
  afx_msg BOOL OnClicked();
  DECLARE_MESSAGE_MAP()
};
