#include "platform/mfc/DockState.h"

#include <algorithm>

#include "platform/base/Archive.h"
#include "platform/base/Exceptions.h"
#include "platform/mfc/FrameWnd.h"
#include "platform/mfc/WinApp.h"

IMPLEMENT_SERIAL(CDockState, CObject, 1)

namespace {

// Bounds on what a stored state may claim, so a damaged profile or archive cannot make us
// allocate or loop without end.
constexpr int kMaxBars = 1024;
constexpr int kMaxBarsPerDockBar = 4096;

CString BarSection(LPCTSTR profile, int index) {
  CString s;
  s.Format("%s-Bar%d", profile, index);
  return s;
}

CString SummarySection(LPCTSTR profile) {
  CString s;
  s.Format("%s-Summary", profile);
  return s;
}

// A profile number that must be present: kMissing when it is not.
constexpr int kMissing = static_cast<int>(0x80000000u);
int Read(CWinApp* app, const CString& section, LPCTSTR entry) {
  return static_cast<int>(app->GetProfileInt(section, entry, kMissing));
}

void PointInto(CArchive& ar, CPoint& p) {
  if (ar.IsStoring())
    ar << static_cast<int>(p.x) << static_cast<int>(p.y);
  else {
    int x = 0, y = 0;
    ar >> x >> y;
    p = CPoint(x, y);
  }
}

}  // namespace

BOOL CControlBarInfo::LoadState(LPCTSTR lpszProfileName, int nIndex) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return FALSE;
  const CString section = BarSection(lpszProfileName, nIndex);
  const int id = Read(app, section, "BarID");
  const int bars = Read(app, section, "Bars");
  if (id == kMissing || id <= 0 || bars < 0 || bars > kMaxBarsPerDockBar) return FALSE;
  CDWordArray ids;
  for (int i = 0; i < bars; ++i) {
    CString entry;
    entry.Format("Bar#%d", i);
    const int bar = Read(app, section, entry);
    if (bar == kMissing || bar < 0) return FALSE;
    ids.Add(static_cast<DWORD>(bar));
  }
  m_nBarID = static_cast<UINT>(id);
  m_bVisible = app->GetProfileInt(section, "Visible", TRUE) != 0;
  m_bHorz = app->GetProfileInt(section, "Horz", TRUE) != 0;
  m_bFloating = app->GetProfileInt(section, "Floating", FALSE) != 0;
  m_bDockBar = app->GetProfileInt(section, "DockBar", FALSE) != 0;
  m_pointPos = CPoint(static_cast<int>(app->GetProfileInt(section, "XPos", -1)),
                      static_cast<int>(app->GetProfileInt(section, "YPos", -1)));
  m_nMRUWidth = app->GetProfileInt(section, "MRUWidth", 32767);
  m_bDocking = app->GetProfileInt(section, "Docking", FALSE) != 0;
  m_uMRUDockID = app->GetProfileInt(section, "MRUDockID", 0);
  m_rectMRUDockPos = CRect(static_cast<int>(app->GetProfileInt(section, "MRUDockLeftPos", 0)),
                           static_cast<int>(app->GetProfileInt(section, "MRUDockTopPos", 0)),
                           static_cast<int>(app->GetProfileInt(section, "MRUDockRightPos", 0)),
                           static_cast<int>(app->GetProfileInt(section, "MRUDockBottomPos", 0)));
  m_dwMRUFloatStyle = app->GetProfileInt(section, "MRUFloatStyle", 0);
  m_ptMRUFloatPos = CPoint(static_cast<int>(app->GetProfileInt(section, "MRUFloatXPos", -1)),
                           static_cast<int>(app->GetProfileInt(section, "MRUFloatYPos", -1)));
  m_arrBarID.RemoveAll();
  m_arrBarID.Append(ids);
  return TRUE;
}

