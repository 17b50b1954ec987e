// Editing the canvas's objects: hit tests, moving and resizing with the handles, the in-place text
// edit, keys, copy and paste, stacking order and the object menu.
#include <algorithm>
#include <utility>

#include "editing/PhotoEditCanvas.h"
#include "editing/PhotoEditCanvasMath.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "platform/mfc/Dc.h"
#include "platform/user/Cursor.h"
#include "shell/LanguageFile.h"

namespace canvas = pictavo::canvas;

namespace {

constexpr COLORREF kEditFrameColour = RGB(0xFF, 0xFF, 0x00);
constexpr int kPasteOffset = 20;

// The edit's own text or, for a text never edited, the caption.
bool IsCaption(const CString& text) {
  return text == LoadLangString(IDS_DOUBLE_CLICK_TO_EDIT);
}

COLORREF EditColour(const _DVDImageTextFont& font) {
  switch (font.effect.brush.nBrushType) {
    case 0:
      return font.effect.brush.clrSolid;
    case 1:
      return font.effect.brush.clrGradient1;
    default:
      return font.clrText;
  }
}

}  // namespace

BEGIN_MESSAGE_MAP(CPhotoEditCanvas, CStatic)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_DESTROY()
ON_WM_NCHITTEST()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_LBUTTONDBLCLK()
ON_WM_RBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_KEYUP()
ON_WM_GETDLGCODE()
ON_WM_CONTEXTMENU()
ON_WM_INITMENUPOPUP()
ON_WM_SETCURSOR()
ON_MESSAGE(WM_PHOTO_INTENSITY_CHANGED, OnPhotoIntensityChanged)
ON_MESSAGE(WM_PHOTO_ROTATED, OnPhotoRotated)
ON_MESSAGE(WM_TEXT_FONT_CHANGED, OnTextFontChanged)
ON_COMMAND(ID_SPRITE_COPY, OnCopy)
ON_COMMAND(ID_SPRITE_PASTE, OnPaste)
ON_COMMAND(ID_SPRITE_DELETE, OnDelete)
ON_COMMAND(ID_SPRITE_BRING_FORWARD, OnBringForward)
ON_COMMAND(ID_SPRITE_SEND_BACKWARD, OnSendBackward)
ON_COMMAND(ID_SPRITE_BRING_TO_FRONT, OnBringToFront)
ON_COMMAND(ID_SPRITE_SEND_TO_BACK, OnSendToBack)
ON_COMMAND(ID_SPRITE_APPLY_TO_ALL, OnApplyToAll)
ON_COMMAND(ID_CANVAS_ASPECT_4X3, OnAspect4x3)
ON_COMMAND(ID_CANVAS_ASPECT_16X9, OnAspect16x9)
ON_COMMAND(ID_CANVAS_ASPECT_NONE, OnAspectNone)
ON_COMMAND(ID_CANVAS_SCALE_FIT, OnScaleFit)
ON_COMMAND(ID_CANVAS_SCALE_FILL, OnScaleFill)
END_MESSAGE_MAP()

// A static is transparent to the mouse unless it notifies; the canvas takes its clicks itself.
LRESULT CPhotoEditCanvas::OnNcHitTest(CPoint) {
  return HTCLIENT;
}

UINT CPhotoEditCanvas::OnGetDlgCode() {
  return DLGC_WANTALLKEYS;
}

BOOL CPhotoEditCanvas::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
  return CStatic::OnSetCursor(pWnd, nHitTest, message);
}

// --- hit tests

