// The button image editor: the grid, the tool palette, the colour bar, the preview and the
// clipboard commands.
#include "toolkit/customize/PlxImageEditorDlg.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/mfc/CmdUI.h"
#include "platform/mfc/DataExchange.h"
#include "platform/mfc/WinApp.h"
#include "platform/user/Clipboard.h"
#include "platform/user/MessageBox.h"
#include "toolkit/core/PlxButtonImages.h"
#include "toolkit/core/PlxGlobalData.h"

namespace {

constexpr UINT kToolBarRes = 16138;
constexpr UINT kToolBarHotRes = 16139;
constexpr UINT kColorBarId = 16516;
constexpr UINT kPaletteBarPlace = 16533;
constexpr UINT kPreviewPlace = 16519;
constexpr UINT kGridId = 16513;
constexpr UINT kCmdCopy = 16907, kCmdPaste = 16908, kCmdClear = 16909;
constexpr UINT kMsgPasteFailed = 16004, kMsgException = 16008, kMsgCopyFailed = 16010;

struct ToolCommand {
  UINT command;
  int tool;
};
constexpr ToolCommand kToolCommands[] = {
    {16902, CPlxPixelEditCtrl::Pencil},  {16901, CPlxPixelEditCtrl::Fill},
    {16904, CPlxPixelEditCtrl::Line},    {16905, CPlxPixelEditCtrl::Rect},
    {16906, CPlxPixelEditCtrl::Ellipse}, {16903, CPlxPixelEditCtrl::PickColor},
};

int ToolOf(UINT command) {
  for (const ToolCommand& t : kToolCommands)
    if (t.command == command) return t.tool;
  return -1;
}

}  // namespace

namespace plx_image_editor {

int PasteOffset(int image, int source) {
  return std::max(0, (image - source) / 2);
}

int PasteExtent(int image, int source, int offset) {
  return std::max(0, std::min(source, image - offset));
}

COLORREF DrawingColor(COLORREF chosen) {
  return chosen == RGB(192, 192, 192) ? g_plxGlobalData.clrBtnFace : chosen;
}

void BuildDefaultPalette(CArray<COLORREF, COLORREF>& colors) {
  colors.RemoveAll();
  PALETTEENTRY entries[20] = {};
  const UINT count =
      ::GetPaletteEntries(static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)), 0, 20, entries);
  for (UINT i = 0; i < count; ++i)
    if (i < 8 || i >= 12) colors.Add(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue));
}

}  // namespace plx_image_editor

CPlxImageEditorDlg::CPlxImageEditorDlg(CBitmap* pBitmap, CWnd* pParent, int nBitsPixel)
    : CDialog(IDD, pParent), m_wndLargeDrawArea(this), m_pBitmap(pBitmap), m_nBitsPixel(nBitsPixel) {
  BITMAP bm{};
  if (m_pBitmap && m_pBitmap->GetSafeHandle() && m_pBitmap->GetObject(sizeof bm, &bm)) {
    m_nWidth = bm.bmWidth;
    m_nHeight = bm.bmHeight;
    if (m_nBitsPixel == -1) m_nBitsPixel = bm.bmBitsPixel;
  }
  m_rectPreviewFrame.SetRectEmpty();
  m_rectPreviewImage.SetRectEmpty();
}

CPlxImageEditorDlg::~CPlxImageEditorDlg() = default;

void CPlxImageEditorDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, kColorBarId, m_wndColorPickerLocation);
  DDX_Control(pDX, kPaletteBarPlace, m_wndPaletteBarLocation);
  DDX_Control(pDX, kPreviewPlace, m_wndPreviewArea);
  DDX_Control(pDX, kGridId, m_wndLargeDrawArea);
}