BOOL CControlBarInfo::SaveState(LPCTSTR lpszProfileName, int nIndex) const {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return FALSE;
  const CString section = BarSection(lpszProfileName, nIndex);
  app->WriteProfileString(section, nullptr, nullptr);  // nothing of an earlier, longer list stays
  BOOL ok = app->WriteProfileInt(section, "BarID", static_cast<int>(m_nBarID));
  ok = app->WriteProfileInt(section, "Visible", m_bVisible) && ok;
  ok = app->WriteProfileInt(section, "Horz", m_bHorz) && ok;
  ok = app->WriteProfileInt(section, "Floating", m_bFloating) && ok;
  ok = app->WriteProfileInt(section, "DockBar", m_bDockBar) && ok;
  ok = app->WriteProfileInt(section, "XPos", m_pointPos.x) && ok;
  ok = app->WriteProfileInt(section, "YPos", m_pointPos.y) && ok;
  ok = app->WriteProfileInt(section, "MRUWidth", static_cast<int>(m_nMRUWidth)) && ok;
  ok = app->WriteProfileInt(section, "Docking", m_bDocking) && ok;
  ok = app->WriteProfileInt(section, "MRUDockID", static_cast<int>(m_uMRUDockID)) && ok;
  ok = app->WriteProfileInt(section, "MRUDockLeftPos", m_rectMRUDockPos.left) && ok;
  ok = app->WriteProfileInt(section, "MRUDockTopPos", m_rectMRUDockPos.top) && ok;
  ok = app->WriteProfileInt(section, "MRUDockRightPos", m_rectMRUDockPos.right) && ok;
  ok = app->WriteProfileInt(section, "MRUDockBottomPos", m_rectMRUDockPos.bottom) && ok;
  ok = app->WriteProfileInt(section, "MRUFloatStyle", static_cast<int>(m_dwMRUFloatStyle)) && ok;
  ok = app->WriteProfileInt(section, "MRUFloatXPos", m_ptMRUFloatPos.x) && ok;
  ok = app->WriteProfileInt(section, "MRUFloatYPos", m_ptMRUFloatPos.y) && ok;
  ok = app->WriteProfileInt(section, "Bars", static_cast<int>(m_arrBarID.GetSize())) && ok;
  for (INT_PTR i = 0; i < m_arrBarID.GetSize(); ++i) {
    CString entry;
    entry.Format("Bar#%d", static_cast<int>(i));
    ok = app->WriteProfileInt(section, entry, static_cast<int>(m_arrBarID[i])) && ok;
  }
  return ok;
}

void CControlBarInfo::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << m_nBarID << static_cast<int>(m_bVisible) << static_cast<int>(m_bFloating)
       << static_cast<int>(m_bHorz) << static_cast<int>(m_bDockBar);
    PointInto(ar, m_pointPos);
    ar << m_nMRUWidth << static_cast<int>(m_bDocking) << m_uMRUDockID;
    ar << static_cast<int>(m_rectMRUDockPos.left) << static_cast<int>(m_rectMRUDockPos.top)
       << static_cast<int>(m_rectMRUDockPos.right) << static_cast<int>(m_rectMRUDockPos.bottom);
    ar << m_dwMRUFloatStyle;
    PointInto(ar, m_ptMRUFloatPos);
    ar.WriteCount(static_cast<DWORD_PTR>(m_arrBarID.GetSize()));
    for (INT_PTR i = 0; i < m_arrBarID.GetSize(); ++i) ar << m_arrBarID[i];
    return;
  }
  int visible = 0, floating = 0, horz = 0, dockBar = 0, docking = 0, l = 0, t = 0, r = 0, b = 0;
  ar >> m_nBarID >> visible >> floating >> horz >> dockBar;
  PointInto(ar, m_pointPos);
  ar >> m_nMRUWidth >> docking >> m_uMRUDockID >> l >> t >> r >> b >> m_dwMRUFloatStyle;
  PointInto(ar, m_ptMRUFloatPos);
  const DWORD_PTR count = ar.ReadCount();
  if (count > static_cast<DWORD_PTR>(kMaxBarsPerDockBar))
    AfxThrowArchiveException(CArchiveException::badIndex);
  m_arrBarID.RemoveAll();
  for (DWORD_PTR i = 0; i < count; ++i) {
    DWORD id = 0;
    ar >> id;
    m_arrBarID.Add(id);
  }
  m_bVisible = visible, m_bFloating = floating, m_bHorz = horz, m_bDockBar = dockBar, m_bDocking = docking;
  m_rectMRUDockPos = CRect(l, t, r, b);
}

CDockState::~CDockState() {
  Clear();
}

void CDockState::Clear() {
  for (INT_PTR i = 0; i < m_arrBarInfo.GetSize(); ++i) delete static_cast<CControlBarInfo*>(m_arrBarInfo[i]);
  m_arrBarInfo.RemoveAll();
}