CDVDImageSprite* CPhotoEditCanvas::HitTestClick(CPoint point, int* pHit) const {
  const POINT origin{m_nFrameX, m_nFrameY};
  auto top = [&](const CDVDImageSpriteArray& sprites, int* hit) -> CDVDImageSprite* {
    for (int i = static_cast<int>(sprites.GetSize()) - 1; i >= 0; --i) {
      if (sprites[i] == nullptr) continue;
      if (const int code = sprites[i]->HitTest(origin, point, TRUE); code != 0) {
        *hit = code;
        return sprites[i];
      }
    }
    return nullptr;
  };
  int ownHit = 0;
  int albumHit = 0;
  CDVDImageSprite* own = m_pImage != nullptr ? top(m_pImage->m_arrSprites, &ownHit) : nullptr;
  CDVDImageSprite* shared = m_pAlbum != nullptr ? top(m_pAlbum->m_arrSprites, &albumHit) : nullptr;
  // An album-wide object under the click wins over the slide's own.
  if (shared != nullptr) {
    *pHit = albumHit;
    return shared;
  }
  *pHit = ownHit;
  return own;
}

CDVDImageSprite* CPhotoEditCanvas::HitTestDoubleClick(CPoint point) const {
  const POINT relative{point.x - m_nFrameX, point.y - m_nFrameY};
  auto top = [&](const CDVDImageSpriteArray& sprites) -> CDVDImageSprite* {
    for (int i = static_cast<int>(sprites.GetSize()) - 1; i >= 0; --i)
      if (sprites[i] != nullptr && sprites[i]->HiTest(relative)) return sprites[i];
    return nullptr;
  };
  CDVDImageSprite* own = m_pImage != nullptr ? top(m_pImage->m_arrSprites) : nullptr;
  CDVDImageSprite* shared = m_pAlbum != nullptr ? top(m_pAlbum->m_arrSprites) : nullptr;
  return shared != nullptr ? shared : own;
}

int CPhotoEditCanvas::HoverHitTest(CPoint point) const {
  const POINT origin{m_nFrameX, m_nFrameY};
  for (const CDVDImageSpriteArray* sprites : {m_pImage != nullptr ? &m_pImage->m_arrSprites : nullptr,
                                              m_pAlbum != nullptr ? &m_pAlbum->m_arrSprites : nullptr}) {
    if (sprites == nullptr) continue;
    for (int i = static_cast<int>(sprites->GetSize()) - 1; i >= 0; --i) {
      CDVDImageSprite* sprite = (*sprites)[i];
      if (sprite == nullptr) continue;
      if (const int code = sprite->HitTest(origin, point, sprite == m_pSelected); code != 0) return code;
    }
  }
  return 0;
}

void CPhotoEditCanvas::CopyStyleToDialog(const CDVDImageText* pText, BOOL bPost) {
  if (pText == nullptr) return;
  if (m_pTextFont != nullptr) *m_pTextFont = pText->GetDVDImageTextFont();
  if (bPost) PostTextFontChanged();
}

void CPhotoEditCanvas::PostTextFontChanged() {
  if (m_pTextPage != nullptr && m_pTextFont != nullptr && ::IsWindow(m_pTextPage->GetSafeHwnd()))
    m_pTextPage->PostMessage(WM_TEXT_FONT_CHANGED, reinterpret_cast<WPARAM>(m_pTextFont), 0);
}

void CPhotoEditCanvas::PostSpriteSelected() {
  CWnd* parent = GetParent();
  if (parent != nullptr) parent->PostMessage(WM_SPRITE_SELECTED, 0, 0);
}

// --- mouse

void CPhotoEditCanvas::OnLButtonDown(UINT nFlags, CPoint point) {
  m_nHitCode = 0;
  SetFocus();
  if (IsEditingText()) return;
  if (m_pImage == nullptr || m_pAlbum == nullptr) {
    CStatic::OnLButtonDown(nFlags, point);
    return;
  }
  m_bDragging = FALSE;
  int hit = 0;
  if (CDVDImageSprite* sprite = HitTestClick(point, &hit)) {
    m_nHitCode = hit;
    const CSize size = sprite->Get_szSize();
    if (size.cx != 0 && size.cy != 0) {
      m_fWidthHeight = static_cast<float>(size.cx) / static_cast<float>(size.cy);
      m_fHeightWidth = static_cast<float>(size.cy) / static_cast<float>(size.cx);
    } else {
      m_fWidthHeight = m_fHeightWidth = 1.0f;
    }
    m_bDragging = TRUE;
    SelectSprite(sprite);
    m_nDownX = point.x - m_nFrameX;
    m_nDownY = point.y - m_nFrameY;
    // The grab offset is in pixels, like the mouse: the object's corner on screen, not its stored
    // reference position (the two differ whenever the frame is not 768 wide).
    const CRect box = sprite->GetBoundRect(POINT{m_nFrameX, m_nFrameY});
    m_nGrabX = point.x - box.left;
    m_nGrabY = point.y - box.top;
    if (sprite->GetSpriteType() == DVD_SPRITE_TEXT)
      CopyStyleToDialog(static_cast<CDVDImageText*>(sprite), TRUE);
    PostSpriteSelected();
    SetCapture();
    Invalidate();
  } else if (m_pSelected != nullptr) {
    m_pSelected = nullptr;
    Invalidate();
  }
  CStatic::OnLButtonDown(nFlags, point);
}

