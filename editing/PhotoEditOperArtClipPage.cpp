#include "editing/PhotoEditOperArtClipPage.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "controls/DragDropHelper.h"
#include "editing/PhotoEditCanvas.h"
#include "editing/PhotoEditPagePaint.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/EMF.h"
#include "modules/files/Files.h"
#include "modules/image/CxImage.h"
#include "platform/comdlg/CommonDialogs.h"
#include "platform/kernel/FileFind.h"
#include "platform/kernel/Ini.h"
#include "shell/LanguageFile.h"
#include "shell/UIHelpers.h"

namespace {

constexpr UINT IDC_ARTCLIP_STYLE = 1243;
constexpr UINT IDC_ARTCLIP_LIST = 1021;
constexpr UINT IDC_ARTCLIP_MORE = 1305;
constexpr UINT IDC_ARTCLIP_ADD_TO_ALL = 1358;
constexpr int kCellSize = 86;
constexpr int kFitBox = 120;
constexpr int kCascadeStep = 20;
constexpr int kCascadeMargin = 60;
constexpr int kCascadeRestart = 35;
// A style file names its styles by number; a count beyond what any file holds is a damaged file,
// and reading that many sections would keep the page from opening.
constexpr int kMaxStyles = 1000;
constexpr DWORD kValueSize = 260;

constexpr char kMoreFilter[] =
    "All Supported "
    "Formats(*.jpg;*.jpeg;*.tif;*.tiff;*.bmp;*.pcx;*.png;*.wmf;*.emf)|*.jpg;*.jpeg;*.TIFF;*.BMP;*.PCX;"
    "*.PNG;*.wmf;*.emf|JPEG "
    "(*.jpg;*.jpeg)|*.jpg;*.jpeg|TIFF(*.tif;*.tiff)|*.tif;*.tiff|Bitmap(*.bmp)|*.bmp|PNG "
    "(*.png)|*.png|WMF (*.wmf)|*.wmf|emf (*.emf)|*.emf||";

// The picture's own size, each side at least 1; 100 x 100 for a vector picture whose size
// cannot be read.
CSize PictureSize(const CString& path, BOOL bRaster, BOOL* loaded) {
  CSize size(0, 0);
  *loaded = FALSE;
  if (bRaster) {
    CxImage picture;
    if (picture.Load(path, 0) && picture.IsValid()) {
      *loaded = TRUE;
      size = CSize(static_cast<int>(picture.GetWidth()), static_cast<int>(picture.GetHeight()));
    }
  } else {
    CEMF metafile;
    if (metafile.Load(path)) {
      *loaded = TRUE;
      if (!metafile.GetWidthHeight(size)) size = CSize(100, 100);
    }
  }
  size.cx = std::max<LONG>(size.cx, 1);
  size.cy = std::max<LONG>(size.cy, 1);
  return size;
}

}  // namespace

// The list.

BEGIN_MESSAGE_MAP(CArtClipListBox, CListBox)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

void CArtClipListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemWidth = 40;
  lpMeasureItemStruct->itemHeight = 40;
}

int CArtClipListBox::CompareItem(LPCOMPAREITEMSTRUCT) {
  return 0;
}

void CArtClipListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->itemID == static_cast<UINT>(-1)) return;
  CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
  const CRect cell(lpDrawItemStruct->rcItem);
  dc->SetStretchBltMode(HALFTONE);
  CBrush* oldBrush = static_cast<CBrush*>(dc->SelectStockObject(NULL_BRUSH));
  const BOOL selected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
  const BOOL focused = (lpDrawItemStruct->itemState & ODS_FOCUS) != 0 || ::GetFocus() == m_hWnd;
  const COLORREF frameColour = !selected ? RGB(160, 160, 160) : focused ? RGB(0, 0, 255) : RGB(0, 255, 0);
  CPen pen(PS_SOLID, 1, frameColour);
  CPen* oldPen = dc->SelectObject(&pen);
  CRect frame = cell;
  frame.DeflateRect(6, 6);
  dc->Rectangle(&frame);
  dc->SelectObject(oldPen);
  dc->SelectObject(oldBrush);

  CRect box = cell;
  box.DeflateRect(8, 8);
  CString path;
  GetText(static_cast<int>(lpDrawItemStruct->itemID), path);
  CEMF metafile;
  if (!metafile.Load(path)) return;
  CSize size;
  if (!metafile.GetWidthHeight(size)) size = box.Size();
  size.cx = std::max<LONG>(size.cx, 1);
  size.cy = std::max<LONG>(size.cy, 1);
  RECT drawn{};
  if (CDVDImage::CalcZoomRect(box, size, &drawn, 1)) metafile.Draw(dc->GetSafeHdc(), drawn);
}