void CDockState::LoadState(LPCTSTR lpszProfileName) {
  Clear();
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return;
  const int count =
      std::min(static_cast<int>(app->GetProfileInt(SummarySection(lpszProfileName), "Bars", 0)), kMaxBars);
  for (int i = 0; i < count; ++i) {
    auto* info = new CControlBarInfo;
    if (!info->LoadState(lpszProfileName, i)) {
      delete info;
      break;
    }
    m_arrBarInfo.Add(info);
  }
}

BOOL CDockState::SaveState(LPCTSTR lpszProfileName) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return FALSE;
  const CString summary = SummarySection(lpszProfileName);
  // Sections of an earlier, longer state go first, so loading never reads a stale one.
  const int old = std::min(static_cast<int>(app->GetProfileInt(summary, "Bars", 0)), kMaxBars);
  for (int i = GetCount(); i < old; ++i)
    app->WriteProfileString(BarSection(lpszProfileName, i), nullptr, nullptr);
  BOOL ok = TRUE;
  for (int i = 0; i < GetCount(); ++i) ok = GetAt(i)->SaveState(lpszProfileName, i) && ok;
  return app->WriteProfileInt(summary, "Bars", GetCount()) && ok;
}

void CDockState::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar.WriteCount(static_cast<DWORD_PTR>(GetCount()));
    for (int i = 0; i < GetCount(); ++i) GetAt(i)->Serialize(ar);
    return;
  }
  // Read whole before the state changes.
  const DWORD_PTR count = ar.ReadCount();
  if (count > static_cast<DWORD_PTR>(kMaxBars)) AfxThrowArchiveException(CArchiveException::badIndex);
  CPtrArray read;
  try {
    for (DWORD_PTR i = 0; i < count; ++i) {
      auto* info = new CControlBarInfo;
      read.Add(info);
      info->Serialize(ar);
    }
  } catch (...) {
    for (INT_PTR i = 0; i < read.GetSize(); ++i) delete static_cast<CControlBarInfo*>(read[i]);
    throw;
  }
  Clear();
  m_arrBarInfo.Append(read);
}

// ---------------------------------------------------------------------------------------------
// The frame's side

void CControlBar::GetBarInfo(CControlBarInfo* pInfo) {
  pInfo->m_pBar = this;
  pInfo->m_nBarID = static_cast<UINT>(GetDlgCtrlID());
  pInfo->m_bVisible = IsVisible() || (GetStyle() & WS_VISIBLE) != 0;
  pInfo->m_bFloating = IsFloating();
  pInfo->m_bHorz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
  pInfo->m_bDockBar = dynamic_cast<CDockBar*>(this) != nullptr;
  pInfo->m_nMRUWidth = m_nMRUWidth;
  pInfo->m_bDocking = m_pDockContext != nullptr;
  if (m_pDockContext != nullptr) {
    pInfo->m_uMRUDockID = m_pDockContext->m_uMRUDockID;
    pInfo->m_ptMRUFloatPos = m_pDockContext->m_ptMRUFloatPos;
  }
  pInfo->m_arrBarID.RemoveAll();
  if (auto* dock = dynamic_cast<CDockBar*>(this)) {
    // A floating frame's dock bar is the floating part of the layout.
    pInfo->m_bFloating = dock->m_bFloating;
    for (CControlBar* bar : dock->m_arrBars)
      pInfo->m_arrBarID.Add(bar != nullptr ? static_cast<DWORD>(bar->GetDlgCtrlID()) : 0);
    if (dock->m_bFloating && dock->GetParent() != nullptr) {
      CRect r;
      dock->GetParent()->GetWindowRect(&r);
      pInfo->m_pointPos = r.TopLeft();
    }
  }
}