void CPhotoEditCanvas::OnMouseMove(UINT nFlags, CPoint point) {
  if (IsEditingText()) return;
  if (m_bDragging && m_pSelected != nullptr && m_nHitCode != 0) {
    ::SetCursor(CDVDImageSprite::GetHandleCursor(m_nHitCode));
    if (m_nHitCode == -1) {
      const CPoint position = ClientToReference(CPoint(point.x - m_nGrabX, point.y - m_nGrabY));
      if (!(position == m_pSelected->Get_ptPosition())) {
        m_pSelected->Set_ptPosition(position);
        MarkEdited(m_pSelected);
      }
    } else if (m_pSelected->GetSpriteType() == DVD_SPRITE_TEXT) {
      ResizeText(static_cast<CDVDImageText*>(m_pSelected), m_nHitCode, point);
    } else if (m_pSelected->GetSpriteType() == DVD_SPRITE_PROPS) {
      ResizeClipArt(m_pSelected, m_nHitCode, point);
    }
    Invalidate();
    return;
  }
  if (!m_bDragging) {
    if (const int hit = HoverHitTest(point); hit != 0) {
      ::SetCursor(CDVDImageSprite::GetHandleCursor(hit));
      return;
    }
  }
  CStatic::OnMouseMove(nFlags, point);
}

void CPhotoEditCanvas::OnLButtonUp(UINT nFlags, CPoint point) {
  SetFocus();
  if (IsEditingText()) {
    if (!CRect(m_pEdit->GetFrameRect()).PtInRect(point)) CommitTextEdit();
  } else if (m_bDragging) {
    ReleaseCapture();
    m_bDragging = FALSE;
    Invalidate();
  }
  m_nHitCode = 0;
  CStatic::OnLButtonUp(nFlags, point);
}

void CPhotoEditCanvas::OnRButtonDown(UINT nFlags, CPoint point) {
  m_nHitCode = 0;
  if (IsEditingText()) return;
  if (m_pImage == nullptr || m_pAlbum == nullptr) {
    CStatic::OnRButtonDown(nFlags, point);
    return;
  }
  int hit = 0;
  CDVDImageSprite* sprite = HitTestClick(point, &hit);
  SelectSprite(sprite);
  if (sprite != nullptr && sprite->GetSpriteType() == DVD_SPRITE_TEXT)
    CopyStyleToDialog(static_cast<CDVDImageText*>(sprite), TRUE);
  Invalidate();
  CStatic::OnRButtonDown(nFlags, point);
}

