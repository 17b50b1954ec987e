#include "albums/AlbumThemeDlg.h"

#include <cstring>
#include <string>

#include "albums/AlbumEditorDlg.h"
#include "albums/AlbumMessages.h"
#include "albums/AlbumOptionsOneDlg.h"
#include "albums/ThemePageRules.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDProject.h"
#include "modules/data/ShockwaveFlash.h"
#include "modules/image/CxImage.h"
#include "modules/log/Log.h"
#include "platform/com/AxHost.h"
#include "platform/kernel/FileFind.h"
#include "platform/kernel/Path.h"
#include "platform/kernel/Time.h"
#include "platform/kernel/Unicode.h"
#include "platform/mfc/DataExchange.h"
#include "render/PreviewMessages.h"
#include "shell/AlbumPageServices.h"
#include "shell/LanguageFile.h"
#include "shell/ProcessObjects.h"
#include "shell/UIHelpers.h"

#define IDS_CURRENT_THEME 57513
#define IDS_TITLES_CAPTION 57514
#define IDS_CREDITS_CAPTION 57516

namespace {

constexpr int kItemWidth = 180;
constexpr int kItemHeight = 140;
constexpr int kThumbWidth = 160;
constexpr int kThumbHeight = 120;
constexpr int kMovieWidth = 768;
constexpr int kMovieHeight = 576;
constexpr COLORREF kPreviewBack = RGB(221, 221, 221);

// A BSTR of UTF-8 text of at most `limit` characters, freed with the object.
class Bstr {
 public:
  Bstr(LPCTSTR text, int limit) {
    std::wstring wide(static_cast<size_t>(limit) + 1, L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), limit + 1);
    wide.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
    m_bstr = SysAllocString(wide.c_str());
  }
  ~Bstr() { SysFreeString(m_bstr); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  operator BSTR() const { return m_bstr; }

 private:
  BSTR m_bstr;
};

void SetMovieVariable(IShockwaveFlash* flash, LPCTSTR name, LPCTSTR value, int limit) {
  flash->SetVariable(Bstr(name, 64), Bstr(value, limit));
}

AlbumEditorDlg* Editor() {
  auto* editor = static_cast<AlbumEditorDlg*>(GetWindowRegistry()->m_pAlbumEditor);
  return editor != nullptr && editor->GetSafeHwnd() != nullptr ? editor : nullptr;
}

}  // namespace

void CThemeListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  lpMeasureItemStruct->itemWidth = kItemWidth;
  lpMeasureItemStruct->itemHeight = kItemHeight;
}

void CThemeListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct->itemID == static_cast<UINT>(-1)) return;
  CDC* target = CDC::FromHandle(lpDrawItemStruct->hDC);
  const CRect item(lpDrawItemStruct->rcItem);
  CDC memory;
  if (!memory.CreateCompatibleDC(target)) return;
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(target, item.Width(), item.Height());
  CBitmap* old = memory.SelectObject(&bitmap);
  const bool selected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
  memory.FillSolidRect(0, 0, item.Width(), item.Height(), selected ? RGB(175, 175, 223) : RGB(255, 255, 255));
  memory.SetStretchBltMode(HALFTONE);
  const auto* theme = reinterpret_cast<const _ALBUM_THEME*>(lpDrawItemStruct->itemData);
  if (theme != nullptr && theme->pThumbnail != nullptr && theme->pThumbnail->IsValid())
    theme->pThumbnail->Draw(memory.GetSafeHdc(), (item.Width() - kThumbWidth) / 2, (item.Height() - kThumbHeight) / 2,
                            static_cast<long>(theme->pThumbnail->GetWidth()),
                            static_cast<long>(theme->pThumbnail->GetHeight()));
  target->BitBlt(item.left, item.top, item.Width(), item.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
}