void CControlBar::SetBarInfo(CControlBarInfo* pInfo, CFrameWnd*) {
  m_nMRUWidth = pInfo->m_nMRUWidth;
  if (m_pDockContext != nullptr) {
    m_pDockContext->m_uMRUDockID = pInfo->m_uMRUDockID;
    m_pDockContext->m_ptMRUFloatPos = pInfo->m_ptMRUFloatPos;
  }
  if (!pInfo->m_bDockBar) ShowWindow(pInfo->m_bVisible ? SW_SHOWNA : SW_HIDE);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID) {
  if (nID == 0) return nullptr;
  for (int i = 0; i < 4; ++i) {
    if (m_pDockBars[i] == nullptr) continue;
    if (static_cast<UINT>(m_pDockBars[i]->GetDlgCtrlID()) == nID) return m_pDockBars[i];
    for (CControlBar* bar : m_pDockBars[i]->m_arrBars)
      if (bar != nullptr && static_cast<UINT>(bar->GetDlgCtrlID()) == nID) return bar;
  }
  for (CMiniDockFrameWnd* mini : m_listFloating)
    for (CControlBar* bar : mini->m_wndDockBar.m_arrBars)
      if (bar != nullptr && static_cast<UINT>(bar->GetDlgCtrlID()) == nID) return bar;
  // Bars the frame lays out without docking.
  return dynamic_cast<CControlBar*>(GetDescendantWindow(static_cast<int>(nID), TRUE));
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD dwStyle) {
  CMiniDockFrameWnd* mini = AfxNewFloatingFrame(this);
  mini->m_pDockSite = this;
  if (!mini->Create(this, dwStyle)) {
    delete mini;
    return nullptr;
  }
  m_listFloating.push_back(mini);
  return mini;
}

void CFrameWnd::GetDockState(CDockState& state) const {
  state.Clear();
  auto* self = const_cast<CFrameWnd*>(this);
  const auto add = [&](CControlBar* bar) {
    auto* info = new CControlBarInfo;
    bar->GetBarInfo(info);
    state.m_arrBarInfo.Add(info);
  };
  for (int i = 0; i < 4; ++i) {
    if (m_pDockBars[i] == nullptr) continue;
    add(m_pDockBars[i]);
    for (CControlBar* bar : m_pDockBars[i]->m_arrBars)
      if (bar != nullptr) add(bar);
  }
  for (CMiniDockFrameWnd* mini : self->m_listFloating) {
    add(&mini->m_wndDockBar);
    for (CControlBar* bar : mini->m_wndDockBar.m_arrBars)
      if (bar != nullptr) add(bar);
  }
}

void CFrameWnd::SetDockState(const CDockState& state) {
  // Bars first (sizes, visibility), then every dock bar's rows in their stored order.
  for (int i = 0; i < state.GetCount(); ++i) {
    CControlBarInfo* info = state.GetAt(i);
    if (info->m_bDockBar) continue;
    info->m_pBar = GetControlBar(info->m_nBarID);
    if (info->m_pBar != nullptr) info->m_pBar->SetBarInfo(info, this);
  }
  for (int i = 0; i < state.GetCount(); ++i) {
    CControlBarInfo* info = state.GetAt(i);
    if (!info->m_bDockBar) continue;
    if (info->m_bFloating || info->m_nBarID == AFX_IDW_DOCKBAR_FLOAT) {
      // A floating frame per stored one: its first bar floats at the stored place.
      for (INT_PTR k = 0; k < info->m_arrBarID.GetSize(); ++k) {
        CControlBar* bar = GetControlBar(info->m_arrBarID[k]);
        if (bar == nullptr) continue;
        FloatControlBar(bar, info->m_pointPos, info->m_bHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT);
        break;
      }
      continue;
    }
    CDockBar* dock = GetDockBar(info->m_nBarID);
    if (dock == nullptr) continue;
    // Every listed bar is docked here, then the rows are laid out again in the stored order;
    // bars the state does not name keep their rows after them.
    std::vector<CControlBar*> listed;
    for (INT_PTR k = 0; k < info->m_arrBarID.GetSize(); ++k) {
      CControlBar* bar = info->m_arrBarID[k] != 0 ? GetControlBar(info->m_arrBarID[k]) : nullptr;
      if (bar == nullptr || bar == dock) {
        if (!listed.empty() && listed.back() != nullptr) listed.push_back(nullptr);
        continue;
      }
      if (bar->m_pDockBar != dock) DockControlBar(bar, dock);
      if (bar->m_pDockBar == dock && std::find(listed.begin(), listed.end(), bar) == listed.end())
        listed.push_back(bar);
    }
    if (!listed.empty() && listed.back() != nullptr) listed.push_back(nullptr);
    std::vector<CControlBar*> rest;
    for (CControlBar* bar : dock->m_arrBars)
      if (bar == nullptr || std::find(listed.begin(), listed.end(), bar) == listed.end()) rest.push_back(bar);
    for (CControlBar* bar : rest)
      if (bar != nullptr || (!listed.empty() && listed.back() != nullptr)) listed.push_back(bar);
    dock->m_arrBars = listed;
  }
  RecalcLayout();
}