void CPhotoEditCanvas::OnLButtonDblClk(UINT nFlags, CPoint point) {
  SetFocus();
  if (m_pImage == nullptr || m_pAlbum == nullptr) {
    CStatic::OnLButtonDblClk(nFlags, point);
    return;
  }
  const CSize a = TextExtentA();
  m_pSelected = nullptr;
  CDVDImageSprite* sprite = HitTestDoubleClick(point);
  if (sprite != nullptr && sprite->GetSpriteType() == DVD_SPRITE_TEXT) {
    auto* text = static_cast<CDVDImageText*>(sprite);
    SelectSprite(text);
    const CRect box = text->GetBoundRect(POINT{m_nFrameX, m_nFrameY});
    CRect rect(box.left, box.top, box.left + a.cx, box.top + a.cy);
    if (IsCaption(text->Get_strText())) {
      text->Set_strText("");
    } else {
      CClientDC dc(this);
      CFont* old = dc.SelectObject(&m_font);
      const CSize extent = dc.GetTextExtent(text->Get_strText());
      dc.SelectObject(old);
      rect.right = rect.left + extent.cx;
      rect.bottom = rect.top + extent.cy;
    }
    CopyStyleToDialog(text, FALSE);
    if (m_pTextFont != nullptr) ApplyTextFont(m_pTextFont);
    BeginTextEdit(rect);
    if (m_pEdit != nullptr) {
      m_pEdit->SetWindowText(text->Get_strText());
      m_pEdit->SetSel(text->Get_strText().GetLength(), text->Get_strText().GetLength());
      m_pEdit->FitToText();
    }
    PostTextFontChanged();
  } else {
    BeginTextEdit(CRect(point.x, point.y, point.x + a.cx, point.y + a.cy));
  }
  Invalidate();
  CStatic::OnLButtonDblClk(nFlags, point);
}

// --- resizing

void CPhotoEditCanvas::ResizeText(CDVDImageText* pText, int nHit, CPoint point) {
  if (pText == nullptr) return;
  const POINT origin{m_nFrameX, m_nFrameY};
  const CRect box = pText->GetBoundRect(origin);
  const int size = canvas::TextResizeStep(box, pText->GetFontSize(), nHit, point);
  if (size == pText->GetFontSize()) return;
  _DVDImageTextFont style = pText->GetDVDImageTextFont();
  style.nFontSize = size;
  style.effect.nFontSize = size;
  pText->SetDVDImageTextFont(&style);
  pText->SetTextSize();
  if (nHit != 5) {
    const CRect grown = pText->GetBoundRect(origin);
    const POINT corner = canvas::TextResizeAnchor(box, grown.Size(), nHit);
    pText->Set_ptPosition(ClientToReference(CPoint(corner)));
  }
  MarkEdited(pText);
  CopyStyleToDialog(pText, TRUE);
}

void CPhotoEditCanvas::ResizeClipArt(CDVDImageSprite* pSprite, int nHit, CPoint point) {
  if (pSprite == nullptr) return;
  const POINT origin{m_nFrameX, m_nFrameY};
  const CRect box = pSprite->GetBoundRect(origin);
  const CRect rect =
      canvas::ClipArtResizeRect(box, GetFrameRect(), nHit, point, m_fWidthHeight, m_fHeightWidth);
  if (rect == box) return;
  pSprite->Set_szSize(CSize(SizeToReference(rect.Width()), SizeToReference(rect.Height())));
  pSprite->Set_ptPosition(ClientToReference(rect.TopLeft()));
  MarkEdited(pSprite);
}

// --- keys

void CPhotoEditCanvas::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
  OnKey(nChar);
  CStatic::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CPhotoEditCanvas::OnKey(UINT nChar) {
  switch (nChar) {
    case VK_DELETE:
      if (IsEditingText() || m_pSelected == nullptr) return;
      if (DeleteSprite(m_pSelected)) MarkEdited(nullptr);
      m_pSelected = nullptr;
      Invalidate();
      break;
    case VK_ESCAPE:
      if (!IsEditingText()) return;
      m_pEdit->SetWindowText("");
      CommitTextEdit();
      break;
    case VK_RETURN:
      CommitTextEdit();
      break;
    default:
      break;
  }
}

// --- the in-place edit

BOOL CPhotoEditCanvas::IsEditingText() const {
  return m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr && m_pEdit->IsWindowVisible();
}

CSize CPhotoEditCanvas::TextExtentA() {
  CClientDC dc(this);
  CFont* old = dc.SelectObject(&m_font);
  const CSize a = dc.GetTextExtent("A");
  dc.SelectObject(old);
  return a;
}