BEGIN_MESSAGE_MAP(CAlbumThemeDlg, CPropertyPage)
ON_LBN_SELCHANGE(IDC_THEME_LIST, OnThemeSelChange)
ON_WM_SHOWWINDOW()
ON_MESSAGE(WM_PAGE_SHOW, OnPageShow)
ON_MESSAGE(WM_APP_ACTIVE_CHANGED, OnAppActiveChanged)
ON_WM_SIZE()
ON_WM_TIMER()
ON_WM_DESTROY()
ON_WM_CTLCOLOR()
ON_WM_ERASEBKGND()
ON_WM_DRAWITEM()
ON_WM_MEASUREITEM()
ON_MESSAGE(WM_TITLE_PREVIEW, OnTitlePreview)
ON_MESSAGE(WM_CREDIT_PREVIEW, OnCreditPreview)
ON_MESSAGE(WM_PREPARE_PROJECT_SAVE, OnPrepareProjectSave)
ON_MESSAGE(WM_PROJECT_RELOADED, OnProjectReloaded)
ON_MESSAGE(WM_LANGUAGE_CHANGED, OnLanguageChanged)
ON_MESSAGE(WM_THEME_RELABEL, OnThemeRelabel)
END_MESSAGE_MAP()

CAlbumThemeDlg::CAlbumThemeDlg() : CPropertyPage(IDD_ALBUM_THEME), m_strTime("0:00:00") {}

CAlbumThemeDlg::~CAlbumThemeDlg() {
  StopPreview();
}

void CAlbumThemeDlg::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_THEME_LIST, m_listThemes);
  DDX_Text(pDX, IDC_THEME_TIME, m_strTime);
}

BOOL CAlbumThemeDlg::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_ALBUM_THEME);
  WriteLog("AlbumThemeDlg begin to initalize ...");
  m_brushPage.CreateSolidBrush(GetSkinColor(SKIN_COLOR_ORGANIZE_PAGE_2));
  WriteLog("AlbumThemeDlg begin to initalize (1)...");
  LoadThemes();
  m_bThemesLoaded = TRUE;
  WriteLog("AlbumThemeDlg begin to initalize (2)...");
  CreateTitleCreditPages();
  WriteLog("AlbumThemeDlg begin to initalize (3)...");
  CreateFlashWnd();
  WriteLog("AlbumThemeDlg finish to initalize ...");
  m_bInitialized = TRUE;
  CRect client;
  GetClientRect(&client);
  LayOut(client.Width(), client.Height());
  return TRUE;
}

void CAlbumThemeDlg::LoadThemes() {
  const CString program = GetProject()->Get_strExeFilePath();
  const CString folder(pictavo::path::ResolveNoCase(pictavo::path::Join(program.GetString(), "theme")).c_str());
  GetProject()->ResetThemeList();
  m_listThemes.ResetContent();
  CFileFind find;
  for (BOOL more = find.FindFile(folder + "/*.xml"); more && !m_bStopLoading;) {
    more = find.FindNextFile();
    if (find.IsDirectory()) continue;
    auto* theme = new _ALBUM_THEME;
    std::memset(theme, 0, sizeof *theme);
    if (!CAlbumEffect::ParseAlbumTheme(find.GetFilePath(), theme, program))
      WriteErrorLog("Theme file can not be read: %s", find.GetFilePath().GetString());
    if (theme->szThumbnailFile[0] != '\0') {
      auto* thumbnail = new CxImage;
      if (thumbnail->LoadScaled(theme->szThumbnailFile, kThumbWidth, kThumbHeight) && thumbnail->IsValid()) {
        theme->pThumbnail = thumbnail;
      } else {
        delete thumbnail;
      }
    }
    const int index = m_listThemes.AddString(theme->szThemeName);
    m_listThemes.SetItemDataPtr(index, theme);
    GetProject()->AddThemeToList(theme);
    g_albumThemeList.Add(theme);
  }
  find.Close();
}

void CAlbumThemeDlg::CreateTitleCreditPages() {
  const CString program = GetProject()->Get_strExeFilePath();
  struct Place {
    CAlbumTitleCreditPage& page;
    const char* list;
    int kind;
    UINT placeholder;
    UINT message;
    UINT caption;
  };
  const Place places[] = {
      {m_titlePage, "%s/title/titles.xml", 1, IDC_THEME_TITLE_PLACE, WM_TITLE_PREVIEW, IDS_TITLES_CAPTION},
      {m_creditPage, "%s/Credit/credits.xml", 0, IDC_THEME_CREDIT_PLACE, WM_CREDIT_PREVIEW, IDS_CREDITS_CAPTION},
  };
  for (const Place& place : places) {
    CString list;
    list.Format(place.list, program.GetString());
    place.page.Init(list, place.kind);
    place.page.Create(IDD_TITLE_CREDIT_PAGE, this);
    if (CWnd* holder = GetDlgItem(place.placeholder)) {
      CRect rc;
      holder->GetWindowRect(&rc);
      ScreenToClient(&rc);
      place.page.MoveWindow(&rc);
    }
    place.page.ShowWindow(SW_SHOW);
    place.page.SetNotifyMessage(place.message);
    place.page.SetCaption(place.caption);
  }
}

