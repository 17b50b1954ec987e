// The in-place frames of OLE servers, as the toolkit's frames derive from them. There is no
// in-place activation on this desktop (no container embeds our documents), so they are
// ordinary frames: nothing is ever in-place active, and an OLE document holds no active item.
#pragma once

#include "platform/mfc/Document.h"
#include "platform/mfc/FrameWnd.h"

class COleClientItem;

class COleIPFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(COleIPFrameWnd)
};

class COleDocIPFrameWnd : public COleIPFrameWnd {
  DECLARE_DYNCREATE(COleDocIPFrameWnd)
};

class COleDocument : public CDocument {
  DECLARE_DYNCREATE(COleDocument)

 public:
  // The item in-place active in the view: none, without in-place activation.
  virtual COleClientItem* GetInPlaceActiveItem(CWnd*) { return nullptr; }
};
