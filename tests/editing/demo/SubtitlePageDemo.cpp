// The subtitle page, which no window of the program opens, in a small host window: an album of
// three sample photos whose first slide the page edits. The host does what the page leaves to
// its host: it gives the page the slide and the album before creating it and, when it closes,
// stores the page's text into the slide. Then every slide's subtitle and the album's subtitle
// font go to the log file. The tests drive it with the input script (PICTAVO_SCRIPT) on the
// headless display; the window closes after the script.
//
//   subtitle_page_demo --log FILE
#include <fstream>
#include <string>

#include "editing/PhotoEditOperSubtitlePage.h"
#include "modules/data/DVDAlbumImage.h"
#include "modules/data/DVDImage.h"
#include "modules/data/DVDProject.h"
#include "platform/comctl/CommCtrl.h"
#include "platform/display/Display.h"
#include "platform/mfc/Afx.h"
#include "platform/res/ResourceModule.h"
#include "shell/LanguageFile.h"
#include "shell/SkinMain.h"
#include "tests/support/DemoScript.h"

namespace {

std::ofstream g_log;

class CHostWnd : public CWnd {
 public:
  BOOL CreateHost(CDVDAlbumImage* album) {
    m_pAlbum = album;
    const CString cls =
        AfxRegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(0, cls, "Subtitle Page Demo", WS_POPUP | WS_CAPTION | WS_SYSMENU, CRect(40, 40, 480, 300),
                    nullptr, 0);
  }

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    m_page.SetImage(m_pAlbum->GetImage(0));
    m_page.SetAlbum(m_pAlbum);
    if (!m_page.Create(IDD_PHOTO_EDIT_SUBTITLE, this)) return -1;
    // The window fits the page.
    CRect page, window, client;
    m_page.GetWindowRect(&page);
    GetWindowRect(&window);
    GetClientRect(&client);
    SetWindowPos(nullptr, 0, 0, page.Width() + window.Width() - client.Width(),
                 page.Height() + window.Height() - client.Height(), SWP_NOMOVE | SWP_NOZORDER);
    m_page.ShowWindow(SW_SHOW);
    return 0;
  }
  afx_msg void OnClose() {
    CString text;
    m_page.GetDlgItemText(1307, text);
    m_pAlbum->GetImage(0)->Set_strSubtitle(text);
    m_page.DestroyWindow();  // the page stores the font as it goes
    for (int i = 0; i < m_pAlbum->GetImageCount(); ++i)
      g_log << "subtitle " << i << " " << m_pAlbum->GetImage(i)->Get_strOrgSubtilte().GetString() << '\n';
    const CDVDSubtitleFont& font = m_pAlbum->GetDVDSubtitleFont();
    g_log << "font size " << font.Get_nFontSize() << '\n'
          << "font charset " << font.Get_strCharset().GetString() << '\n'
          << "font file " << font.Get_strFontFileName().GetString() << '\n';
    g_log.flush();
    DestroyWindow();
  }
  void PostNcDestroy() override { PostQuitMessage(0); }
  DECLARE_MESSAGE_MAP()

 private:
  CPhotoEditOperSubtitlePage m_page;
  CDVDAlbumImage* m_pAlbum = nullptr;
};

BEGIN_MESSAGE_MAP(CHostWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
END_MESSAGE_MAP()

}  // namespace

int main(int argc, char** argv) {
  std::string log;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--log") log = argv[++i];
  if (log.empty()) return 2;
  g_log.open(log);
  if (!pictavo::display::Initialize()) return 1;
  InitCommonControls();
  pictavo::res::SetResourceRoot(std::string(PICTAVO_BIN_DIR) + "/resources");
  const std::string data = std::string(PICTAVO_SOURCE_DIR) + "/data";
  pictavo::shell::SetLanguageRoot(data);
  g_skinMain.Load(data.c_str(), "zel_en.xml", FALSE);

  CDVDAlbumImage* album = GetProject()->AllocImageAlbum(nullptr);
  GetProject()->AddAlbum(album);
  for (const char* photo : {"beach_landscape.jpg", "tower_portrait.jpg", "valley_large.jpg"}) {
    auto* slide = new CDVDImage(album);
    slide->Put_strPathName((std::string(PICTAVO_SOURCE_DIR) + "/samples/media/" + photo).c_str());
    album->AddDVDImage(slide);
  }
  album->GetImage(0)->Set_strSubtitle("Beach");
  CDVDSubtitleFont font;
  font.Set_nFontSize(24);
  album->SetDVDSubtitleFont(font);

  CHostWnd host;
  if (!host.CreateHost(album)) return 1;
  host.ShowWindow(SW_SHOW);
  if (!pictavo::test::StartDemoScript(host.m_hWnd)) return 1;
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessage(host.m_hWnd, &msg)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
  return 0;
}