int CAlbumThemeDlg::CreateFlashWnd() {
  WriteLog("AlbumThemeDlg::CreateFlashWnd() begin to initalize ...");
  AtlAxWinInit();
  m_hFlashHost = ::CreateWindowEx(0, pictavo::com::kAxHostClassName, nullptr, 0, 0, 0, kMovieWidth, kMovieHeight,
                                  nullptr, nullptr, nullptr, nullptr);
  WriteLog("AlbumThemeDlg::CreateFlashWnd() begin to initalize (1)...");
  if (m_hFlashHost != nullptr) ::MoveWindow(m_hFlashHost, 0, 0, kMovieWidth, kMovieHeight, FALSE);
  WriteLog("AlbumThemeDlg::CreateFlashWnd() begin to initalize (2)...");
  HRESULT hr = CDVDProject::GetFlashInterface(&m_pFlash);
  WriteLog("AlbumThemeDlg::CreateFlashWnd() begin to initalize (3)..., hr = %08x", static_cast<unsigned>(hr));
  if (FAILED(hr) || m_pFlash == nullptr) return 0;
  long version = 0;
  hr = m_pFlash->FlashVersion(&version);
  WriteLog("AlbumThemeDlg::CreateFlashWnd() Check Flash Version, version = %08x, hr = %08x",
           static_cast<unsigned>(version), static_cast<unsigned>(hr));
  hr = m_pFlash->put_WMode(Bstr("transparent", 32));
  WriteLog("AlbumThemeDlg::CreateFlashWnd() begin to initalize (4)..., hr = %08x", static_cast<unsigned>(hr));
  HRESULT all = hr;
  hr = m_pFlash->put_ScaleMode(2);
  WriteLog("AlbumThemeDlg::CreateFlashWnd() begin to initalize (5)..., hr = %08x", static_cast<unsigned>(hr));
  all |= hr;
  hr = m_pFlash->put_Menu(FALSE);
  WriteLog("AlbumThemeDlg::CreateFlashWnd() begin to initalize (6)..., hr = %08x", static_cast<unsigned>(hr));
  all |= hr;
  all |= AtlAxAttachControl(m_pFlash, m_hFlashHost, nullptr);
  WriteLog("AlbumThemeDlg::CreateFlashWnd() finish to initalize ..., hr = %08x", static_cast<unsigned>(all));
  return 1;
}

void CAlbumThemeDlg::PlayEffectMovie(LPCTSTR lpszMovie, const _ALBUM_TEXT_SETTINGS* pText,
                                     CThemePreviewFrames::Kind kind) {
  StopPreview();
  IShockwaveFlash* flash = nullptr;
  if (SUCCEEDED(CDVDProject::GetFlashInterface(&flash)) && flash != nullptr) {
    flash->put_WMode(Bstr("transparent", 32));
    flash->put_ScaleMode(2);
    flash->put_Menu(FALSE);
    flash->put_Loop(FALSE);
    if (m_hFlashHost != nullptr) AtlAxAttachControl(flash, m_hFlashHost, nullptr);
    flash->LoadMovie(0, Bstr(lpszMovie != nullptr ? lpszMovie : "", 4096));
    flash->put_ScaleMode(2);
    if (pText != nullptr) {
      if (pText->szText[0] != '\0') SetMovieVariable(flash, "mytitle", pText->szText, 20480);
      if (SendsFontSize(pText->nFontSize)) {
        CString size;
        size.Format("%d", pText->nFontSize);
        SetMovieVariable(flash, "font_size", size, 64);
      }
      SetMovieVariable(flash, "backgroundColor", MovieColorText(pText->clrBackground), 64);
      SetMovieVariable(flash, "font_color", MovieColorText(pText->clrFont), 64);
    }
    if (FAILED(flash->QueryInterface(IID_IViewObjectEx, reinterpret_cast<void**>(&m_pView)))) m_pView = nullptr;
    flash->Play();
    if (m_pFlash != nullptr) m_pFlash->Release();
    m_pFlash = flash;
  } else {
    // No player: the data model draws what the movie would have shown.
    CDVDAlbumImage* album = m_pAlbum;
    const CString name = album != nullptr ? album->Get_strAlbumName() : CString();
    switch (kind) {
      case CThemePreviewFrames::Kind::kTheme:
        if (album != nullptr) m_frames.StartTheme(*album, album->GetAlbumEffect()->GetTheme());
        break;
      case CThemePreviewFrames::Kind::kTitle:
        m_frames.StartText(false, *pText, m_titlePage.GetDuration(), name);
        break;
      case CThemePreviewFrames::Kind::kCredit:
        m_frames.StartText(true, *pText, m_creditPage.GetDuration(), name);
        break;
      case CThemePreviewFrames::Kind::kNone:
        break;
    }
  }
  m_dwStartTick = GetTickCount();
  m_dwLastElapsed = static_cast<DWORD>(-1);
  m_nTimer = SetTimer(kPreviewTimer, 50, nullptr);
  DrawPreviewFrame();
}

