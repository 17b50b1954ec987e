// Drag and drop between windows of this process, in the class library's OLE shape. A source
// caches its data by clipboard format in a COleDataSource and calls DoDragDrop; the drag runs a
// message loop of its own with the mouse captured, driven by the real pointer and keyboard: each
// pointer move or modifier change asks the COleDropSource whether to go on, finds the registered
// COleDropTarget under the pointer (the window there or its nearest registered ancestor) and asks
// it for the effect, which the source turns into a cursor. Releasing the button drops on the
// target under the pointer; Escape, the other button or a lost capture cancel. The data never
// leaves the process: a target reads the source's blocks through a COleDataObject.
#pragma once

#include <map>

#include "platform/base/Geometry.h"
#include "platform/base/MemFile.h"
#include "platform/base/WinTypes.h"
#include "platform/com/HResult.h"

class CWnd;

using DROPEFFECT = DWORD;
#define DROPEFFECT_NONE 0
#define DROPEFFECT_COPY 1
#define DROPEFFECT_MOVE 2
#define DROPEFFECT_LINK 4
#define DROPEFFECT_SCROLL 0x80000000

#define DRAGDROP_S_DROP static_cast<SCODE>(0x00040100L)
#define DRAGDROP_S_CANCEL static_cast<SCODE>(0x00040101L)
#define DRAGDROP_S_USEDEFAULTCURSORS static_cast<SCODE>(0x00040102L)

// The Alt key in a drag's key state (beside the MK_ mouse and key bits).
#define MK_ALT 0x20

using CLIPFORMAT = WORD;

// A memory file whose block is global memory, so it can be handed over as an HGLOBAL.
class CSharedFile : public CMemFile {
  DECLARE_DYNAMIC(CSharedFile)

 public:
  explicit CSharedFile(UINT nAllocFlags = 0, UINT nGrowBytes = 4096);
  ~CSharedFile() override;

  // A global block holding the file's bytes (the caller owns it); the file is left empty.
  HGLOBAL Detach();
  // The file becomes a copy of the block's bytes; the block stays the caller's.
  void SetHandle(HGLOBAL hGlobal, BOOL bAllowGrow = TRUE);
};

// The data of one drag: global blocks by clipboard format, owned by the source.
class COleDataSource {
 public:
  COleDataSource();
  virtual ~COleDataSource();
  COleDataSource(const COleDataSource&) = delete;
  COleDataSource& operator=(const COleDataSource&) = delete;

  // Takes ownership of the block; a block cached before for the format is freed.
  void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal);
  void Empty();
  BOOL HasFormat(CLIPFORMAT cfFormat) const;
  HGLOBAL PeekGlobalData(CLIPFORMAT cfFormat) const;  // still the source's
  HGLOBAL Find(CLIPFORMAT cfFormat) const { return PeekGlobalData(cfFormat); }

  // Runs the drag (see above). The drag starts only once the pointer leaves lpRectStartDrag
  // (screen coordinates; by default the drag distance around the pointer) with the button held.
  // The effect the target took, DROPEFFECT_NONE when cancelled or dropped on no target.
  DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                        LPCRECT lpRectStartDrag = nullptr, class COleDropSource* pDropSource = nullptr);

 private:
  std::map<CLIPFORMAT, HGLOBAL> m_blocks;
};

// A target's view of the dragged data.
class COleDataObject {
 public:
  COleDataObject() = default;
  void Attach(const COleDataSource* pSource) { m_pSource = pSource; }
  void Release() { m_pSource = nullptr; }

  BOOL IsDataAvailable(CLIPFORMAT cfFormat) const;
  // A copy of the block (the caller frees it), null when the format is not offered.
  HGLOBAL GetGlobalData(CLIPFORMAT cfFormat) const;
  // A file over a copy of the block (the caller deletes it), null when not offered.
  CFile* GetFileData(CLIPFORMAT cfFormat) const;

 private:
  const COleDataSource* m_pSource = nullptr;
};

class COleDropSource {
 public:
  COleDropSource();
  virtual ~COleDropSource() = default;

  // Asked on every move and key change of the drag: S_OK goes on, DRAGDROP_S_DROP drops,
  // DRAGDROP_S_CANCEL ends without a drop. Escape and the other button cancel; releasing the
  // drag's button drops once the drag has begun.
  virtual SCODE QueryContinueDrag(BOOL bEscapePressed, DWORD dwKeyState);
  // The cursor for the effect a target answered; DRAGDROP_S_USEDEFAULTCURSORS lets the loop
  // show its own (an arrow, or the no-entry sign for DROPEFFECT_NONE).
  virtual SCODE GiveFeedback(DROPEFFECT dropEffect);
  // Waits, with the mouse captured by pWnd, until the pointer leaves the start rectangle (TRUE)
  // or the button is released or Escape pressed (FALSE).
  virtual BOOL OnBeginDrag(CWnd* pWnd);

  BOOL m_bDragStarted = FALSE;
  DWORD m_dwButtonCancel = 0;
  DWORD m_dwButtonDrop = 0;
  CRect m_rectStartDrag;
};

class COleDropTarget {
 public:
  COleDropTarget() = default;
  virtual ~COleDropTarget();
  COleDropTarget(const COleDropTarget&) = delete;
  COleDropTarget& operator=(const COleDropTarget&) = delete;

  // One target per window; FALSE for no window or one that already has a target.
  BOOL Register(CWnd* pWnd);
  void Revoke();
  HWND GetRegisteredWindow() const { return m_hWnd; }

  // Points are in the target window's client coordinates.
  virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
  virtual void OnDragLeave(CWnd* pWnd);
  // (DROPEFFECT)-1 leaves the drop to OnDrop.
  virtual DROPEFFECT OnDropEx(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropDefault,
                              DROPEFFECT dropList, CPoint point);
  virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
  // DROPEFFECT_SCROLL with an effect when the target scrolled instead; DROPEFFECT_NONE otherwise.
  virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

  // The registered target of hwnd or of its nearest ancestor that has one; null when none.
  static COleDropTarget* FromWindow(HWND hwnd);

 private:
  HWND m_hWnd = nullptr;
};

// The key state of the drag's loop: MK_ mouse buttons, MK_SHIFT, MK_CONTROL and MK_ALT as of
// the last input message retrieved.
DWORD AfxOleDragKeyState();
