// The canvas's picture, drawing and the operations the dialog and its pages call. Mouse, keys, the
// in-place edit and the object menu are in PhotoEditCanvasInput.cpp.
#include "editing/PhotoEditCanvas.h"

#include <cmath>
#include <cstring>

#include "editing/PhotoEditCanvasMath.h"
#include "editing/PhotoEditOperPanZoomPage.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/TextMacro.h"
#include "modules/files/Files.h"
#include "modules/image/CxImage.h"
#include "platform/mfc/Dc.h"
#include "platform/mfc/WinApp.h"
#include "render/PreviewMessages.h"
#include "shell/AppSettings.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"

namespace canvas = pictavo::canvas;

namespace {

constexpr COLORREF kShadowEdge = RGB(0x60, 0x60, 0x60);
constexpr COLORREF kLightEdge = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kCanvasGrey = RGB(0xDE, 0xDE, 0xDE);

bool IsWidescreen() {
  return GetProject()->GetOptionsData()->nAspectCorrection == 2;
}

}  // namespace

void CalcFrameRect16x9(const RECT& rect, RECT* frame) {
  if (frame != nullptr) *frame = canvas::FrameRect(rect, true);
}

void CalcFrameRect4x3(const RECT& rect, RECT* frame) {
  if (frame != nullptr) *frame = canvas::FrameRect(rect, false);
}

void CalcFrameRect(const RECT& rect, RECT* frame) {
  if (frame != nullptr) *frame = canvas::FrameRect(rect, IsWidescreen());
}

CPhotoEditCanvas::CPhotoEditCanvas()
    : m_pDisplayImage(std::make_unique<CxImage>()),
      m_pBaseImage(std::make_unique<CxImage>()),
      m_pDrawnImage(std::make_unique<CxImage>()) {
  _DVDImageTextFont defaults{};
  CDVDImageText::SetDefaultTextFontData(&defaults);
  LOGFONT lf{};
  CDVDImageText::FillLogFont(&defaults, &lf, 1.0f);
  m_font.CreatePointFontIndirect(&lf);
}

CPhotoEditCanvas::~CPhotoEditCanvas() {
  if (m_pEdit != nullptr) {
    if (m_pEdit->GetSafeHwnd() != nullptr) m_pEdit->DestroyWindow();
    delete m_pEdit;
    m_pEdit = nullptr;
  }
  m_menu.DestroyMenu();
  m_font.DeleteObject();
}

int CPhotoEditCanvas::GetSlideCount() const {
  if (m_nSlideCount != 0) return m_nSlideCount;
  if (m_pAlbum != nullptr) return m_pAlbum->GetImageCount();
  return 0;
}

float CPhotoEditCanvas::Factor() const {
  return m_pScaleFactor != nullptr && *m_pScaleFactor > 0 ? *m_pScaleFactor : 0.0f;
}

CRect CPhotoEditCanvas::GetFrameRect() const {
  CRect client;
  if (GetSafeHwnd() != nullptr) GetClientRect(&client);
  client.DeflateRect(1, 1);
  CRect frame;
  CalcFrameRect(client, &frame);
  return frame;
}

CPoint CPhotoEditCanvas::ClientToReference(CPoint point) const {
  const float factor = Factor();
  return CPoint(canvas::ToReference(point.x - m_nFrameX, factor),
                canvas::ToReference(point.y - m_nFrameY, factor));
}

int CPhotoEditCanvas::SizeToReference(int pixels) const {
  return canvas::ToReference(pixels, Factor());
}

// The data model's object setters leave the slide and album as they were; an edit of an object
// must reach the save prompt and the next video.
void CPhotoEditCanvas::MarkEdited(CDVDImageSprite* pSprite) {
  const bool albumWide =
      pSprite != nullptr && m_pAlbum != nullptr && m_pAlbum->m_arrSprites.IndexOf(pSprite) >= 0;
  if (m_pImage != nullptr && !albumWide) {
    m_pImage->m_bChanged = TRUE;
    ++m_pImage->m_dwLook;
  }
  if (m_pAlbum != nullptr)
    m_pAlbum->MarkChanged();
  else if (m_pImage != nullptr && m_pImage->GetAlbum() != nullptr)
    m_pImage->GetAlbum()->MarkChanged();
}