void CAlbumThemeDlg::StopPreview() {
  if (m_nTimer != 0 && GetSafeHwnd() != nullptr) KillTimer(m_nTimer);
  m_nTimer = 0;
  if (m_pFlash != nullptr) {
    m_pFlash->Stop();
    m_pFlash->Release();
    m_pFlash = nullptr;
  }
  if (m_pView != nullptr) {
    m_pView->Release();
    m_pView = nullptr;
  }
  m_frames.Stop();
  // A flag left set would end the next preview at this one's duration.
  m_bTitlePreview = FALSE;
  m_bCreditPreview = FALSE;
}

CDVDAlbumImage* CAlbumThemeDlg::CurrentAlbum() {
  if (AlbumEditorDlg* editor = Editor()) return editor->GetCurrentImageAlbum();
  return m_pAlbum;
}

void CAlbumThemeDlg::ShowThemeName(const _ALBUM_THEME* pTheme) {
  CString label;
  label.Format(LoadLangString(IDS_CURRENT_THEME).GetString(),
               pTheme == nullptr || CAlbumEffect::IsThemeNone(pTheme) ? "No Theme" : pTheme->szThemeName);
  SetDlgItemText(IDC_THEME_CURRENT, label);
}

void CAlbumThemeDlg::SelectTheme(const _ALBUM_THEME* pTheme) {
  int found = -1;
  for (int i = 0; pTheme != nullptr && i < m_listThemes.GetCount(); ++i)
    if (m_listThemes.GetItemDataPtr(i) == pTheme) found = i;
  m_listThemes.SetCurSel(found);
  ShowThemeName(found >= 0 ? pTheme : nullptr);
}

void CAlbumThemeDlg::CommitPages() {
  // An album that left the project takes nothing: its records are gone with it.
  if (m_pAlbum != nullptr && GetProject()->IndexOfAlbum(m_pAlbum) < 0) {
    m_titlePage.ForgetSettings();
    m_creditPage.ForgetSettings();
    m_pAlbum = nullptr;
  }
  m_titlePage.SaveSettings();
  m_creditPage.SaveSettings();
}

void CAlbumThemeDlg::SetAlbum(CDVDAlbumImage* pAlbum) {
  if (GetSafeHwnd() == nullptr) {
    m_pAlbum = pAlbum;
    return;
  }
  if (pAlbum != m_pAlbum) CommitPages();
  m_pAlbum = pAlbum;
  if (pAlbum == nullptr) {
    StopPreview();
    m_titlePage.SetSettings(nullptr);
    m_creditPage.SetSettings(nullptr);
    DrawPreviewFrame();
    return;
  }
  SelectTheme(pAlbum->GetAlbumEffect()->GetTheme());
  if (m_bVisible && m_bPageShow) {
    ApplyAlbumEffects(pAlbum);
  } else {
    m_titlePage.SetSettings(pAlbum->GetAlbumEffect()->GetTitleSettings(), pAlbum);
    m_creditPage.SetSettings(pAlbum->GetAlbumEffect()->GetCreditSettings(), pAlbum);
  }
}

