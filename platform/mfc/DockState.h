// CDockState: where a frame's control bars are (docked in which rows of which side, floating
// where, shown or hidden), as the frame reports it (CFrameWnd::GetDockState), restores it
// (SetDockState), and keeps it in the application's profile or an archive. One
// CControlBarInfo per bar and per dock bar; a dock bar's list names its bars in order, 0 ending
// a row. Values read back are checked: a damaged profile gives an empty state, never a crash.
#pragma once

#include "platform/base/Array.h"
#include "platform/base/Geometry.h"
#include "platform/base/Object.h"

class CControlBar;
class CArchive;

class CControlBarInfo {
 public:
  UINT m_nBarID = 0;
  BOOL m_bVisible = FALSE;
  BOOL m_bFloating = FALSE;
  BOOL m_bHorz = FALSE;
  BOOL m_bDockBar = FALSE;    // a dock bar (a side of the frame, or a floating frame's)
  CPoint m_pointPos{-1, -1};  // a floating frame's top left on the screen
  UINT m_nMRUWidth = 32767;
  BOOL m_bDocking = FALSE;  // the bar has a dock context
  UINT m_uMRUDockID = 0;
  CRect m_rectMRUDockPos;
  DWORD m_dwMRUFloatStyle = 0;
  CPoint m_ptMRUFloatPos{-1, -1};
  CDWordArray m_arrBarID;         // a dock bar's bars in order; 0 ends a row
  CControlBar* m_pBar = nullptr;  // filled in while the state is applied; not stored

  // The profile section "<profile>-Bar<index>"; FALSE (entry unchanged) when it is missing or
  // damaged.
  BOOL LoadState(LPCTSTR lpszProfileName, int nIndex);
  BOOL SaveState(LPCTSTR lpszProfileName, int nIndex) const;
  void Serialize(CArchive& ar);
};

class CDockState : public CObject {
  DECLARE_SERIAL(CDockState)

 public:
  CDockState() = default;
  ~CDockState() override;
  CDockState(const CDockState&) = delete;
  CDockState& operator=(const CDockState&) = delete;

  // Every entry read from "<profile>-Summary" (value "Bars") and the bar sections; an entry
  // that cannot be read ends the list there.
  void LoadState(LPCTSTR lpszProfileName);
  // FALSE when a value did not reach the profile.
  BOOL SaveState(LPCTSTR lpszProfileName);
  void Serialize(CArchive& ar) override;
  void Clear();
  DWORD GetVersion() const { return 1; }
  CControlBarInfo* GetAt(int i) const { return static_cast<CControlBarInfo*>(m_arrBarInfo[i]); }
  int GetCount() const { return static_cast<int>(m_arrBarInfo.GetSize()); }

  CPtrArray m_arrBarInfo;  // CControlBarInfo*, owned
};