void CPhotoEditCanvas::ForgetSprite(CDVDImageSprite* pSprite) {
  if (pSprite == nullptr) return;
  if (m_pSelected == pSprite) m_pSelected = nullptr;
  if (m_pCopyBuffer == pSprite) m_pCopyBuffer = nullptr;
}

BOOL CPhotoEditCanvas::DeleteSprite(CDVDImageSprite* pSprite) {
  if (pSprite == nullptr) return FALSE;
  // Forget it before it goes: the copy buffer must never point at a freed object.
  ForgetSprite(pSprite);
  if (m_pImage != nullptr && m_pImage->RemoveImageSprite(pSprite, TRUE)) return TRUE;
  if (m_pAlbum != nullptr && m_pAlbum->RemoveImageSprite(pSprite, TRUE)) {
    if (m_pImage != nullptr) m_pImage->m_bChanged = TRUE;
    return TRUE;
  }
  return FALSE;
}

void CPhotoEditCanvas::SetImage(CDVDImage* pImage) {
  if (pImage == m_pImage && pImage != nullptr) return;
  m_pImage = pImage;
  const _tagPhotoIntensityParam* param = pImage != nullptr ? pImage->Get_pPhotoIntensityParam() : nullptr;
  m_intensity = param != nullptr ? *param : _tagPhotoIntensityParam{};
  if (pImage != nullptr)
    RebuildImages();
  else
    m_pSelected = nullptr;
  if (GetSafeHwnd() != nullptr) Invalidate();
}

BOOL CPhotoEditCanvas::ReloadImage() {
  if (m_pImage == nullptr) return FALSE;
  RebuildImages();
  return TRUE;
}

void CPhotoEditCanvas::ApplyAdjustments() {
  *m_pDisplayImage = *m_pBaseImage;
  if (m_pImage->Get_pPhotoIntensityParam() != nullptr) m_pImage->PerformIntensity(m_pDisplayImage.get());
  if (m_pImage->Get_bAutoExposure()) m_pImage->UpdateAutoAdjustImage(m_pDisplayImage.get());
  m_pDrawnImage->Destroy();
}

void CPhotoEditCanvas::RebuildImages() {
  CWaitCursor wait;
  m_pSelected = nullptr;
  m_pImage->LoadToCxImage(m_pDisplayImage.get(), nullptr, 0, 0);
  m_pImage->DrawImageFrame(m_pDisplayImage.get());
  if (GetSafeHwnd() != nullptr && m_pDisplayImage->IsValid()) {
    const CRect frame = GetFrameRect();
    const CSize picture(static_cast<int>(m_pDisplayImage->GetWidth()),
                        static_cast<int>(m_pDisplayImage->GetHeight()));
    RECT placement{};
    if (CDVDImage::CalcZoomRect(frame, picture, &placement, 0)) {
      // A very narrow or unreadable photo can place 0 wide: it then keeps its own size.
      const CSize target = canvas::CachedPhotoSize(
          CSize(placement.right - placement.left, placement.bottom - placement.top), picture);
      if (target != picture && target.cx > 0 && target.cy > 0)
        m_pDisplayImage->Resample(target.cx, target.cy, CXIMAGE_RESAMPLE_BILINEAR);
    }
  }
  *m_pBaseImage = *m_pDisplayImage;
  m_pDrawnImage->Destroy();
  if (m_pImage->Get_pPhotoIntensityParam() != nullptr) m_pImage->PerformIntensity(m_pDisplayImage.get());
  if (m_pImage->Get_bAutoExposure()) m_pImage->UpdateAutoAdjustImage(m_pDisplayImage.get());
  if (GetSafeHwnd() != nullptr) Invalidate(FALSE);
}

void CPhotoEditCanvas::UpdateConvertedText(CDVDImageText* pText) {
  if (pText == nullptr) return;
  CTextMacro macro;
  macro.Put_pDVDImage(m_pImage);
  macro.Put_pXImage(m_pDisplayImage.get());
  macro.Put_nSlideCount(GetSlideCount());
  macro.Put_nSlideIndex(m_nSlideIndex);
  pText->Set_strConverterText(macro.ConvertNormalOutput(pText->Get_strText()));
}

