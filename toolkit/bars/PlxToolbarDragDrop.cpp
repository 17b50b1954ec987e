#include "toolkit/bars/PlxToolbarDragDrop.h"

#include "platform/mfc/WinApp.h"
#include "platform/res/Resources.h"
#include "platform/user/Cursor.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/bars/PlxToolbarButton.h"

namespace {
// The toolkit's drag cursors; the program may leave them out, and the defaults show then.
constexpr UINT kCursorRemove = 16133, kCursorMove = 16146, kCursorCopy = 16004;
}  // namespace

CPlxToolbarDropSource::~CPlxToolbarDropSource() {
  for (HCURSOR cursor : {m_hcurRemove, m_hcurMove, m_hcurCopy})
    if (cursor) DestroyCursor(cursor);
}

SCODE CPlxToolbarDropSource::QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState) {
  if (m_bOutsideBars && m_hcurRemove) SetCursor(m_hcurRemove);
  m_bEscapePressed = bEscapePressed;
  return COleDropSource::QueryContinueDrag(bEscapePressed, dwKeyState);
}

SCODE CPlxToolbarDropSource::GiveFeedback(DROPEFFECT dropEffect) {
  HCURSOR cursor = dropEffect == DROPEFFECT_COPY   ? m_hcurCopy
                   : dropEffect == DROPEFFECT_MOVE ? m_hcurMove
                                                   : m_hcurRemove;
  if (!cursor) return COleDropSource::GiveFeedback(dropEffect);
  SetCursor(cursor);
  return S_OK;
}

BOOL CPlxToolbarDropSource::OnBeginDrag(CWnd* pWnd) {
  if (!m_hcurRemove) {
    const HINSTANCE module = AfxGetResourceHandle();
    m_hcurRemove = LoadCursor(module, MAKEINTRESOURCE(kCursorRemove));
    m_hcurMove = LoadCursor(module, MAKEINTRESOURCE(kCursorMove));
    m_hcurCopy = LoadCursor(module, MAKEINTRESOURCE(kCursorCopy));
  }
  m_bDragStarted = TRUE;
  return COleDropSource::OnBeginDrag(pWnd);
}

BOOL CPlxToolbarDropTarget::Register(CPlxToolBar* pOwner) {
  m_pOwner = pOwner;
  return COleDropTarget::Register(pOwner);
}

BOOL CPlxToolbarDropTarget::Accepts(COleDataObject* pDataObject) {
  return CPlxToolBar::m_bCustomizeMode && pDataObject &&
         pDataObject->IsDataAvailable(CPlxToolbarButton::GetClipboardFormat());
}

DROPEFFECT CPlxToolbarDropTarget::OnDragEnter(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState,
                                              CPoint point) {
  if (!m_pOwner || !Accepts(pDataObject)) return DROPEFFECT_NONE;
  return static_cast<DROPEFFECT>(m_pOwner->OnDragEnter(pDataObject, dwKeyState, point));
}

DROPEFFECT CPlxToolbarDropTarget::OnDragOver(CWnd*, COleDataObject* pDataObject, DWORD dwKeyState,
                                             CPoint point) {
  if (!m_pOwner || !Accepts(pDataObject)) return DROPEFFECT_NONE;
  return static_cast<DROPEFFECT>(m_pOwner->OnDragOver(pDataObject, dwKeyState, point));
}

void CPlxToolbarDropTarget::OnDragLeave(CWnd*) {
  if (m_pOwner) m_pOwner->OnDragLeave();
}

DROPEFFECT CPlxToolbarDropTarget::OnDropEx(CWnd*, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                                           DROPEFFECT, CPoint point) {
  if (!m_pOwner || !Accepts(pDataObject)) return DROPEFFECT_NONE;
  return m_pOwner->OnDrop(pDataObject, static_cast<int>(dropDefault), point) ? dropDefault : DROPEFFECT_NONE;
}