void CAlbumThemeDlg::ApplyAlbumEffects(CDVDAlbumImage* pAlbum) {
  if (pAlbum == nullptr) return;
  CAlbumEffect* effect = pAlbum->GetAlbumEffect();
  m_titlePage.SetSettings(effect->GetTitleSettings(), pAlbum);
  m_creditPage.SetSettings(effect->GetCreditSettings(), pAlbum);
  const _ALBUM_THEME* theme = effect->GetTheme();
  PlayEffectMovie(theme != nullptr ? theme->szMovieFile : "", effect->GetThemeTextSettings(),
                  CThemePreviewFrames::Kind::kTheme);
}

void CAlbumThemeDlg::OnThemeSelChange() {
  const int selected = m_listThemes.GetCurSel();
  if (selected < 0) return;
  auto* theme = static_cast<_ALBUM_THEME*>(m_listThemes.GetItemDataPtr(selected));
  if (theme == nullptr || theme == reinterpret_cast<_ALBUM_THEME*>(-1)) return;
  CDVDAlbumImage* album = CurrentAlbum();
  if (album != nullptr) {
    if (album != m_pAlbum) {
      CommitPages();
      m_pAlbum = album;
    }
    album->SetAlbumTheme(theme);
    ShowThemeName(theme);
    if (AlbumEditorDlg* editor = Editor()) editor->GetAlbumList().Invalidate();
    if (auto* options = static_cast<AlbumOptionsOneDlg*>(GetWindowRegistry()->m_pAlbumOptionsOne);
        options != nullptr && options->GetSafeHwnd() != nullptr)
      options->RebuildTimeline();
    WriteLog("Album \"%s\" takes the theme \"%s\"", album->Get_strAlbumName().GetString(), theme->szThemeName);
  }
  ApplyAlbumEffects(album);
}

void CAlbumThemeDlg::StartPreview(BOOL bOn) {
  if (!m_bInitialized) return;
  if (!bOn) {
    CommitPages();
    StopPreview();
    return;
  }
  CDVDAlbumImage* album = CurrentAlbum();
  if (album != m_pAlbum) {
    SetAlbum(album);
    return;
  }
  if (album == nullptr) return;
  SelectTheme(album->GetAlbumEffect()->GetTheme());
  ApplyAlbumEffects(album);
}

void CAlbumThemeDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
  CPropertyPage::OnShowWindow(bShow, nStatus);
  m_bVisible = bShow;
  StartPreview(bShow);
}

LRESULT CAlbumThemeDlg::OnPageShow(WPARAM wParam, LPARAM) {
  m_bPageShow = wParam != 0;
  StartPreview(m_bVisible && wParam != 0);
  return 0;
}

LRESULT CAlbumThemeDlg::OnAppActiveChanged(WPARAM wParam, LPARAM) {
  PostMessage(WM_PAGE_SHOW, wParam, 0);
  return 1;
}

void CAlbumThemeDlg::StartTextPreview(CAlbumTitleCreditPage& page, bool credits) {
  PlayEffectMovie(page.GetSelectedEffectFile(), &page.GetLocalSettings(),
                  credits ? CThemePreviewFrames::Kind::kCredit : CThemePreviewFrames::Kind::kTitle);
  // Set after the start, which stops whatever ran before and clears both flags.
  (credits ? m_bCreditPreview : m_bTitlePreview) = TRUE;
  m_strTime = PreviewSecondsText(0);
  SetDlgItemText(IDC_THEME_TIME, m_strTime);
}

LRESULT CAlbumThemeDlg::OnTitlePreview(WPARAM, LPARAM) {
  StartTextPreview(m_titlePage, false);
  return 0;
}

LRESULT CAlbumThemeDlg::OnCreditPreview(WPARAM, LPARAM) {
  StartTextPreview(m_creditPage, true);
  return 0;
}