BOOL CPhotoEditCanvas::BeginTextEdit(const RECT& rect) {
  const CRect r(rect);
  if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) {
    m_pEdit->MoveWindow(r.left - 4, r.top, 1024, r.Height());
    m_pEdit->SetFrameRect(r);
    if (m_pEdit->IsWindowVisible()) m_pEdit->SetFocus();
    if (m_pTextFont != nullptr) ApplyTextFont(m_pTextFont);
    return FALSE;
  }
  // The edit is transparent: the canvas must paint under it, or it would show what lay there
  // when it opened (a dialog template may give the canvas WS_CLIPCHILDREN).
  ModifyStyle(WS_CLIPCHILDREN, 0);
  if (m_pEdit == nullptr) m_pEdit = new CAutoSizeEdit(&m_font);
  if (!m_pEdit->Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOHSCROLL,
                       CRect(r.left - 4, r.top, r.left + 1020, r.bottom), this, IDC_AUTO_SIZE_EDIT)) {
    delete m_pEdit;
    m_pEdit = nullptr;
    return FALSE;
  }
  m_pEdit->SetFocus();
  m_pEdit->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
  m_pEdit->SetFrameRect(r);
  if (m_pTextFont != nullptr) ApplyTextFont(m_pTextFont);
  return TRUE;
}

BOOL CPhotoEditCanvas::EndTextEdit() {
  if (m_pEdit == nullptr) return FALSE;
  CAutoSizeEdit* edit = std::exchange(m_pEdit, nullptr);
  if (edit->GetSafeHwnd() != nullptr) edit->DestroyWindow();
  delete edit;
  return TRUE;
}

BOOL CPhotoEditCanvas::CommitTextEdit() {
  if (!IsEditingText()) return TRUE;
  CString text;
  m_pEdit->GetWindowText(text);
  const CRect frame(m_pEdit->GetFrameRect());
  EndTextEdit();
  if (m_pImage != nullptr && m_pAlbum != nullptr) {
    auto place = [&](CDVDImageText* object) {
      if (m_pTextFont != nullptr) object->SetDVDImageTextFont(m_pTextFont);
      if (const float factor = Factor(); factor > 0) object->Set_fFactor(factor);
      object->Set_ptPosition(ClientToReference(frame.TopLeft()));
      object->Set_strText(text);
      UpdateConvertedText(object);
      object->SetTextSize();
    };
    if (m_pSelected != nullptr) {
      if (m_pSelected->GetSpriteType() == DVD_SPRITE_TEXT) {
        if (!text.IsEmpty()) {
          place(static_cast<CDVDImageText*>(m_pSelected));
          MarkEdited(m_pSelected);
        } else {
          // An emptied text goes, and with it any copy-buffer reference to it.
          if (DeleteSprite(m_pSelected)) MarkEdited(nullptr);
          m_pSelected = nullptr;
        }
      }
    } else if (!text.IsEmpty()) {
      auto* object = new CDVDImageText(m_pImage);
      place(object);
      m_pImage->AddImageSprite(object, 0);
      MarkEdited(object);
      SelectSprite(object);
      PostSpriteSelected();
    }
  }
  if (GetSafeHwnd() != nullptr) Invalidate();
  return TRUE;
}

void CPhotoEditCanvas::ApplyTextFont(const _DVDImageTextFont* pFont) {
  if (pFont == nullptr) return;
  const float factor = m_pScaleFactor != nullptr && *m_pScaleFactor > 0 ? *m_pScaleFactor : 1.0f;
  LOGFONT lf{};
  CDVDImageText::FillLogFont(pFont, &lf, factor);
  m_font.DeleteObject();
  m_font.CreatePointFontIndirect(&lf);
  if (m_pEdit != nullptr && m_pEdit->GetSafeHwnd() != nullptr) {
    m_pEdit->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
    m_pEdit->SetTextColor(EditColour(*pFont));
    m_pEdit->InvalidateFrame();
    m_pEdit->FitToText();
  }
  if (GetSafeHwnd() != nullptr)
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
}

// --- the object menu

