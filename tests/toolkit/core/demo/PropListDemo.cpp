// A window with one property list filled as the encode options page fills it: the active
// profile of the profile folder's active group, its video and audio options as two groups, the
// read-only options disabled, the choices as options and the valid characters of each value.
// The tests drive it with the input script (PICTAVO_SCRIPT) on the headless display; every
// change the list reports is written to the log file, and the window closes after the script.
//
//   proplist_demo --profiles DIR --log FILE [--manager classic|xp|winxp] [--layout]
//
// --layout writes the rows' rectangles to the log and exits without a script.
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "modules/data/OutputProfile.h"
#include "platform/com/OleAuto.h"
#include "platform/display/Display.h"
#include "platform/display/Script.h"
#include "platform/display/ScriptPlayer.h"
#include "platform/mfc/Afx.h"
#include "tests/support/DemoLoop.h"
#include "toolkit/core/PlxProp.h"
#include "toolkit/core/PlxPropList.h"
#include "toolkit/core/PlxVisualManager.h"
#include "toolkit/core/PlxWinXPVisualManager.h"

namespace {

constexpr UINT kListId = 100;
const UINT kPropertyChanged = PlxPropertyChangedMessage();

std::ofstream g_log;

void Log(const std::string& line) {
  g_log << line << '\n';
  g_log.flush();
}

class CDemoWnd : public CWnd {
 public:
  BOOL CreateDemo() {
    const CString cls =
        AfxRegisterWndClass(0, LoadCursor(nullptr, IDC_ARROW), reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(0, cls, "Property List Demo", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    CRect(40, 40, 40 + 400, 40 + 300), nullptr, 0);
  }
  CPlxPropList m_list;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CWnd::OnCreate(cs) == -1) return -1;
    CRect client;
    GetClientRect(client);
    client.DeflateRect(8, 8);
    if (!m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP, client, this, kListId)) return -1;
    m_list.EnableHeaderCtrl(FALSE);
    return 0;
  }
  afx_msg LRESULT OnPropertyChanged(WPARAM wParam, LPARAM lParam) {
    auto* prop = reinterpret_cast<CPlxProp*>(lParam);
    Log("PlxM_PROPERTYCHANGED " + std::to_string(wParam) + " " + std::string(prop->GetName()) + " = " +
        std::string(prop->FormatValue()));
    return 0;
  }
  afx_msg void OnClose() {
    Log("divider " + std::to_string(m_list.GetLeftColumnWidth()));
    CPlxInplaceToolTipCtrl& tip = m_list.GetInplaceToolTip();
    if (tip.GetSafeHwnd() && tip.IsWindowVisible()) Log("tip " + std::string(tip.GetText()));
    for (int i = 0; i < m_list.GetPropertyCount(); ++i) {
      CPlxProp* group = m_list.GetProperty(i);
      Log("group " + std::string(group->GetName()) + (group->IsExpanded() ? " expanded" : " collapsed"));
      for (int j = 0; j < group->GetSubItemsCount(); ++j)
        Log("value " + std::string(group->GetSubItem(j)->GetName()) + " = " +
            std::string(group->GetSubItem(j)->FormatValue()));
    }
    DestroyWindow();
  }
  void PostNcDestroy() override { PostQuitMessage(0); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDemoWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_REGISTERED_MESSAGE(kPropertyChanged, OnPropertyChanged)
END_MESSAGE_MAP()

// One value property per shown option: its text value, choices, valid characters and mask.
void AddOption(CPlxProp* group, const _AV_OUTPUT_OPTION& option) {
  if (!(option.dwFlags & AVOPT_SHOWN)) return;
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = pictavo::com::AllocBstr(option.strValue.View());
  auto* prop = new CPlxProp(CAVOutputProfile::TranslateWord(option.strName), value, option.strName, 0,
                            option.strEditMask, option.strEditTemplate, option.strValidChars);
  VariantClear(&value);
  for (int i = 0; i < option.arrChoices.GetSize(); ++i) prop->AddOption(option.arrChoices[i], TRUE);
  prop->Enable(!(option.dwFlags & AVOPT_READONLY));
  prop->m_bAllowEdit = (option.dwFlags & AVOPT_TYPING) != 0;
  group->AddSubItem(prop);
}

bool Fill(CPlxPropList& list, const std::string& folder) {
  CAVOutputProfileManager manager;
  manager.SetProfileFolder(folder.c_str());
  if (!manager.InitProfileManager(0, nullptr, nullptr)) return false;
  CAVOutputProfile* profile = manager.Get_pActiveAVOutputProfile();
  if (!profile) return false;
  auto* video = new CPlxProp("Video Options");
  auto* audio = new CPlxProp("Audio Options");
  for (int i = 0; i < AVOPT_COUNT; ++i)
    AddOption(i < AVOPT_AUDIO_CODEC ? video : audio, *profile->m_pOptions[i]);
  list.AddProperty(video);
  list.AddProperty(audio);
  Log("profile " + std::string(profile->Get_strProfileName()));
  return true;
}

void LogLayout(CPlxPropList& list) {
  const CRect& area = list.GetListRect();
  Log("list " + std::to_string(area.left) + " " + std::to_string(area.top) + " " +
      std::to_string(area.right) + " " + std::to_string(area.bottom) + " row " +
      std::to_string(list.GetRowHeight()) + " divider " + std::to_string(list.GetLeftColumnWidth()));
  for (int i = 0; i < list.GetPropertyCount(); ++i) {
    CPlxProp* group = list.GetProperty(i);
    for (int j = -1; j < group->GetSubItemsCount(); ++j) {
      CPlxProp* prop = j < 0 ? group : group->GetSubItem(j);
      const CRect& r = prop->GetRect();
      Log("row " + std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) +
          " " + std::to_string(r.bottom) + " " + std::string(prop->GetName()));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string profiles, logPath, managerName = "winxp";
  bool layout = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--profiles" && i + 1 < argc)
      profiles = argv[++i];
    else if (a == "--log" && i + 1 < argc)
      logPath = argv[++i];
    else if (a == "--manager" && i + 1 < argc)
      managerName = argv[++i];
    else if (a == "--layout")
      layout = true;
  }
  g_log.open(logPath, std::ios::trunc);
  if (profiles.empty() || !g_log) {
    std::fprintf(stderr,
                 "usage: proplist_demo --profiles DIR --log FILE [--manager classic|xp|winxp] [--layout]\n");
    return 2;
  }
  if (!pictavo::display::Initialize()) return 1;
  CPlxVisualManager::SetDefaultManager(managerName == "classic" ? RUNTIME_CLASS(CPlxVisualManager)
                                       : managerName == "xp"    ? RUNTIME_CLASS(CPlxVisualManagerXP)
                                                                : RUNTIME_CLASS(CPlxWinXPVisualManager));
  CDemoWnd window;
  if (!window.CreateDemo() || !Fill(window.m_list, profiles)) {
    std::fprintf(stderr, "proplist_demo: the window or the profiles could not be made\n");
    return 1;
  }
  // Shown once filled, as a program shows its main window.
  window.ShowWindow(SW_SHOW);
  window.UpdateWindow();
  if (layout) {
    LogLayout(window.m_list);
    return 0;
  }
  const int exitCode = pictavo::test::RunDemoLoop(window.GetSafeHwnd());
  CPlxVisualManager::DestroyInstance();
  return exitCode;
}