BOOL CPhotoEditCanvas::IsTextSelected() const {
  return m_pSelected != nullptr && m_pSelected->GetSpriteType() == DVD_SPRITE_TEXT;
}

void CPhotoEditCanvas::SelectSprite(CDVDImageSprite* pSprite) {
  m_pSelected = pSprite;
}

BOOL CPhotoEditCanvas::AddTextAt(LPCTSTR lpszText) {
  if (m_pImage == nullptr) return FALSE;
  auto* text = new CDVDImageText(m_pImage);
  if (m_pTextFont != nullptr) text->SetDVDImageTextFont(m_pTextFont);
  const POINT at{m_nCascadeX, m_nCascadeY};
  const POINT next = canvas::NextCascade(at);
  m_nCascadeX = next.x;
  m_nCascadeY = next.y;
  if (const float factor = Factor(); factor > 0) text->Set_fFactor(factor);
  // The cascade is kept in reference units already.
  text->Set_ptPosition(at);
  text->Set_strText(lpszText);
  UpdateConvertedText(text);
  text->SetTextSize();
  m_pImage->AddImageSprite(text, 0);
  MarkEdited(text);
  SelectSprite(text);
  if (GetSafeHwnd() != nullptr) Invalidate();
  return TRUE;
}

BOOL CPhotoEditCanvas::AddText() {
  CommitTextEdit();
  return AddTextAt(LoadLangString(IDS_DOUBLE_CLICK_TO_EDIT));
}

BOOL CPhotoEditCanvas::InsertMacro(int nMacro) {
  return InsertText(CTextMacro::GetMacroString(nMacro));
}

BOOL CPhotoEditCanvas::InsertText(LPCTSTR lpszText) {
  if (lpszText == nullptr || *lpszText == '\0') return FALSE;
  if (IsEditingText()) {
    CString contents;
    m_pEdit->GetWindowText(contents);
    contents += lpszText;
    m_pEdit->SetWindowText(contents);
    m_pEdit->SetSel(contents.GetLength(), contents.GetLength());
    m_pEdit->FitToText();
    return TRUE;
  }
  return AddTextAt(lpszText);
}

BOOL CPhotoEditCanvas::AddClipArt(LPCTSTR lpszPath, int x, int y, int cx, int cy) {
  CFileStatus status;
  if (lpszPath == nullptr || !Zorv_CFileGetStatus(lpszPath, status, 0)) return FALSE;
  if (m_pImage == nullptr) return FALSE;
  auto* props = new CDVDImageProps(m_pImage);
  props->Set_strPathName(lpszPath);
  if (const float factor = Factor(); factor > 0) props->Set_fFactor(factor);
  props->Set_ptPosition(ClientToReference(CPoint(x, y)));
  props->Set_szSize(CSize(SizeToReference(cx), SizeToReference(cy)));
  m_pImage->AddImageSprite(props, 0);
  MarkEdited(props);
  SelectSprite(props);
  if (GetSafeHwnd() != nullptr) Invalidate();
  return TRUE;
}

void CPhotoEditCanvas::ToggleAutoExposure() {
  if (m_pImage == nullptr) return;
  m_pImage->ToggleAutoAdjustExposure(m_pDisplayImage.get());
  // The flag alone changes no pixels: the shown photo is made again from the unadjusted one.
  if (m_pBaseImage->IsValid()) ApplyAdjustments();
  if (GetSafeHwnd() != nullptr) Invalidate();
}

void CPhotoEditCanvas::SetTvAspect(int nAspect) {
  _PROJECT_OPTIONS_DATA* options = GetProject()->GetOptionsData();
  if (options->nAspectCorrection == nAspect) return;
  options->nAspectCorrection = nAspect;
  GetProject()->SetAllEncodeDirty();
  CGeneralSettings& general = GetAppSettings()->General;
  general.Correction = nAspect;
  general.SaveCorrection();
  CWindowRegistry* slots = GetWindowRegistry();
  for (void* slot : {slots->m_pAlbumPreviewDlg, slots->m_pMenuPreviewDlg, slots->m_pVideoPreviewContainer}) {
    auto* window = static_cast<CWnd*>(slot);
    if (window != nullptr && ::IsWindow(window->GetSafeHwnd()))
      window->PostMessage(WM_TV_ASPECT_CHANGED, 0, 0);
  }
  if (m_pPreviewWnd != nullptr && ::IsWindow(m_pPreviewWnd->GetSafeHwnd()))
    m_pPreviewWnd->PostMessage(WM_TV_ASPECT_CHANGED, 0, 0);
  ReloadImage();
  if (GetSafeHwnd() != nullptr) Invalidate();
  PrepareCustomPanZoom();
}