void CAlbumThemeDlg::PaintPreview(CDC* pDC, const CRect& area) {
  pDC->FillSolidRect(&area, kPreviewBack);
  const RECT box = PreviewLetterbox(area.Width(), area.Height());
  const CRect frame(box);
  pDC->FillSolidRect(&frame, RGB(0, 0, 0));
  if (m_pView != nullptr) {
    if (m_hFlashHost != nullptr)
      ::SetWindowPos(m_hFlashHost, nullptr, 0, 0, frame.Width(), frame.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    m_pView->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, pDC->GetSafeHdc(), &box, nullptr, nullptr, 0);
    return;
  }
  if (CxImage* picture = m_frames.Frame(GetTickCount() - m_dwStartTick, frame.Width(), frame.Height()))
    picture->Draw(pDC->GetSafeHdc(), box, nullptr, true);
}

void CAlbumThemeDlg::DrawPreviewFrame() {
  CWnd* area = GetDlgItem(IDC_THEME_PREVIEW);
  if (area == nullptr) return;
  CRect rc;
  area->GetClientRect(&rc);
  if (rc.IsRectEmpty()) return;
  CClientDC dc(area);
  m_buffer.Create(rc.Width(), rc.Height(), 24, &dc);
  CDC memory;
  if (!memory.CreateCompatibleDC(&dc)) {
    WriteErrorLog("\nError while CreateCompatibleDC at AlbumThemeDlg");
    return;
  }
  CBitmap* old = memory.SelectObject(m_buffer.GetBitmap());
  PaintPreview(&memory, rc);
  dc.BitBlt(0, 0, rc.Width(), rc.Height(), &memory, 0, 0, SRCCOPY);
  memory.SelectObject(old);
}

void CAlbumThemeDlg::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kPreviewTimer) {
    CPropertyPage::OnTimer(nIDEvent);
    return;
  }
  if (GetDlgItem(IDC_THEME_PREVIEW) == nullptr || (m_pView == nullptr && m_frames.GetKind() == CThemePreviewFrames::Kind::kNone))
    return;
  DrawPreviewFrame();
  if (!m_bTitlePreview && !m_bCreditPreview) return;
  const DWORD elapsed = GetTickCount() - m_dwStartTick;
  if (elapsed / 1000 != m_dwLastElapsed / 1000 || m_dwLastElapsed == static_cast<DWORD>(-1)) {
    m_strTime = PreviewSecondsText(elapsed);
    SetDlgItemText(IDC_THEME_TIME, m_strTime);
  }
  m_dwLastElapsed = elapsed;
  CAlbumTitleCreditPage& page = m_bTitlePreview ? m_titlePage : m_creditPage;
  if (elapsed > static_cast<DWORD>(page.GetDuration()) * 1000) {
    WriteLog("Theme page: %s preview ended after %u frames", m_bTitlePreview ? "title" : "credit",
             static_cast<unsigned>(m_frames.FramesShown()));
    StopPreview();
    PostMessage(WM_PAGE_SHOW, 1, 0);
  }
}

void CAlbumThemeDlg::OnSize(UINT nType, int cx, int cy) {
  CPropertyPage::OnSize(nType, cx, cy);
  LayOut(cx, cy);
}

void CAlbumThemeDlg::LayOut(int cx, int cy) {
  if (!m_bInitialized || cx == 0 || cy == 0) return;
  CWnd* title = GetDlgItem(IDC_THEME_TITLE_PLACE);
  CWnd* credit = GetDlgItem(IDC_THEME_CREDIT_PLACE);
  CWnd* preview = GetDlgItem(IDC_THEME_PREVIEW);
  if (title == nullptr || credit == nullptr || preview == nullptr || m_listThemes.GetSafeHwnd() == nullptr) return;
  auto rectOf = [this](CWnd* wnd) {
    CRect rc;
    wnd->GetWindowRect(&rc);
    ScreenToClient(&rc);
    return rc;
  };
  const CRect t = rectOf(title);
  const CRect l = rectOf(&m_listThemes);
  const CRect p = rectOf(preview);
  const ThemePageLayout layout = LayOutThemePage(cx, cy, t, l, p.top, p.Height());
  const CRect pv(layout.preview);
  preview->MoveWindow(&pv);
  if (CWnd* label = GetDlgItem(IDC_THEME_PREVIEW_LABEL)) {
    const CRect rc = rectOf(label);
    label->MoveWindow(layout.labelX, rc.top, rc.Width(), rc.Height());
  }
  if (CWnd* time = GetDlgItem(IDC_THEME_TIME)) {
    const CRect rc = rectOf(time);
    time->MoveWindow(pv.right - rc.Width(), rc.top, rc.Width(), rc.Height());
  }
  title->MoveWindow(&layout.titlePage);
  credit->MoveWindow(&layout.creditPage);
  if (m_titlePage.GetSafeHwnd() != nullptr) m_titlePage.MoveWindow(&layout.titlePage);
  if (m_creditPage.GetSafeHwnd() != nullptr) m_creditPage.MoveWindow(&layout.creditPage);
  m_listThemes.MoveWindow(&layout.list);
  if (CWnd* current = GetDlgItem(IDC_THEME_CURRENT)) {
    const CRect rc = rectOf(current);
    current->MoveWindow(layout.list.left, rc.top, layout.list.right - layout.list.left, rc.Height());
  }
  Invalidate();
}