void CPhotoEditCanvas::OnContextMenu(CWnd*, CPoint point) {
  if (m_menu.GetSafeHmenu() == nullptr) {
    if (!m_menu.LoadMenu(IDR_SPRITE_EDIT_MENU)) return;
    TranslateMenu(m_menu.GetSafeHmenu());
  }
  CMenu* popup = m_menu.GetSubMenu(0);
  if (popup == nullptr) return;
  if (point.x == -1 && point.y == -1) ::GetCursorPos(&point);
  popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
}

void CPhotoEditCanvas::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu) {
  CStatic::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
  if (pPopupMenu == nullptr || bSysMenu) return;
  auto enable = [pPopupMenu](UINT id, bool on) {
    pPopupMenu->EnableMenuItem(id, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
  };
  auto check = [pPopupMenu](UINT id, bool on) {
    pPopupMenu->CheckMenuItem(id, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
  };
  const int aspect = GetProject()->GetOptionsData()->nAspectCorrection;
  const int scale = GetProject()->Get_nPhotoScaleMode();
  const UINT count = pPopupMenu->GetMenuItemCount();
  for (UINT i = 0; i < count; ++i) {
    const UINT id = pPopupMenu->GetMenuItemID(static_cast<int>(i));
    if (id == 0 || id == static_cast<UINT>(-1)) continue;
    if (id == ID_SPRITE_PASTE) {
      enable(id, m_pCopyBuffer != nullptr);
      continue;
    }
    if (m_pSelected == nullptr) {
      switch (id) {
        case ID_CANVAS_ASPECT_4X3:
          check(id, aspect == 1);
          break;
        case ID_CANVAS_ASPECT_16X9:
          check(id, aspect == 2);
          break;
        case ID_CANVAS_ASPECT_NONE:
          check(id, aspect == 0);
          break;
        case ID_CANVAS_SCALE_FIT:
          check(id, scale == 0);
          break;
        case ID_CANVAS_SCALE_FILL:
          check(id, scale == 1);
          break;
        default:
          enable(id, false);
          break;
      }
      continue;
    }
    auto inEither = [this](BOOL (CDVDImageSpriteArray::*test)(const CDVDImageSprite*) const) {
      return (m_pImage != nullptr && (m_pImage->m_arrSprites.*test)(m_pSelected)) ||
             (m_pAlbum != nullptr && (m_pAlbum->m_arrSprites.*test)(m_pSelected));
    };
    if (id == ID_SPRITE_BRING_FORWARD || id == ID_SPRITE_BRING_TO_FRONT)
      enable(id, !inEither(&CDVDImageSpriteArray::IsFront));
    else if (id == ID_SPRITE_SEND_BACKWARD || id == ID_SPRITE_SEND_TO_BACK)
      enable(id, !inEither(&CDVDImageSpriteArray::IsBack));
    else
      enable(id, true);
  }
}

void CPhotoEditCanvas::OnCopy() {
  if (m_pSelected != nullptr) m_pCopyBuffer = m_pSelected;
}

void CPhotoEditCanvas::OnPaste() {
  if (m_pCopyBuffer == nullptr || m_pImage == nullptr) return;
  CDVDImageSprite* copy = nullptr;
  if (m_pCopyBuffer->GetSpriteType() == DVD_SPRITE_TEXT)
    copy = new CDVDImageText(*static_cast<CDVDImageText*>(m_pCopyBuffer), m_pImage);
  else if (m_pCopyBuffer->GetSpriteType() == DVD_SPRITE_PROPS)
    copy = new CDVDImageProps(*static_cast<CDVDImageProps*>(m_pCopyBuffer), m_pImage);
  if (copy == nullptr) return;
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  copy->Set_ptPosition(ClientToReference(CPoint(cursor.x - kPasteOffset, cursor.y - kPasteOffset)));
  // The copy lives on this slide, whatever the original's range.
  copy->Set_srRange(DVD_SPRITE_RANGE_SLIDE);
  m_pImage->AddImageSprite(copy, 0);
  MarkEdited(copy);
  SelectSprite(copy);
  Invalidate();
}

void CPhotoEditCanvas::OnDelete() {
  OnKey(VK_DELETE);
}

void CPhotoEditCanvas::MoveStacking(UINT nCommand) {
  if (m_pSelected == nullptr) return;
  CDVDImageSpriteArray* sprites = nullptr;
  if (m_pImage != nullptr && m_pImage->m_arrSprites.IndexOf(m_pSelected) >= 0)
    sprites = &m_pImage->m_arrSprites;
  else if (m_pAlbum != nullptr && m_pAlbum->m_arrSprites.IndexOf(m_pSelected) >= 0)
    sprites = &m_pAlbum->m_arrSprites;
  if (sprites == nullptr) return;
  BOOL moved = FALSE;
  switch (nCommand) {
    case ID_SPRITE_BRING_FORWARD:
      moved = sprites->Forward(m_pSelected);
      break;
    case ID_SPRITE_SEND_BACKWARD:
      moved = sprites->Backward(m_pSelected);
      break;
    case ID_SPRITE_BRING_TO_FRONT:
      moved = sprites->Front(m_pSelected);
      break;
    case ID_SPRITE_SEND_TO_BACK:
      moved = sprites->Back(m_pSelected);
      break;
    default:
      break;
  }
  if (moved) MarkEdited(m_pSelected);
  Invalidate();
}

void CPhotoEditCanvas::OnBringForward() {
  MoveStacking(ID_SPRITE_BRING_FORWARD);
}
void CPhotoEditCanvas::OnSendBackward() {
  MoveStacking(ID_SPRITE_SEND_BACKWARD);
}
void CPhotoEditCanvas::OnBringToFront() {
  MoveStacking(ID_SPRITE_BRING_TO_FRONT);
}
void CPhotoEditCanvas::OnSendToBack() {
  MoveStacking(ID_SPRITE_SEND_TO_BACK);
}
void CPhotoEditCanvas::OnApplyToAll() {
  ApplyToAllPhotos();
}
void CPhotoEditCanvas::OnAspect4x3() {
  SetTvAspect(1);
}
void CPhotoEditCanvas::OnAspect16x9() {
  SetTvAspect(2);
}
void CPhotoEditCanvas::OnAspectNone() {
  SetTvAspect(0);
}
void CPhotoEditCanvas::OnScaleFit() {
  SetPhotoScaleMode(0);
}
void CPhotoEditCanvas::OnScaleFill() {
  SetPhotoScaleMode(1);
}

// --- CAutoSizeEdit

BEGIN_MESSAGE_MAP(CAutoSizeEdit, CEdit)
ON_WM_CREATE()
ON_WM_CTLCOLOR_REFLECT()
ON_CONTROL_REFLECT(EN_UPDATE, OnUpdate)
ON_CONTROL_REFLECT(EN_KILLFOCUS, OnKillFocus)
ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
ON_WM_LBUTTONDOWN()
ON_WM_KEYUP()
ON_WM_CHAR()
ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

CAutoSizeEdit::CAutoSizeEdit(CFont* pFont) : m_pFont(pFont) {}

CAutoSizeEdit::~CAutoSizeEdit() {
  m_brBackground.DeleteObject();
}

int CAutoSizeEdit::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CEdit::OnCreate(lpCreateStruct) == -1) return -1;
  CRect window;
  GetWindowRect(&window);
  if (CWnd* parent = GetParent()) parent->ScreenToClient(&window);
  window.InflateRect(2, 2);
  m_rcFrame = window;
  return 0;
}