void CArtClipListBox::OnLButtonDown(UINT nFlags, CPoint point) {
  CListBox::OnLButtonDown(nFlags, point);
  CPoint screen = point;
  ClientToScreen(&screen);
  if (CWnd* parent = GetParent())
    parent->SendMessage(WM_ARTCLIP_BUTTONDOWN, nFlags, MAKELONG(screen.x, screen.y));
}

// The page.

BEGIN_MESSAGE_MAP(CPhotoEditOperArtClipPage, CPropertyPage)
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_DESTROY()
ON_CBN_SELCHANGE(IDC_ARTCLIP_STYLE, OnStyleChange)
ON_LBN_DBLCLK(IDC_ARTCLIP_LIST, OnClipArtDblClk)
ON_BN_CLICKED(IDC_ARTCLIP_MORE, OnMore)
ON_BN_CLICKED(IDC_ARTCLIP_ADD_TO_ALL, OnAddSelectedToAll)
ON_MESSAGE(WM_ARTCLIP_BUTTONDOWN, OnArtClipButtonDown)
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

CPhotoEditOperArtClipPage::CPhotoEditOperArtClipPage() : CPropertyPage(IDD_PHOTO_EDIT_ARTCLIP) {}

CPhotoEditOperArtClipPage::~CPhotoEditOperArtClipPage() {
  delete m_pDrag;
}

void CPhotoEditOperArtClipPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_ARTCLIP_STYLE, m_comboStyle);
  DDX_Control(pDX, IDC_ARTCLIP_LIST, m_listClipArt);
}

CString CPhotoEditOperArtClipPage::GetArtClipFolder() {
  return GetProject()->Get_strExeFilePath() + "\\ArtClip";
}

BOOL CPhotoEditOperArtClipPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_PHOTO_EDIT_ARTCLIP);
  m_brushBackground.CreateSolidBrush(GetSkinColor(SKIN_COLOR_PHOTO_CONFIGURE));
  if (m_pDrag == nullptr) m_pDrag = new CListBoxDragHelper(this, TRUE);
  m_listClipArt.SetColumnWidth(kCellSize);
  LoadStyles();
  return TRUE;
}

void CPhotoEditOperArtClipPage::LoadStyles() {
  if (m_strFolder.IsEmpty()) m_strFolder = GetArtClipFolder();
  const CString file = m_strFolder + "\\artclip.ini";
  CFileStatus status;
  if (Zorv_CFileGetStatus(file, status, 0)) {
    const int count =
        std::clamp<int>(static_cast<int>(GetPrivateProfileInt("Base", "StyleCount", 0, file)), 0, kMaxStyles);
    for (int i = 1; i <= count; ++i) {
      CString section;
      section.Format("Style%d", i);
      auto* style = new ClipArtStyle{};
      GetPrivateProfileString(section, "Name", "", style->name, kValueSize, file);
      GetPrivateProfileString(section, "Path", "", style->path, kValueSize, file);
      if (style->name[0] == '\0' || style->path[0] == '\0') {
        delete style;
        continue;
      }
      const int entry = m_comboStyle.AddString(style->name);
      m_comboStyle.SetItemDataPtr(entry, style);
    }
  }
  if (m_comboStyle.GetCount() > 0) m_comboStyle.SetCurSel(0);
  OnStyleChange();
}

void CPhotoEditOperArtClipPage::ListStyleFiles(const CString& folder, CStringArray& paths) {
  CFileFind finder;
  for (BOOL more = finder.FindFile(folder + "\\*.*"); more;) {
    more = finder.FindNextFile();
    if (finder.IsDots() || finder.IsDirectory()) continue;
    const CString ending = finder.GetFileName().Right(3);
    if (ending.CompareNoCase("EMF") == 0 || ending.CompareNoCase("WMF") == 0) paths.Add(finder.GetFilePath());
  }
}

void CPhotoEditOperArtClipPage::OnStyleChange() {
  const int entry = m_comboStyle.GetCurSel();
  if (entry < 0) return;
  const auto* style = static_cast<const ClipArtStyle*>(m_comboStyle.GetItemDataPtr(entry));
  if (style == nullptr || style == reinterpret_cast<const ClipArtStyle*>(-1)) return;
  m_nStyle = entry;
  m_listClipArt.ResetContent();
  CStringArray paths;
  ListStyleFiles(m_strFolder + "\\" + style->path, paths);
  for (INT_PTR i = 0; i < paths.GetSize(); ++i) {
    const int item = m_listClipArt.AddString(paths[i]);
    m_listClipArt.SetItemHeight(item, kCellSize);
  }
}

