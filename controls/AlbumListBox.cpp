#include "controls/AlbumListBox.h"

#include <strings.h>

#include "modules/data/AlbumTextSettings.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDAlbumMovie.h"
#include "platform/comctl/AfxImageList.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMinor.h"

namespace {

void LoadCard(CBitmap& bitmap, const CString& path) {
  bitmap.DeleteObject();
  if (path.IsEmpty()) return;
  HANDLE image = ::LoadImage(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_DEFAULTSIZE);
  if (image != nullptr) bitmap.Attach(image);
}

void DrawLine(CDC* dc, const CString& text, const CRect& rect) {
  CRect box = rect;
  dc->DrawText(text, &box, DT_END_ELLIPSIS);
}

}  // namespace

IMPLEMENT_DYNAMIC(CMyListBoxA, CListBox)

BEGIN_MESSAGE_MAP(CMyListBoxA, CListBox)
ON_WM_LBUTTONDOWN()
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
END_MESSAGE_MAP()

CMyListBoxA::CMyListBoxA() = default;

CMyListBoxA::~CMyListBoxA() {
  FreeBitmaps();
}

void CMyListBoxA::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemHeight = AlbumCardLayout::kItemHeight;
  lpMeasureItemStruct->itemWidth = 20;
}

int CMyListBoxA::CompareItem(LPCOMPAREITEMSTRUCT) {
  return 0;
}

void CMyListBoxA::FreeBitmaps() {
  m_bmpNormal.DeleteObject();
  m_bmpSelected.DeleteObject();
  m_bmpGrayed.DeleteObject();
  m_bmpNormalVideo.DeleteObject();
  m_bmpSelectedVideo.DeleteObject();
  m_bmpGrayedVideo.DeleteObject();
}

void CMyListBoxA::LoadBitmaps() {
  FreeBitmaps();
  const CSkinAlbumList& skin = GetSkinMinor()->GetAlbumList();
  LoadCard(m_bmpNormal, skin.GetNormal());
  LoadCard(m_bmpSelected, skin.GetSelected());
  LoadCard(m_bmpGrayed, skin.GetGrayed());
  LoadCard(m_bmpNormalVideo, skin.GetNormalVideo());
  LoadCard(m_bmpSelectedVideo, skin.GetSelectedVideo());
  LoadCard(m_bmpGrayedVideo, skin.GetGrayedVideo());
  HIMAGELIST marks = GetSkinMinor()->GetMiscBitmaps().m_hAlbumMarks;
  m_pSkinImageList = marks != nullptr ? CImageList::FromHandle(marks) : nullptr;
  m_bBitmapsLoaded = TRUE;
}

CString CMyListBoxA::NumberText(int itemID) {
  CString text;
  text.Format("%02d", itemID + 1);
  return text;
}

CString CMyListBoxA::NameText(const CDVDAlbumBase* album) {
  CString text;
  text.Format(LoadLangString(57519), static_cast<LPCTSTR>(album->Get_strAlbumName()));
  return text;
}

CString CMyListBoxA::CountText(const CDVDAlbumBase* album) {
  CString text;
  if (album->IsMovieAlbum())
    text.Format(LoadLangString(277), static_cast<const CDVDAlbumMovie*>(album)->Get_nVideoItemCount());
  else if (album->IsImageAlbum())
    text.Format(LoadLangString(57520),
                static_cast<int>(static_cast<const CDVDAlbumImage*>(album)->m_arrImages.GetSize()));
  return text;
}

BOOL CMyListBoxA::ShowsMusicMark(const CDVDAlbumBase* album) {
  return album->IsImageAlbum() && !static_cast<const CDVDAlbumImage*>(album)->m_listAudio.IsEmpty();
}

CString CMyListBoxA::ThemeText(const CDVDAlbumBase* album) {
  const CAlbumEffect* effect = album->GetAlbumEffect();
  if (effect->HasTheme()) {
    const _ALBUM_THEME* theme = effect->GetTheme();
    if (strcasecmp(theme->szThemeName, "_no_theme") != 0) {
      CString text;
      text.Format(LoadLangString(57522), theme->szThemeName);
      return text;
    }
  }
  return LoadLangString(57521);
}

void CMyListBoxA::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->itemID == static_cast<UINT>(-1)) return;
  if (!m_bBitmapsLoaded) LoadBitmaps();
  CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
  const RECT r = lpDrawItemStruct->rcItem;
  const int item = static_cast<int>(lpDrawItemStruct->itemID);
  auto* object = reinterpret_cast<CObject*>(GetItemData(item));
  CDVDAlbumBase* album = object != nullptr && object->IsKindOf(RUNTIME_CLASS(CDVDAlbumBase))
                             ? static_cast<CDVDAlbumBase*>(object)
                             : nullptr;
  const BOOL video = album != nullptr && album->IsMovieAlbum();

  CBitmap* card = nullptr;
  int s = 1;
  if (album != nullptr && album->m_bDropHighlight) {
    card = video ? &m_bmpSelectedVideo : &m_bmpSelected;
    s = 0;
  } else if ((lpDrawItemStruct->itemState & ODS_SELECTED) != 0) {
    if ((lpDrawItemStruct->itemState & ODS_FOCUS) != 0)
      card = video ? &m_bmpSelectedVideo : &m_bmpSelected;
    else
      card = video ? &m_bmpGrayedVideo : &m_bmpGrayed;
  } else {
    card = video ? &m_bmpNormalVideo : &m_bmpNormal;
  }

  dc->SetStretchBltMode(HALFTONE);
  if (card->GetSafeHandle() != nullptr) {
    BITMAP info{};
    card->GetObject(sizeof info, &info);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(card);
    const CRect to = AlbumCardLayout::Card(r);
    dc->StretchBlt(to.left, to.top, to.Width(), to.Height(), &memory, 0, 0, info.bmWidth, info.bmHeight,
                   SRCCOPY);
    memory.SelectObject(old);
  }

  if (album != nullptr) {
    const CRect thumb = AlbumCardLayout::Thumbnail(r);
    album->DrawThumbnail(dc->GetSafeHdc(), thumb, POINT{0, 0}, SIZE{38, 44}, 1, 0);
  }

  dc->SetBkMode(TRANSPARENT);
  DrawLine(dc, NumberText(item), AlbumCardLayout::Number(r, s));
  if (album == nullptr) return;

  dc->SetTextColor(RGB(0, 0, 0));
  DrawLine(dc, NameText(album), AlbumCardLayout::Name(r, s));
  DrawLine(dc, CountText(album), AlbumCardLayout::Count(r, s));
  if (ShowsMusicMark(album) && m_pSkinImageList != nullptr)
    m_pSkinImageList->Draw(dc, 0, AlbumCardLayout::MusicMark(r, s), ILD_TRANSPARENT);
  DrawLine(dc, ThemeText(album), AlbumCardLayout::Theme(r, s));
}

void CMyListBoxA::OnLButtonDown(UINT nFlags, CPoint point) {
  CListBox::OnLButtonDown(nFlags, point);
  CWnd* parent = GetParent();
  if (parent == nullptr || !::IsWindow(GetSafeHwnd())) return;
  CPoint screen = point;
  ClientToScreen(&screen);
  parent->SendMessage(WM_ALBUM_DRAG_DROP, nFlags, MAKELONG(screen.x, screen.y));
}

LRESULT CMyListBoxA::OnLanguageChanged(WPARAM, LPARAM) {
  LoadBitmaps();
  return 1;
}