BOOL CPlxImageEditorDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_wndLargeDrawArea.SetBitmap(m_pBitmap);

  // The tool palette.
  m_wndToolbar.EnableLargeIcons(FALSE);
  m_wndToolbar.Create(this, 0x50402808, 0xE800);
  const BOOL hot = g_plxGlobalData.nBitsPerPixel >= 16 && !g_plxGlobalData.bIsBlackHighContrast &&
                   !g_plxGlobalData.bIsWhiteHighContrast && g_plxGlobalData.bAllowRichColors;
  m_wndToolbar.LoadToolBar(kToolBarRes, 0, 0, TRUE, 0, 0, hot ? kToolBarHotRes : 0);
  m_wndToolbar.SetBarStyle((m_wndToolbar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY) &
                           ~(CBRS_BORDER_ANY | CBRS_GRIPPER));
  m_wndToolbar.SetBorders(10, 5, 10, 5);
  m_wndToolbar.WrapButtons(3 * m_wndToolbar.GetButtonSize().cx);
  CRect place;
  m_wndPaletteBarLocation.GetWindowRect(&place);
  ScreenToClient(&place);
  place.DeflateRect(2, 2);
  m_wndToolbar.SetWindowPos(&wndTop, place.left, place.top, place.Width(), place.Height(), SWP_NOACTIVATE);
  m_wndToolbar.SetOwner(this);
  m_wndToolbar.m_bRouteToFrame = FALSE;

  // The colour bar: 16 colours for palette images, otherwise the full set and "Other".
  CPalette palette;
  CPalette* usePalette = nullptr;
  int columns = 5;
  if (m_nBitsPixel > 0 && m_nBitsPixel <= 8) {
    CArray<COLORREF, COLORREF> colors;
    plx_image_editor::BuildDefaultPalette(colors);
    // The image's depth decides, not the display's: the palette is made whatever the screen has.
    std::vector<BYTE> block(sizeof(LOGPALETTE) +
                            static_cast<size_t>(colors.GetSize()) * sizeof(PALETTEENTRY));
    auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
    log->palVersion = 0x300;
    log->palNumEntries = static_cast<WORD>(colors.GetSize());
    for (INT_PTR i = 0; i < colors.GetSize(); ++i)
      log->palPalEntry[i] = PALETTEENTRY{GetRValue(colors[i]), GetGValue(colors[i]), GetBValue(colors[i]), 0};
    if (palette.CreatePalette(log)) usePalette = &palette;
    columns = 4;
  } else {
    m_wndPaletteBar.EnableOtherButton("Other", FALSE);
    m_wndPaletteBar.SetHorzMargin(1);
    m_wndPaletteBar.SetVertMargin(1);
  }
  m_wndColorPickerLocation.GetWindowRect(&place);
  ScreenToClient(&place);
  place.DeflateRect(2, 2);
  m_wndPaletteBar.m_bInternal = TRUE;  // the editor is opened while customizing
  m_wndPaletteBar.CreateAsControl(this, place, kColorBarId, columns, usePalette);
  m_wndPaletteBar.SetColor(0);

  // The preview: the image at its size, centred, framed 4 pixels out.
  m_wndPreviewArea.GetWindowRect(&place);
  ScreenToClient(&place);
  const CPoint centre = place.CenterPoint();
  m_rectPreviewImage.SetRect(centre.x - m_nWidth / 2, centre.y - m_nHeight / 2, 0, 0);
  m_rectPreviewImage.right = m_rectPreviewImage.left + m_nWidth;
  m_rectPreviewImage.bottom = m_rectPreviewImage.top + m_nHeight;
  m_rectPreviewFrame = m_rectPreviewImage;
  m_rectPreviewFrame.InflateRect(4, 4);
  m_wndLargeDrawArea.m_rectPreview = m_rectPreviewFrame;
  m_wndLargeDrawArea.ModifyStyle(WS_TABSTOP, 0);
  return TRUE;
}

void CPlxImageEditorDlg::Message(UINT idString) {
  CString text;
  text.LoadString(idString);
  AfxMessageBox(text, MB_OK | MB_ICONSTOP);
}

void CPlxImageEditorDlg::OnColorPicked(COLORREF color) {
  if (m_wndPaletteBar.GetSafeHwnd()) m_wndPaletteBar.SetColor(color);
  m_wndLargeDrawArea.SetColor(color);
  m_wndLargeDrawArea.SetTool(CPlxPixelEditCtrl::Pencil);
}

void CPlxImageEditorDlg::OnColorBarPick() {
  m_wndLargeDrawArea.SetColor(plx_image_editor::DrawingColor(m_wndPaletteBar.GetColor()));
}

void CPlxImageEditorDlg::OnClearImage() {
  if (!m_pBitmap) return;
  CDC dc;
  dc.CreateCompatibleDC(nullptr);
  CBitmap* old = dc.SelectObject(m_pBitmap);
  if (!old) return;
  dc.FillRect(CRect(0, 0, m_nWidth, m_nHeight), &g_plxGlobalData.brBtnFace);
  dc.SelectObject(old);
  m_wndLargeDrawArea.Invalidate();
  Invalidate();
}

void CPlxImageEditorDlg::OnCopyImage() {
  if (!m_pBitmap) return;
  try {
    CWindowDC window(this);
    CDC src, dst;
    CBitmap copy;
    if (!src.CreateCompatibleDC(&window) || !dst.CreateCompatibleDC(&window) ||
        !copy.CreateCompatibleBitmap(&window, m_nWidth, m_nHeight)) {
      Message(kMsgCopyFailed);
      return;
    }
    CBitmap* oldSrc = src.SelectObject(m_pBitmap);
    CBitmap* oldDst = dst.SelectObject(&copy);
    dst.BitBlt(0, 0, m_nWidth, m_nHeight, &src, 0, 0, SRCCOPY);
    dst.SelectObject(oldDst);
    src.SelectObject(oldSrc);
    if (!::OpenClipboard(m_hWnd)) {
      Message(kMsgCopyFailed);
      return;
    }
    const BOOL done = ::EmptyClipboard() && ::SetClipboardData(CF_BITMAP, copy.GetSafeHandle()) != nullptr;
    ::CloseClipboard();
    if (!done) {
      Message(kMsgCopyFailed);
      return;
    }
    copy.Detach();  // the clipboard owns it now
  } catch (...) {
    Message(kMsgException);
  }
}