CSize CPhotoEditOperArtClipPage::FitClipArt(CSize picture, CRect* fitted) {
  picture.cx = std::max<LONG>(picture.cx, 1);
  picture.cy = std::max<LONG>(picture.cy, 1);
  RECT place{};
  // Fitted, never filled: under the project's "Scale to Fill" a 2:1 picture would be 240 wide,
  // past its 120 x 120 box, and a dropped clip art would land 60 pixels left of the grab point.
  if (!CDVDImage::CalcZoomRect(RECT{0, 0, kFitBox, kFitBox}, picture, &place, 1))
    place = RECT{0, 0, kFitBox, kFitBox};
  if (fitted != nullptr) *fitted = place;
  return CSize(place.right - place.left, place.bottom - place.top);
}

CPoint CPhotoEditOperArtClipPage::NextCascade(CPoint position, CSize canvas) {
  position.x += kCascadeStep;
  position.y += kCascadeStep;
  if (position.x >= canvas.cx - kCascadeMargin) position.x = kCascadeRestart;
  if (position.y >= canvas.cy - kCascadeMargin) position.y = kCascadeRestart;
  return position;
}

CWnd* CPhotoEditOperArtClipPage::CanvasWindow() const {
  return m_pCanvas != nullptr && ::IsWindow(m_pCanvas->GetSafeHwnd()) ? m_pCanvas : nullptr;
}

void CPhotoEditOperArtClipPage::AdvanceCascade() {
  CRect client(0, 0, 0, 0);
  if (CWnd* canvas = CanvasWindow()) canvas->GetClientRect(&client);
  m_cascade = NextCascade(m_cascade, client.Size());
}

BOOL CPhotoEditOperArtClipPage::AddToCanvas(const CString& path, int x, int y, int cx, int cy) {
  CWnd* canvas = CanvasWindow();
  return canvas != nullptr && static_cast<CPhotoEditCanvas*>(canvas)->AddClipArt(path, x, y, cx, cy);
}

BOOL CPhotoEditOperArtClipPage::CanvasHasSelection() const {
  CWnd* canvas = CanvasWindow();
  return canvas != nullptr && static_cast<CPhotoEditCanvas*>(canvas)->GetSelectedSprite() != nullptr;
}

BOOL CPhotoEditOperArtClipPage::AddPictureFile(const CString& path) {
  if (CanvasWindow() == nullptr) return FALSE;
  CString lower = path;
  lower.MakeLower();
  BOOL raster = FALSE;
  for (const char* ending : {".bmp", ".jpg", ".pcx", ".tif", ".png", ".jpeg", ".tiff"})
    raster = raster || lower.Right(static_cast<int>(strlen(ending))) == ending;
  const BOOL vector = lower.Right(4) == ".emf" || lower.Right(4) == ".wmf";
  if (!raster && !vector) return FALSE;
  return AddAtCascade(path, raster);
}

BOOL CPhotoEditOperArtClipPage::AddAtCascade(const CString& path, BOOL bRaster) {
  BOOL loaded = FALSE;
  const CSize size = PictureSize(path, bRaster, &loaded);
  if (!loaded) return FALSE;
  const CSize fitted = FitClipArt(size);
  const BOOL added = AddToCanvas(path, m_cascade.x, m_cascade.y, fitted.cx, fitted.cy);
  // The next one goes beside it even when the canvas refused this one.
  AdvanceCascade();
  return added;
}

void CPhotoEditOperArtClipPage::OnClipArtDblClk() {
  const int item = m_listClipArt.GetCurSel();
  if (item < 0 || CanvasWindow() == nullptr) return;
  CString path;
  m_listClipArt.GetText(item, path);
  AddAtCascade(path, FALSE);
}

void CPhotoEditOperArtClipPage::OnMore() {
  if (CanvasWindow() == nullptr) return;
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_EXPLORER, kMoreFilter, this,
                     GetOpenFileNameSize());
  std::vector<char> names(16384, '\0');
  dialog.m_ofn.lpstrFile = names.data();
  dialog.m_ofn.nMaxFile = static_cast<DWORD>(names.size());
  if (dialog.DoModal() != IDOK) return;
  AddPictureFile(dialog.GetPathName());
}

