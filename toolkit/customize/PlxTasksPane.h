// The tasks pane's groups and tasks as the visual managers read them when they draw a group's
// caption and its tasks; the pane's layout and input come with the tasks pane itself.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Geometry.h"
#include "platform/base/WinTypes.h"

class CPlxTasksPane {
 public:
  int m_nGroupCaptionHorzOffset = -1;  // -1: the visual manager's
  int m_nGroupCaptionVertOffset = -1;
  int m_nTasksIconHorzOffset = -1;
  BOOL m_bWrapTasks = FALSE;   // command tasks break their text over lines
  BOOL m_bWrapLabels = FALSE;  // label tasks do
};

struct CPlxTasksGroup {
  CPlxTasksPane* m_pPage = nullptr;
  CString m_strName;
  HICON m_hIcon = nullptr;
  CSize m_sizeIcon = CSize(0, 0);
  CRect m_rect;  // the caption
  BOOL m_bIsSpecial = FALSE;
  BOOL m_bIsCollapsed = FALSE;
  COLORREF m_clrText = (COLORREF)-1;
  COLORREF m_clrTextHot = (COLORREF)-1;
};

struct CPlxTask {
  CPlxTasksGroup* m_pGroup = nullptr;
  CString m_strName;
  CRect m_rect;
  int m_nIcon = -1;
  UINT m_uiCommandID = 0;  // 0: a label
  BOOL m_bIsSeparator = FALSE;
  BOOL m_bEnabled = TRUE;
  BOOL m_bIsLink = TRUE;
  COLORREF m_clrText = (COLORREF)-1;
  COLORREF m_clrTextHot = (COLORREF)-1;
};
