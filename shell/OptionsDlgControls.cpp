#include "shell/OptionsDlgControls.h"

#include <string>

#include "modules/data/DVDProject.h"
#include "platform/base/Utf8.h"
#include "platform/gdiplus/GdiPlus.h"
#include "platform/kernel/Path.h"
#include "platform/mfc/Dc.h"

namespace {

// A picture of the program's "images" folder, found without regard to case; null when missing.
HBITMAP LoadProgramImage(const char* name) {
  const std::string path =
      pictavo::path::ResolveDataPath(pictavo::path::Join(CDVDProject::GetExeFilePath().View(), name));
  return static_cast<HBITMAP>(
      ::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE));
}

}  // namespace

BEGIN_MESSAGE_MAP(COptionsCategoryList, CListBox)
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void COptionsCategoryList::LoadImages() {
  if (HBITMAP selected = LoadProgramImage("images/opt_listbox_select.bmp")) {
    m_bmpSelected.DeleteObject();
    m_bmpSelected.Attach(selected);
  }
  HBITMAP strip = LoadProgramImage("images/opt_images_list_normal.bmp");
  if (strip == nullptr) return;
  m_bmpStrip.DeleteObject();
  m_bmpStrip.Attach(strip);
  BITMAP info{};
  if (m_bmpStrip.GetObject(sizeof info, &info) != 0 && info.bmHeight > 0) {
    m_images.DeleteImageList();
    if (m_images.Create(info.bmHeight, info.bmHeight, ILC_COLOR24 | ILC_MASK, 0, 0))
      m_images.Add(&m_bmpStrip, RGB(255, 0, 255));
  }
  m_bmpStrip.DeleteObject();
}

void COptionsCategoryList::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemHeight = kItemHeight;
}

void COptionsCategoryList::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->itemID == static_cast<UINT>(-1)) return;
  CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
  CRect item(lpDrawItemStruct->rcItem);
  if ((lpDrawItemStruct->itemState & ODS_SELECTED) != 0 && m_bmpSelected.GetSafeHandle() != nullptr) {
    CDC memory;
    if (memory.CreateCompatibleDC(dc)) {
      CBitmap* old = memory.SelectObject(&m_bmpSelected);
      dc->BitBlt(item.left + 2, item.top, item.Width(), item.Height(), &memory, 0, 0, SRCCOPY);
      memory.SelectObject(old);
    }
  } else {
    dc->FillSolidRect(&item, kBackground);
    item.DeflateRect(1, 1);
  }
  if (m_images.GetSafeHandle() != nullptr)
    m_images.Draw(dc, static_cast<int>(lpDrawItemStruct->itemData),
                  CPoint((item.left + item.right) / 2 - 16, item.top + 4), ILD_TRANSPARENT);
  CString text;
  GetText(static_cast<int>(lpDrawItemStruct->itemID), text);
  CRect band(item.left, item.bottom - 18, item.right, item.bottom - 6);
  const int oldMode = dc->SetBkMode(TRANSPARENT);
  const COLORREF oldColor = dc->SetTextColor(RGB(0, 0, 0));
  dc->DrawText(text, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  dc->SetTextColor(oldColor);
  dc->SetBkMode(oldMode);
}

BOOL COptionsCategoryList::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  pDC->FillSolidRect(&client, kBackground);
  return TRUE;
}

BEGIN_MESSAGE_MAP(COptionsTitleStatic, CStatic)
ON_WM_ERASEBKGND()
ON_WM_PAINT()
END_MESSAGE_MAP()

void COptionsTitleStatic::SetTitle(LPCTSTR lpszTitle) {
  m_strTitle = lpszTitle;
  Invalidate(TRUE);
}

BOOL COptionsTitleStatic::OnEraseBkgnd(CDC* pDC) {
  return CStatic::OnEraseBkgnd(pDC);
}

void COptionsTitleStatic::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  Gdiplus::Graphics graphics(dc.GetSafeHdc());
  Gdiplus::LinearGradientBrush gradient(Gdiplus::Point(client.left, client.top),
                                        Gdiplus::Point(client.right, client.top), Gdiplus::Color(0xFFACC4DD),
                                        Gdiplus::Color(0xFFFFFFFF));
  gradient.SetWrapMode(Gdiplus::WrapModeTile);
  graphics.FillRectangle(&gradient, client.left, client.top, client.Width(), client.Height());

  Gdiplus::FontFamily arial(L"Arial");
  const Gdiplus::FontFamily* family = &arial;
  if (arial.GetLastStatus() != Gdiplus::Ok || !arial.IsAvailable())
    family = Gdiplus::FontFamily::GenericSansSerif();
  Gdiplus::Font font(family, 10, Gdiplus::FontStyleBold, Gdiplus::UnitPoint);
  const std::wstring title = pictavo::utf8::ToWide(m_strTitle.View());
  Gdiplus::SolidBrush shadow(Gdiplus::Color(0xC8000000));
  Gdiplus::SolidBrush white(Gdiplus::Color(0xFFFFFFFF));
  graphics.DrawString(title.c_str(), -1, &font, Gdiplus::PointF(18, 4), nullptr, &shadow);
  graphics.DrawString(title.c_str(), -1, &font, Gdiplus::PointF(17, 3), nullptr, &white);
}