void CPhotoEditOperArtClipPage::OnAddSelectedToAll() {
  if (CWnd* canvas = CanvasWindow()) canvas->PostMessage(WM_COMMAND, ID_SPRITE_APPLY_TO_ALL);
}

LRESULT CPhotoEditOperArtClipPage::OnIdleUpdateCmdUI(WPARAM, LPARAM) {
  if (CWnd* button = GetDlgItem(IDC_ARTCLIP_ADD_TO_ALL)) {
    const BOOL enable = CanvasHasSelection();
    if ((button->IsWindowEnabled() != FALSE) != (enable != FALSE)) button->EnableWindow(enable);
  }
  return 0;
}

LRESULT CPhotoEditOperArtClipPage::OnArtClipButtonDown(WPARAM, LPARAM lParam) {
  CWnd* canvas = CanvasWindow();
  if (m_pDrag == nullptr || canvas == nullptr) return 0;
  CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
  if (CWnd::WindowFromPoint(point) != &m_listClipArt) return 0;
  m_listClipArt.ScreenToClient(&point);
  BOOL outside = TRUE;
  const int item = static_cast<int>(m_listClipArt.ItemFromPoint(point, outside));
  CRect cell;
  if (item < 0 || item >= m_listClipArt.GetCount() || m_listClipArt.GetItemRect(item, &cell) == LB_ERR ||
      !cell.PtInRect(point))
    return 0;
  m_grabOffset = point - cell.TopLeft();
  _tagDragInfo info;
  info.nKind = DRAG_KIND_LIST_BOX;
  info.pSource = &m_listClipArt;
  info.bDropOnSource = TRUE;
  info.nOwnerData[0] = item;
  info.nOwnerData[1] = outside;
  CPtrArray targets;
  targets.Add(canvas);
  if (m_pDrag->BeginDrag(&info, MAKELONG(point.x, point.y), &targets)) SetCapture();
  return 0;
}

void CPhotoEditOperArtClipPage::OnMouseMove(UINT nFlags, CPoint point) {
  if (m_pDrag != nullptr && m_pDrag->IsDragging()) m_pDrag->DragOver(nFlags, point);
  CPropertyPage::OnMouseMove(nFlags, point);
}

void CPhotoEditOperArtClipPage::OnLButtonUp(UINT nFlags, CPoint point) {
  if (m_pDrag == nullptr || !m_pDrag->IsDragging()) {
    CPropertyPage::OnLButtonUp(nFlags, point);
    return;
  }
  HWND source = nullptr, target = nullptr;
  const BOOL dropped = m_pDrag->Drop(nFlags, point, &source, &target);
  if (::GetCapture() == m_hWnd) ReleaseCapture();
  CWnd* canvas = CanvasWindow();
  if (dropped && canvas != nullptr && source == m_listClipArt.GetSafeHwnd() &&
      target == canvas->GetSafeHwnd()) {
    CPoint at = point;
    MapWindowPoints(canvas, &at, 1);
    at -= m_grabOffset;
    const int item = m_pDrag->GetDragInfo().nOwnerData[0];
    if (item >= 0 && item < m_listClipArt.GetCount()) {
      CString path;
      m_listClipArt.GetText(item, path);
      BOOL loaded = FALSE;
      const CSize size = PictureSize(path, FALSE, &loaded);
      if (loaded) {
        CRect fitted;
        FitClipArt(size, &fitted);
        AddToCanvas(path, at.x + fitted.left, at.y + fitted.top, fitted.Width(), fitted.Height());
      }
    }
  }
  CPropertyPage::OnLButtonUp(nFlags, point);
}

void CPhotoEditOperArtClipPage::OnDestroy() {
  for (int i = 0; i < m_comboStyle.GetCount(); ++i) {
    auto* style = static_cast<ClipArtStyle*>(m_comboStyle.GetItemDataPtr(i));
    if (style != reinterpret_cast<ClipArtStyle*>(-1)) delete style;
    m_comboStyle.SetItemDataPtr(i, nullptr);
  }
  CPropertyPage::OnDestroy();
}

void CPhotoEditOperArtClipPage::OnOK() {
  // Enter in the page must not end it.
}

BOOL CPhotoEditOperArtClipPage::OnEraseBkgnd(CDC* pDC) {
  return PhotoEditPageEraseBkgnd(*this, pDC);
}

HBRUSH CPhotoEditOperArtClipPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (HBRUSH brush = PhotoEditPageCtlColor(m_brushBackground, pDC, pWnd, nCtlColor, FALSE)) return brush;
  return CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
}