BOOL CPlxImageEditorDlg::OnPasteImage() {
  if (!m_pBitmap) return FALSE;
  // Everything that can fail is checked before the image is touched.
  BOOL done = FALSE;
  if (::IsClipboardFormatAvailable(CF_BITMAP) && ::OpenClipboard(m_hWnd)) {
    HBITMAP source = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    BITMAP bm{};
    CDC dcSource, dcImage;
    if (source && ::GetObject(source, sizeof bm, &bm) && dcSource.CreateCompatibleDC(nullptr) &&
        dcImage.CreateCompatibleDC(nullptr)) {
      HGDIOBJ oldSource = ::SelectObject(dcSource.GetSafeHdc(), source);
      CBitmap* oldImage = oldSource ? dcImage.SelectObject(m_pBitmap) : nullptr;
      if (oldSource && oldImage) {
        const int x = plx_image_editor::PasteOffset(m_nWidth, bm.bmWidth);
        const int y = plx_image_editor::PasteOffset(m_nHeight, bm.bmHeight);
        const int cx = plx_image_editor::PasteExtent(m_nWidth, bm.bmWidth, x);
        const int cy = plx_image_editor::PasteExtent(m_nHeight, bm.bmHeight, y);
        dcImage.FillRect(CRect(0, 0, m_nWidth, m_nHeight), &g_plxGlobalData.brBtnFace);
        CPlxButtonImages::TransparentBlt(dcImage.GetSafeHdc(), x, y, cx, cy, &dcSource, 0, 0,
                                         RGB(192, 192, 192));
        done = TRUE;
      }
      if (oldImage) dcImage.SelectObject(oldImage);
      if (oldSource) ::SelectObject(dcSource.GetSafeHdc(), oldSource);
    }
    ::CloseClipboard();
  }
  if (!done) {
    Message(kMsgPasteFailed);
    return FALSE;
  }
  InvalidateRect(&m_rectPreviewFrame);
  m_wndLargeDrawArea.Invalidate();
  return TRUE;
}

BOOL CPlxImageEditorDlg::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  const int tool = ToolOf(nID);
  const bool ours =
      tool >= 0 || nID == kCmdCopy || nID == kCmdPaste || nID == kCmdClear || nID == kColorBarId;
  if (!ours) return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  if (nCode == static_cast<int>(CN_UPDATE_COMMAND_UI)) {
    auto* ui = static_cast<CCmdUI*>(pExtra);
    if (!ui) return FALSE;
    if (tool >= 0) {
      ui->Enable(TRUE);
      ui->SetCheck(m_wndLargeDrawArea.GetTool() == tool);
    } else {
      ui->Enable(nID != kCmdPaste || ::IsClipboardFormatAvailable(CF_BITMAP));
    }
    return TRUE;
  }
  if (nCode != static_cast<int>(CN_COMMAND)) return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  if (pHandlerInfo) return TRUE;  // asked only whether we handle it
  if (tool >= 0) {
    m_wndLargeDrawArea.SetTool(tool);
    return TRUE;
  }
  switch (nID) {
    case kCmdCopy:
      OnCopyImage();
      break;
    case kCmdPaste:
      OnPasteImage();
      break;
    case kCmdClear:
      OnClearImage();
      break;
    case kColorBarId:
      OnColorBarPick();
      break;
  }
  return TRUE;
}

void CPlxImageEditorDlg::OnKickIdle() {
  if (m_wndToolbar.GetSafeHwnd()) m_wndToolbar.OnUpdateCmdUI(reinterpret_cast<CFrameWnd*>(this), TRUE);
  if (HWND paste = ::GetDlgItem(m_hWnd, kCmdPaste))
    ::EnableWindow(paste, ::IsClipboardFormatAvailable(CF_BITMAP));
}

void CPlxImageEditorDlg::OnPaint() {
  CPaintDC dc(this);
  if (!m_pBitmap) return;
  dc.FillRect(&m_rectPreviewImage, &g_plxGlobalData.brBtnFace);
  CDC mem;
  mem.CreateCompatibleDC(&dc);
  if (CBitmap* old = mem.SelectObject(m_pBitmap)) {
    dc.BitBlt(m_rectPreviewImage.left, m_rectPreviewImage.top, m_nWidth, m_nHeight, &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);
  }
  CRect below = m_rectPreviewFrame;
  below.top = m_rectPreviewFrame.top + m_nHeight + 2;
  if (below.top < below.bottom) dc.FillRect(&below, &g_plxGlobalData.brBtnFace);
  dc.Draw3dRect(&m_rectPreviewFrame, g_plxGlobalData.clrBtnHilite, g_plxGlobalData.clrBtnShadow);
}

LRESULT CPlxImageEditorDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_KICKIDLE:
      OnKickIdle();
      return 0;
  }
  return CDialog::WindowProc(message, wParam, lParam);
}