void CPhotoEditCanvas::SetPhotoScaleMode(int nMode) {
  CDVDProject* project = GetProject();
  if (project->Get_nPhotoScaleMode() == nMode) return;
  project->Set_nPhotoScaleMode(nMode);
  project->SetAllEncodeDirty();
  CGeneralSettings& general = GetAppSettings()->General;
  general.PhotoScaleMode = nMode;
  general.SavePhotoScaleMode();
  ReloadImage();
  if (GetSafeHwnd() != nullptr) Invalidate();
  PrepareCustomPanZoom();
}

void CPhotoEditCanvas::PrepareCustomPanZoom() {
  if (m_pCustomPanZoomPage != nullptr && m_pCustomPanZoomPage->GetSafeHwnd() != nullptr)
    m_pCustomPanZoomPage->PrepareSources();
}

void CPhotoEditCanvas::ApplyToAllPhotos() {
  if (m_pAlbum == nullptr || m_pImage == nullptr) return;
  for (int i = 0; i < m_pAlbum->GetImageCount(); ++i) {
    CDVDImage* slide = m_pAlbum->m_arrImages[i];
    if (slide != nullptr && slide->IsChanged()) slide->UpdateCookie();
  }
  bool moved = false;
  if (m_pSelected != nullptr) {
    if (m_pAlbum->m_arrSprites.IndexOf(m_pSelected) < 0) {
      m_pImage->RemoveImageSprite(m_pSelected, FALSE);
      m_pSelected->Set_srRange(DVD_SPRITE_RANGE_ALBUM);
      m_pAlbum->AddImageSprite(m_pSelected, 0);
      moved = true;
    }
  } else {
    CDVDImageSpriteArray& own = m_pImage->m_arrSprites;
    for (int i = 0; i < own.GetSize(); ++i) {
      own[i]->Set_srRange(DVD_SPRITE_RANGE_ALBUM);
      m_pAlbum->AddImageSprite(own[i], 0);
    }
    moved = own.GetSize() > 0;
    m_pImage->RemoveAllImageSprite(FALSE);
  }
  if (moved) m_pAlbum->MarkChanged();
  if (GetSafeHwnd() != nullptr) Invalidate();
}

// --- drawing

BOOL CPhotoEditCanvas::OnEraseBkgnd(CDC*) {
  return TRUE;
}