HBRUSH CAutoSizeEdit::CtlColor(CDC* pDC, UINT) {
  m_brBackground.DeleteObject();
  if (m_clrBackground == static_cast<COLORREF>(-1)) {
    m_brBackground.CreateStockObject(NULL_BRUSH);
    pDC->SetBkMode(TRANSPARENT);
  } else {
    m_brBackground.CreateSolidBrush(m_clrBackground);
    pDC->SetBkColor(m_clrBackground);
  }
  pDC->SetTextColor(m_clrText);
  return static_cast<HBRUSH>(m_brBackground.GetSafeHandle());
}

void CAutoSizeEdit::OnUpdate() {
  FitToText();
}

void CAutoSizeEdit::OnKillFocus() {
  InvalidateFrame();
}

void CAutoSizeEdit::OnChange() {}

void CAutoSizeEdit::OnLButtonDown(UINT nFlags, CPoint point) {
  InvalidateFrame();
  CEdit::OnLButtonDown(nFlags, point);
}

void CAutoSizeEdit::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar >= VK_PRIOR && nChar <= VK_DOWN) InvalidateFrame();
  // Escape cancels and Enter commits; the canvas ends the edit and deletes this window.
  if (nChar == VK_ESCAPE || (nChar == VK_RETURN && GetKeyState(VK_CONTROL) >= 0)) {
    if (CWnd* parent = GetParent()) parent->PostMessage(WM_KEYUP, nChar, 0);
    return;
  }
  CEdit::OnKeyUp(nChar, nRepCnt, nFlags);
}