void CAlbumThemeDlg::OnDestroy() {
  m_bStopLoading = TRUE;
  StopPreview();
  if (m_hFlashHost != nullptr) {
    ::DestroyWindow(m_hFlashHost);
    m_hFlashHost = nullptr;
  }
  CPropertyPage::OnDestroy();
}

HBRUSH CAlbumThemeDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
  if (pWnd == nullptr || m_brushPage.GetSafeHandle() == nullptr || nCtlColor != CTLCOLOR_STATIC) return brush;
  char className[16] = {};
  ::GetClassName(pWnd->GetSafeHwnd(), className, sizeof className);
  const CString cls(className);
  if (cls.CompareNoCase("Static") == 0 || cls.CompareNoCase("Button") == 0) {
    pDC->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(m_brushPage.GetSafeHandle());
  }
  return brush;
}

BOOL CAlbumThemeDlg::OnEraseBkgnd(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  for (UINT id : {IDC_THEME_PREVIEW, IDC_THEME_TITLE_PLACE, IDC_THEME_CREDIT_PLACE, IDC_THEME_PREVIEW_LABEL,
                  IDC_THEME_CURRENT, IDC_THEME_LIST}) {
    CWnd* control = GetDlgItem(id);
    if (control == nullptr || !control->IsWindowVisible()) continue;
    CRect rc;
    control->GetWindowRect(&rc);
    ScreenToClient(&rc);
    pDC->ExcludeClipRect(&rc);
  }
  pDC->FillSolidRect(&client, GetSkinColor(SKIN_COLOR_ORGANIZE_PAGE_2));
  return TRUE;
}

void CAlbumThemeDlg::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (nIDCtl != IDC_THEME_PREVIEW) {
    CPropertyPage::OnDrawItem(nIDCtl, lpDrawItemStruct);
    return;
  }
  CDC* dc = CDC::FromHandle(lpDrawItemStruct->hDC);
  PaintPreview(dc, CRect(lpDrawItemStruct->rcItem));
}

void CAlbumThemeDlg::OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  CPropertyPage::OnMeasureItem(nIDCtl, lpMeasureItemStruct);
}

LRESULT CAlbumThemeDlg::OnPrepareProjectSave(WPARAM, LPARAM) {
  CommitPages();
  return 1;
}

LRESULT CAlbumThemeDlg::OnProjectReloaded(WPARAM, LPARAM) {
  // The records the pages point into went with the old project: forget them, write nothing.
  StopPreview();
  m_titlePage.ForgetSettings();
  m_creditPage.ForgetSettings();
  m_pAlbum = nullptr;
  return 1;
}

LRESULT CAlbumThemeDlg::OnLanguageChanged(WPARAM, LPARAM) {
  m_titlePage.ShowEnableCheck(FALSE);
  m_creditPage.ShowEnableCheck(FALSE);
  TranslateDialog(m_hWnd, IDD_ALBUM_THEME);
  PostMessage(WM_THEME_RELABEL, 0, 0);
  Invalidate();
  return 1;
}

LRESULT CAlbumThemeDlg::OnThemeRelabel(WPARAM, LPARAM) {
  m_titlePage.SetCaption(IDS_TITLES_CAPTION);
  m_creditPage.SetCaption(IDS_CREDITS_CAPTION);
  m_titlePage.ShowEnableCheck(TRUE);
  m_creditPage.ShowEnableCheck(TRUE);
  return 1;
}