void CPhotoEditCanvas::DrawInto(CDC* pDC, const CRect& client) {
  pDC->Draw3dRect(&client, kShadowEdge, kLightEdge);
  CRect inner = client;
  inner.DeflateRect(1, 1);
  pDC->FillSolidRect(&inner, kCanvasGrey);
  if (m_pImage == nullptr) return;

  CRect frame;
  CalcFrameRect(inner, &frame);
  pDC->FillSolidRect(&frame, m_pAlbum != nullptr ? m_pAlbum->Get_clrBackground() : 0);
  if (m_pDisplayImage->IsValid()) {
    const CSize picture(static_cast<int>(m_pDisplayImage->GetWidth()),
                        static_cast<int>(m_pDisplayImage->GetHeight()));
    RECT placement{};
    if (CDVDImage::CalcZoomRect(frame, picture, &placement, 0)) {
      m_rcImage = placement;
      const CSize size = m_rcImage.Size();
      CxImage* shown = m_pDisplayImage.get();
      if (size != picture && size.cx > 0 && size.cy > 0) {
        // A portrait's cache is larger than its placement: the resampled copy is kept for the
        // next paints (dragging repaints many times a second).
        if (static_cast<int>(m_pDrawnImage->GetWidth()) != size.cx ||
            static_cast<int>(m_pDrawnImage->GetHeight()) != size.cy)
          m_pDisplayImage->Resample(size.cx, size.cy, CXIMAGE_RESAMPLE_BICUBIC, m_pDrawnImage.get());
        shown = m_pDrawnImage.get();
      }
      RECT clip = frame;
      shown->Draw(pDC->GetSafeHdc(), m_rcImage, &clip, false);
    }
  }

  const float factor = static_cast<float>(frame.Width()) * canvas::kFactorPerPixel;
  if (m_pScaleFactor != nullptr && factor > 0 && std::fabs(*m_pScaleFactor - factor) > 0.0001f) {
    *m_pScaleFactor = factor;
    if (m_pTextFont != nullptr) ApplyTextFont(m_pTextFont);
  }
  m_nFrameX = frame.left;
  m_nFrameY = frame.top;

  const POINT origin{m_nFrameX, m_nFrameY};
  const bool editing = IsEditingText() != FALSE;
  const float objectFactor = Factor();
  auto drawArray = [&](CDVDImageSpriteArray& sprites) {
    for (int i = 0; i < sprites.GetSize(); ++i) {
      CDVDImageSprite* sprite = sprites[i];
      if (sprite == nullptr) continue;
      if (m_pScaleFactor != nullptr && objectFactor > 0) sprite->Set_fFactor(objectFactor);
      if (sprite->GetSpriteType() == DVD_SPRITE_TEXT) {
        auto* text = static_cast<CDVDImageText*>(sprite);
        UpdateConvertedText(text);
        text->SetTextSize();
      }
      int tracker = 0;
      if (sprite == m_pSelected) {
        if (!m_bDragging) {
          if (editing) continue;
          tracker = 1;
        } else if (m_nHitCode == 0) {
          continue;
        } else {
          tracker = m_nHitCode == -1 ? 0 : 2;
        }
      }
      sprite->Draw(pDC->GetSafeHdc(), origin, tracker);
    }
  };
  if (m_pAlbum != nullptr) drawArray(m_pAlbum->m_arrSprites);
  drawArray(m_pImage->m_arrSprites);
  if (editing) m_pEdit->DrawFrame(pDC);
}

void CPhotoEditCanvas::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  if (client.IsRectEmpty()) return;
  CDC memory;
  memory.CreateCompatibleDC(&dc);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
  CBitmap* old = memory.SelectObject(&bitmap);
  DrawInto(&memory, client);
  dc.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
}

void CPhotoEditCanvas::OnDestroy() {
  EndTextEdit();
  CStatic::OnDestroy();
}

// --- messages from the pages

LRESULT CPhotoEditCanvas::OnPhotoIntensityChanged(WPARAM, LPARAM lParam) {
  auto* image = reinterpret_cast<CDVDImage*>(lParam);
  if (image == nullptr) return FALSE;
  const _tagPhotoIntensityParam* param = image->Get_pPhotoIntensityParam();
  const _tagPhotoIntensityParam now = param != nullptr ? *param : _tagPhotoIntensityParam{};
  if (!now.IsEqual(m_intensity)) {
    if (image == m_pImage && m_pBaseImage->IsValid()) ApplyAdjustments();
    m_intensity = now;
    Invalidate(TRUE);
  }
  return TRUE;
}

LRESULT CPhotoEditCanvas::OnPhotoRotated(WPARAM wParam, LPARAM) {
  auto turn = [wParam](CxImage* picture) {
    if (!picture->IsValid()) return;
    if (wParam == 90)
      picture->RotateRight();
    else if (wParam == 180)
      picture->Rotate180();
    else if (wParam == 270)
      picture->RotateLeft();
  };
  turn(m_pDisplayImage.get());
  turn(m_pBaseImage.get());
  m_pDrawnImage->Destroy();
  Invalidate();
  return 0;
}

LRESULT CPhotoEditCanvas::OnTextFontChanged(WPARAM wParam, LPARAM) {
  const auto* font = reinterpret_cast<const _DVDImageTextFont*>(wParam);
  if (font != nullptr) {
    ApplyTextFont(font);
    if (IsTextSelected()) {
      auto* text = static_cast<CDVDImageText*>(m_pSelected);
      if (std::memcmp(&text->GetDVDImageTextFont(), font, sizeof(*font)) != 0) {
        text->SetDVDImageTextFont(font);
        text->SetTextSize();
        MarkEdited(text);
      }
    }
  }
  Invalidate();
  return 0;
}