// Enter belongs to the edit (not to the dialog's default button) and commits; Ctrl+Enter breaks
// the line.
void CAutoSizeEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (nChar == '\r' && GetKeyState(VK_CONTROL) >= 0) return;
  CEdit::OnChar(nChar, nRepCnt, nFlags);
}

UINT CAutoSizeEdit::OnGetDlgCode() {
  return CEdit::OnGetDlgCode() | DLGC_WANTALLKEYS;
}

void CAutoSizeEdit::InvalidateFrame() {
  CWnd* parent = GetParent();
  if (parent == nullptr || GetSafeHwnd() == nullptr) return;
  CRect window;
  GetWindowRect(&window);
  parent->ScreenToClient(&window);
  window.InflateRect(2, 2);
  CRect frame(m_rcFrame);
  frame.InflateRect(2, 2);
  window.UnionRect(&window, &frame);
  parent->InvalidateRect(&window, FALSE);
}

void CAutoSizeEdit::DrawFrame(CDC* pDC) const {
  CWnd* parent = GetParent();
  if (pDC == nullptr || parent == nullptr) return;
  CRect client;
  parent->GetClientRect(&client);
  client.DeflateRect(2, 2);
  CRect frame;
  if (!frame.IntersectRect(&m_rcFrame, &client)) return;
  CPen pen;
  pen.CreatePen(PS_DOT, 1, kEditFrameColour);
  CPen* old = pDC->SelectObject(&pen);
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  pDC->MoveTo(frame.left, frame.top);
  pDC->LineTo(frame.left, frame.bottom);
  pDC->LineTo(frame.right, frame.bottom);
  pDC->LineTo(frame.right, frame.top);
  pDC->LineTo(frame.left, frame.top);
  pDC->SetBkMode(oldMode);
  pDC->SelectObject(old);
}

void CAutoSizeEdit::FitToText() {
  CWnd* parent = GetParent();
  if (parent == nullptr || GetSafeHwnd() == nullptr) return;
  parent->Invalidate(FALSE);
  CClientDC dc(this);
  CFont* old = dc.SelectObject(m_pFont);
  CString text;
  GetWindowText(text);
  // A multi-line text measures as its widest line by its lines.
  CSize t(0, 0);
  const CSize a = dc.GetTextExtent("A");
  int lines = 0;
  for (int start = 0;;) {
    int end = text.Find('\n', start);
    CString line = text.Mid(start, end < 0 ? text.GetLength() - start : end - start);
    line.Remove('\r');
    const CSize extent = dc.GetTextExtent(line);
    t.cx = std::max(t.cx, extent.cx);
    ++lines;
    if (end < 0) break;
    start = end + 1;
  }
  t.cy = lines * a.cy;
  dc.SelectObject(old);
  const CSize size = t.cx >= a.cx && t.cy >= a.cy ? t : a;
  CRect window;
  GetWindowRect(&window);
  parent->ScreenToClient(&window);
  const int x = window.left;
  const int y = window.top;
  m_rcFrame = CRect(x + 2, y - 1, x + size.cx + a.cx, y + size.cy + 1);
  SetWindowPos(nullptr, 0, 0, window.Width(), size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateFrame();
}
