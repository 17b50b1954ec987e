// A static text turned into a hyperlink: drawn in a link colour (another once visited, a third
// under the mouse), underlined, with its target in a tooltip and a hand cursor; it fits itself to
// its text and opens its target through the shell on a click. When the shell can't, it tries the
// command registered for ".htm" files, and when that fails too it beeps and says why. UI thread.
#pragma once

#include "platform/comctl/AfxControls.h"
#include "platform/mfc/Afx.h"

class CLinkStatic : public CStatic {
 public:
  CLinkStatic();
  ~CLinkStatic() override;

  void SetURL(CString strURL);
  CString GetURL() const { return m_strURL; }
  // hover -1: the system highlight colour.
  void SetColors(COLORREF crLinkColour, COLORREF crVisitedColour,
                 COLORREF crHoverColour = static_cast<COLORREF>(-1));
  COLORREF GetLinkColour() const { return m_crLinkColour; }
  COLORREF GetVisitedColour() const { return m_crVisitedColour; }
  COLORREF GetHoverColour() const { return m_crHoverColour; }
  void SetVisited(BOOL bVisited = TRUE);
  BOOL GetVisited() const { return m_bVisited; }
  void SetUnderline(BOOL bUnderline = TRUE);
  BOOL GetUnderline() const { return m_bUnderline; }
  void SetAutoSize(BOOL bAutoSize = TRUE);
  // The colour the text is drawn in now.
  COLORREF CurrentColour() const;

  BOOL PreTranslateMessage(MSG* pMsg) override;

  // Opens the target: the shell first, then the registered ".htm" command with the URL. The
  // result code (> 32 on success).
  static HINSTANCE GotoURL(LPCTSTR url, int nShowCmd);
  // The fallback's command: the registered command cut before its "%1" (quoted or not), a blank
  // and the URL; empty when it would pass 520 characters.
  static CString FallbackCommand(const CString& registered, LPCTSTR url);
  // The message for a failed open: "Unable to open hyperlink:\n\n" and the code's words.
  static CString ErrorText(int nError);

 protected:
  void PreSubclassWindow() override;
  afx_msg void OnClicked();
  afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()

 private:
  void PositionWindow();
  void SetDefaultCursor();
  void ApplyFont();
  void ReportError(int nError);

  COLORREF m_crLinkColour;
  COLORREF m_crVisitedColour;
  COLORREF m_crHoverColour;
  BOOL m_bOverControl = FALSE;
  BOOL m_bVisited = FALSE;
  BOOL m_bUnderline = TRUE;
  BOOL m_bAdjustToFit = TRUE;
  CString m_strURL;
  CFont m_font;
  HCURSOR m_hLinkCursor = nullptr;
  CToolTipCtrl m_toolTip;
};
