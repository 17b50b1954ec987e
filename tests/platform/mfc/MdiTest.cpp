// MDI frames on the headless display: the client's messages (create, destroy, activate, next,
// maximize, restore, cascade, tile, get active, set menu), the Window menu's list of children,
// the order of activation, the maximized child, documents with their shared menus, and the
// frame's dock state.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "MfcTestSupport.h"
#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "platform/mfc/DockState.h"
#include "platform/mfc/Document.h"
#include "platform/mfc/MdiFrameWnd.h"
#include "platform/mfc/OleFrames.h"
#include "platform/mfc/WinApp.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ScratchDir.h"
#include "tests/support/Snapshot.h"

using namespace testing_mfc;

namespace {

constexpr UINT kFrameResource = 61200;
constexpr UINT kReportResource = 61201;
constexpr UINT kPictureResource = 61202;
constexpr UINT kFirstChild = AFX_IDM_FIRST_MDICHILD;
constexpr char kFrameTitle[] = "Pictavo MDI";

class MdiTest : public MfcTest {
 protected:
  void SetUp() override {
    m_frame = new CMDIFrameWnd;
    m_frame->m_bAutoDelete = TRUE;
    ASSERT_TRUE(m_frame->LoadFrame(kFrameResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    m_frame->SetWindowPos(nullptr, 40, 30, 640, 480, SWP_NOZORDER);
    m_frame->ShowWindow(SW_SHOW);
    ::SetActiveWindow(m_frame->m_hWnd);
    m_client = m_frame->m_hWndMDIClient;
    m_hwnd = m_frame->m_hWnd;
    ASSERT_NE(m_client, nullptr);
  }
  void TearDown() override {
    if (::IsWindow(m_hwnd)) m_frame->DestroyWindow();
    MfcTest::TearDown();
  }

  CMDIChildWnd* NewChild(const std::string& title,
                         DWORD style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW) {
    auto* child = new CMDIChildWnd;
    child->m_bAutoDelete = TRUE;
    EXPECT_TRUE(child->Create(nullptr, title.c_str(), style, CFrameWnd::rectDefault, m_frame)) << title;
    return child;
  }
  std::vector<HWND> NewChildren(int n) {
    std::vector<HWND> out;
    for (int i = 0; i < n; ++i) out.push_back(NewChild("Doc" + std::to_string(i + 1))->m_hWnd);
    return out;
  }
  HWND Active(BOOL* maximized = nullptr) const {
    return reinterpret_cast<HWND>(
        ::SendMessage(m_client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(maximized)));
  }
  std::string ActiveTitle() const { return Active() ? TextOf(Active()) : std::string(); }
  HMENU WindowMenu() const { return m_frame->GetWindowMenuPopup(::GetMenu(m_frame->m_hWnd)); }
  // The Window menu's items past its own four: "-" a separator, "*" before a checked one.
  std::vector<std::string> WindowList() const {
    std::vector<std::string> items;
    HMENU menu = WindowMenu();
    for (int i = 4; i < ::GetMenuItemCount(menu); ++i) {
      const UINT state = ::GetMenuState(menu, i, MF_BYPOSITION);
      if (state & MF_SEPARATOR) {
        items.push_back("-");
        continue;
      }
      char text[128] = {};
      ::GetMenuString(menu, i, text, sizeof text, MF_BYPOSITION);
      items.push_back(std::string((state & MF_CHECKED) ? "*" : "") + text);
    }
    return items;
  }
  CRect ClientOnScreen(HWND hwnd) const {
    CRect r;
    ::GetClientRect(hwnd, &r);
    ::MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  CRect InClient(HWND child) const {
    CRect r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, m_client, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  CMDIFrameWnd* m_frame = nullptr;
  HWND m_client = nullptr;
  HWND m_hwnd = nullptr;  // the frame's window, while it lives
};

struct ListCase {
  int children;
  std::vector<std::string> list;
};

TEST_F(MdiTest, TheWindowMenuListsTheChildrenByNumber) {
  const ListCase cases[] = {
      {0, {}},
      {1, {"-", "*&1 Doc1"}},
      {3, {"-", "&1 Doc1", "&2 Doc2", "*&3 Doc3"}},
      {9,
       {"-", "&1 Doc1", "&2 Doc2", "&3 Doc3", "&4 Doc4", "&5 Doc5", "&6 Doc6", "&7 Doc7", "&8 Doc8",
        "*&9 Doc9"}},
      {11,
       {"-", "&1 Doc1", "&2 Doc2", "&3 Doc3", "&4 Doc4", "&5 Doc5", "&6 Doc6", "&7 Doc7", "&8 Doc8",
        "&9 Doc9", "&More Windows..."}},
  };
  for (const auto& c : cases) {
    const auto children = NewChildren(c.children);
    EXPECT_EQ(WindowList(), c.list) << c.children << " children";
    for (size_t i = 0; i < children.size(); ++i)
      EXPECT_EQ(static_cast<UINT>(::GetDlgCtrlID(children[i])), kFirstChild + i) << "ids follow creation";
    for (HWND child : children) ::SendMessage(m_client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    EXPECT_TRUE(WindowList().empty()) << "the list goes with the last child";
    EXPECT_EQ(Active(), nullptr);
  }
}

TEST_F(MdiTest, ListFollowsTitlesAndRenumbersAfterAClose) {
  const auto c = NewChildren(3);
  ::SetWindowText(c[0], "Holiday");
  ::SendMessage(c[1], WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(c[1]));
  EXPECT_EQ(WindowList(), (std::vector<std::string>{"-", "&1 Holiday", "*&2 Doc3"}));
  EXPECT_EQ(static_cast<UINT>(::GetDlgCtrlID(c[2])), kFirstChild + 1);
  // Choosing an entry activates its child.
  m_frame->SendMessage(WM_COMMAND, kFirstChild, 0);
  EXPECT_EQ(Active(), c[0]);
  EXPECT_EQ(WindowList(), (std::vector<std::string>{"-", "*&1 Holiday", "&2 Doc3"}));
}

// One step on three children made in the order A, B, C, and what it leaves.
struct Step {
  const char* what;
  UINT message;
  int target;  // index of the child in wParam, -1 for none
  LPARAM lParam;
  const char* active;
  BOOL maximized;
  const char* frameText;
};

TEST_F(MdiTest, ClientMessages) {
  const std::string maxA = std::string(kFrameTitle) + " - [A]";
  const std::string maxB = std::string(kFrameTitle) + " - [B]";
  const Step steps[] = {
      {"activate A", WM_MDIACTIVATE, 0, 0, "A", FALSE, kFrameTitle},
      {"next", WM_MDINEXT, -1, 0, "C", FALSE, kFrameTitle},
      {"previous", WM_MDINEXT, -1, 1, "A", FALSE, kFrameTitle},
      {"maximize B", WM_MDIMAXIMIZE, 1, 0, "B", TRUE, maxB.c_str()},
      {"activate A takes the maximized state", WM_MDIACTIVATE, 0, 0, "A", TRUE, maxA.c_str()},
      {"restore A", WM_MDIRESTORE, 0, 0, "A", FALSE, kFrameTitle},
      {"maximize A again", WM_MDIMAXIMIZE, 0, 0, "A", TRUE, maxA.c_str()},
      {"destroy A hands over to the next", WM_MDIDESTROY, 0, 0, "B", TRUE, maxB.c_str()},
      {"cascade restores", WM_MDICASCADE, -1, 0, "B", FALSE, kFrameTitle},
      {"destroy B", WM_MDIDESTROY, 1, 0, "C", FALSE, kFrameTitle},
      {"destroy C", WM_MDIDESTROY, 2, 0, "", FALSE, kFrameTitle},
  };
  std::vector<HWND> c = {NewChild("A")->m_hWnd, NewChild("B")->m_hWnd, NewChild("C")->m_hWnd};
  for (const auto& s : steps) {
    const WPARAM wParam = s.target >= 0 ? reinterpret_cast<WPARAM>(c[static_cast<size_t>(s.target)]) : 0;
    ::SendMessage(m_client, s.message, wParam, s.lParam);
    BOOL maximized = -1;
    Active(&maximized);
    EXPECT_EQ(ActiveTitle(), s.active) << s.what;
    EXPECT_EQ(maximized, s.maximized) << s.what;
    EXPECT_EQ(TextOf(m_frame->m_hWnd), s.frameText) << s.what;
    if (Active() != nullptr)
      EXPECT_EQ(::GetFocus(), Active()) << s.what << ": the active child has the focus";
  }
}

TEST_F(MdiTest, NextWalksEveryChildAndPreviousWalksBack) {
  NewChild("A"), NewChild("B"), NewChild("C");
  const char* next[] = {"B", "A", "C", "B", "A"};
  for (const char* expected : next) {
    m_frame->MDINext();
    EXPECT_EQ(ActiveTitle(), expected) << "next";
  }
  const char* previous[] = {"B", "C", "A", "B"};
  for (const char* expected : previous) {
    m_frame->MDIPrev();
    EXPECT_EQ(ActiveTitle(), expected) << "previous";
  }
  // Ctrl+F6's way: the active child's system command.
  ::SendMessage(Active(), WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
  EXPECT_EQ(ActiveTitle(), "A");
  ::SendMessage(Active(), WM_SYSCOMMAND, SC_PREVWINDOW, 0);
  EXPECT_EQ(ActiveTitle(), "B");
}

TEST_F(MdiTest, AMaximizedChildFillsTheClientAndRestoresWhereItWas) {
  CMDIChildWnd* a = NewChild("A");
  a->SetWindowPos(nullptr, 20, 15, 300, 200, SWP_NOZORDER);
  const CRect normal = InClient(a->m_hWnd);
  a->MDIMaximize();
  EXPECT_TRUE(a->IsZoomed());
  EXPECT_EQ(ClientOnScreen(a->m_hWnd), ClientOnScreen(m_client)) << "the caption and frame lie outside";
  // A new child joins maximized, and the one before gives up the state.
  CMDIChildWnd* b = NewChild("B");
  EXPECT_TRUE(b->IsZoomed());
  EXPECT_FALSE(a->IsZoomed());
  EXPECT_EQ(InClient(a->m_hWnd), normal);
  EXPECT_EQ(TextOf(m_frame->m_hWnd), std::string(kFrameTitle) + " - [B]");
  b->SetWindowText("Bee");
  EXPECT_EQ(TextOf(m_frame->m_hWnd), std::string(kFrameTitle) + " - [Bee]");
  // The frame keeps its own title while a child is maximized.
  m_frame->SetWindowText("Album");
  EXPECT_EQ(TextOf(m_frame->m_hWnd), "Album - [Bee]");
  b->MDIRestore();
  EXPECT_EQ(TextOf(m_frame->m_hWnd), "Album");
  // The frame's system commands reach the maximized child.
  b->MDIMaximize();
  m_frame->SendMessage(WM_COMMAND, SC_RESTORE, 0);
  EXPECT_FALSE(b->IsZoomed());
}

TEST_F(MdiTest, TileAndCascadeShareTheClient) {
  struct Arrange {
    UINT message;
    WPARAM flags;
    int children;
    int columns, rows;  // tiles: the grid; cascade: 0
  };
  const Arrange cases[] = {
      {WM_MDITILE, MDITILE_HORIZONTAL, 2, 1, 2},
      {WM_MDITILE, MDITILE_VERTICAL, 2, 2, 1},
      {WM_MDITILE, MDITILE_HORIZONTAL, 3, 1, 3},
      {WM_MDITILE, MDITILE_VERTICAL, 4, 2, 2},
      {WM_MDICASCADE, 0, 3, 0, 0},
  };
  CRect area;
  ::GetClientRect(m_client, &area);
  for (const auto& c : cases) {
    const auto children = NewChildren(c.children);
    ::SendMessage(m_client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(children[0]), 0);
    ::SendMessage(m_client, c.message, c.flags, 0);
    EXPECT_FALSE(::IsZoomed(Active())) << "arranging restores the maximized child";
    long covered = 0;
    for (HWND child : children) {
      const CRect r = InClient(child);
      EXPECT_TRUE(CRect().IntersectRect(r, area)) << "inside the client";
      covered += r.Width() * r.Height();
      if (c.columns > 0) {
        EXPECT_NEAR(r.Width(), area.Width() / c.columns, 1) << c.children;
        EXPECT_NEAR(r.Height(), area.Height() / c.rows, 1) << c.children;
        for (HWND other : children)
          if (other != child)
            EXPECT_FALSE(CRect().IntersectRect(r, InClient(other))) << "tiles do not overlap";
      }
    }
    if (c.columns > 0)
      EXPECT_NEAR(covered, static_cast<long>(area.Width()) * area.Height(), 4 * area.Width());
    if (c.columns == 0) {
      // A staircase from the client's corner, one step a caption high; the active window is the
      // last step and on top.
      std::vector<CRect> steps;
      for (HWND child : children) steps.push_back(InClient(child));
      std::sort(steps.begin(), steps.end(), [](const CRect& x, const CRect& y) { return x.top < y.top; });
      EXPECT_EQ(steps.front().TopLeft(), CPoint(0, 0));
      for (size_t i = 1; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].top - steps[i - 1].top, steps[1].top - steps[0].top);
        EXPECT_EQ(steps[i].left - steps[i - 1].left, steps[i].top - steps[i - 1].top);
      }
      EXPECT_GT(steps[1].top, 0);
      EXPECT_EQ(InClient(Active()), steps.back());
      EXPECT_EQ(::GetWindow(m_client, GW_CHILD), Active());
    }
    for (HWND child : children) ::SendMessage(m_client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
  }
}

TEST_F(MdiTest, MoreWindowsListsEveryChild) {
  const auto children = NewChildren(11);
  IdleScript script;
  script.Until([] { return ::FindWindow(nullptr, "Select Window") != nullptr; })
      .Then([] {
        CRect r;
        ::GetWindowRect(::FindWindow(nullptr, "Select Window"), &r);
        EXPECT_FALSE(pictavo::test::SaveDesktopArea(r, "mdi_more_windows.png").empty());
      })
      .Key(VK_HOME)
      .Key(VK_DOWN)
      .Key(VK_RETURN);
  m_frame->SendMessage(WM_COMMAND, kFirstChild + pictavo::user::kMdiListedChildren, 0);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(Active(), children[1]);
}

TEST_F(MdiTest, SetMenuSwapsTheFrameMenuAndKeepsTheList) {
  NewChildren(2);
  HMENU own = ::GetMenu(m_frame->m_hWnd);
  CMenu other;
  ASSERT_TRUE(other.LoadMenu(kPictureResource));
  HMENU otherWindow = m_frame->GetWindowMenuPopup(other);
  ASSERT_NE(otherWindow, nullptr);
  EXPECT_EQ(m_frame->MDISetMenu(&other, CMenu::FromHandle(otherWindow))->GetSafeHmenu(), own);
  EXPECT_EQ(::GetMenu(m_frame->m_hWnd), other.m_hMenu);
  EXPECT_EQ(::GetMenuItemCount(otherWindow), 4) << "Cascade, a separator and the two children";
  EXPECT_EQ(::GetMenuItemCount(m_frame->GetWindowMenuPopup(own)), 4)
      << "the old Window menu is back to its own";
  m_frame->MDISetMenu(CMenu::FromHandle(own), CMenu::FromHandle(m_frame->GetWindowMenuPopup(own)));
  EXPECT_EQ(::GetMenuItemCount(otherWindow), 1);
  other.DestroyMenu();
}

// ---------------------------------------------------------------------------------------------
// Documents

class CReportDoc : public CDocument {
  DECLARE_DYNCREATE(CReportDoc)

 public:
  CString m_text = "report";
  void Serialize(CArchive& ar) override {
    if (ar.IsStoring())
      ar << m_text;
    else
      ar >> m_text;
  }
};
IMPLEMENT_DYNCREATE(CReportDoc, CDocument)

class CTextView : public CView {
  DECLARE_DYNCREATE(CTextView)

 public:
  int m_updates = 0;
  void OnDraw(CDC* pDC) override {
    auto* doc = static_cast<CReportDoc*>(GetDocument());
    if (doc != nullptr) pDC->TextOut(4, 4, doc->m_text);
  }
  void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override {
    ++m_updates;
    CView::OnUpdate(pSender, lHint, pHint);
  }
};
IMPLEMENT_DYNCREATE(CTextView, CView)

class MdiDocumentTest : public MdiTest {
 protected:
  void SetUp() override {
    m_app = std::make_unique<CWinApp>("MDI App");
    MdiTest::SetUp();
    m_app->m_pMainWnd = m_frame;  // where document frames go
    m_report = new CMultiDocTemplate(kReportResource, RUNTIME_CLASS(CReportDoc), RUNTIME_CLASS(CMDIChildWnd),
                                     RUNTIME_CLASS(CTextView));
    m_picture = new CMultiDocTemplate(kPictureResource, RUNTIME_CLASS(CReportDoc),
                                      RUNTIME_CLASS(CMDIChildWnd), RUNTIME_CLASS(CTextView));
  }
  void TearDown() override {
    if (::IsWindow(m_hwnd)) m_frame->DestroyWindow();
    delete m_report;
    delete m_picture;
    MfcTest::TearDown();
    m_app.reset();
  }
  std::unique_ptr<CWinApp> m_app;
  CMultiDocTemplate* m_report = nullptr;
  CMultiDocTemplate* m_picture = nullptr;
};

TEST_F(MdiDocumentTest, EachDocumentTypeShowsItsMenuOnTheFrame) {
  HMENU own = ::GetMenu(m_frame->m_hWnd);
  ASSERT_NE(m_report->m_hMenuShared, nullptr);
  ASSERT_NE(m_picture->m_hMenuShared, nullptr);
  ASSERT_NE(m_report->m_hAccelTable, nullptr);

  struct Open {
    CMultiDocTemplate* docTemplate;
    const char* title;
  };
  std::vector<CDocument*> docs;
  for (const Open& o : {Open{m_report, "Report1"}, Open{m_picture, "Picture1"}, Open{m_report, "Report2"}}) {
    CDocument* doc = o.docTemplate->OpenDocumentFile(nullptr);
    ASSERT_NE(doc, nullptr);
    docs.push_back(doc);
    EXPECT_EQ(std::string(doc->GetTitle()), o.title);
    EXPECT_EQ(::GetMenu(m_frame->m_hWnd), o.docTemplate->m_hMenuShared) << o.title;
    EXPECT_EQ(ActiveTitle(), o.title);
    EXPECT_EQ(TextOf(m_frame->m_hWnd), std::string(kFrameTitle) + " - " + o.title);
  }
  // The list lives in the Window menu of the menu shown.
  HMENU reportWindow = m_frame->GetWindowMenuPopup(m_report->m_hMenuShared);
  EXPECT_EQ(::GetMenuItemCount(reportWindow), 2 + 1 + 3);
  // Activating a child of the other kind swaps the menu; the commands reach its document.
  CMDIChildWnd* pictureFrame = nullptr;
  for (HWND w = ::GetWindow(m_client, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT))
    if (TextOf(w) == "Picture1") pictureFrame = dynamic_cast<CMDIChildWnd*>(CWnd::FromHandlePermanent(w));
  ASSERT_NE(pictureFrame, nullptr);
  pictureFrame->MDIActivate();
  EXPECT_EQ(::GetMenu(m_frame->m_hWnd), m_picture->m_hMenuShared);
  EXPECT_EQ(m_frame->GetActiveDocument(), docs[1]);
  // Closing every document gives the frame its own menu back.
  docs[0]->OnCloseDocument();
  docs[1]->OnCloseDocument();
  docs[2]->OnCloseDocument();
  EXPECT_EQ(Active(), nullptr);
  EXPECT_EQ(::GetMenu(m_frame->m_hWnd), own);
  EXPECT_EQ(m_report->GetFirstDocPosition(), nullptr) << "closed documents leave their template";
}

TEST_F(MdiDocumentTest, ANewWindowShowsTheSameDocument) {
  CDocument* doc = m_report->OpenDocumentFile(nullptr);
  ASSERT_NE(doc, nullptr);
  m_frame->SendMessage(WM_COMMAND, ID_WINDOW_NEW, 0);
  int views = 0;
  for (POSITION pos = doc->GetFirstViewPosition(); pos != nullptr; doc->GetNextView(pos)) ++views;
  EXPECT_EQ(views, 2);
  // One view closing leaves the document open; the last one closes it.
  m_frame->MDIGetActive()->SendMessage(WM_CLOSE);
  EXPECT_NE(m_report->GetFirstDocPosition(), nullptr);
  m_frame->MDIGetActive()->SendMessage(WM_CLOSE);
  EXPECT_EQ(m_report->GetFirstDocPosition(), nullptr);
}

TEST_F(MdiDocumentTest, SavingIsAtomicAndAFailedSaveKeepsTheFile) {
  pictavo::test::ScratchDir dir;
  const std::string path = dir.Path() + "/report.rpt";
  auto* doc = static_cast<CReportDoc*>(m_report->OpenDocumentFile(nullptr));
  ASSERT_NE(doc, nullptr);
  doc->m_text = "first";
  ASSERT_TRUE(doc->DoSave(path.c_str()));
  EXPECT_EQ(std::string(doc->GetTitle()), "report.rpt");
  EXPECT_FALSE(doc->IsModified());
  const auto size = std::filesystem::file_size(path);
  struct Save {
    std::string path;
    BOOL ok;
  };
  for (const Save& s : {Save{dir.Path() + "/missing/report.rpt", FALSE}, Save{path, TRUE}}) {
    doc->m_text = "second";
    doc->SetModifiedFlag();
    EXPECT_EQ(doc->OnSaveDocument(s.path.c_str()), s.ok) << s.path;
    EXPECT_EQ(doc->IsModified(), !s.ok) << s.path;
  }
  EXPECT_EQ(std::filesystem::file_size(path), size + 1) << "\"second\" is one byte longer";
  // A document without a path and no name given stays unsaved.
  auto* untitled = static_cast<CReportDoc*>(m_report->OpenDocumentFile(nullptr));
  untitled->SetModifiedFlag();
  EXPECT_FALSE(untitled->DoFileSave());
  EXPECT_TRUE(untitled->IsModified());
  untitled->SetModifiedFlag(FALSE);
  // Opening: the file's text; a missing file opens nothing.
  CDocument* opened = m_report->OpenDocumentFile(path.c_str());
  ASSERT_NE(opened, nullptr);
  EXPECT_EQ(std::string(static_cast<CReportDoc*>(opened)->m_text), "second");
  EXPECT_EQ(m_report->OpenDocumentFile((dir.Path() + "/none.rpt").c_str()), nullptr);
}

TEST_F(MdiDocumentTest, ViewsFollowTheirDocument) {
  CDocument* doc = m_report->OpenDocumentFile(nullptr);
  ASSERT_NE(doc, nullptr);
  POSITION pos = doc->GetFirstViewPosition();
  auto* view = static_cast<CTextView*>(doc->GetNextView(pos));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->m_updates, 1) << "the initial update";
  EXPECT_EQ(view->GetParentFrame(), m_frame->MDIGetActive());
  EXPECT_EQ(m_frame->MDIGetActive()->GetActiveView(), view);
  doc->UpdateAllViews(nullptr);
  doc->UpdateAllViews(view);
  EXPECT_EQ(view->m_updates, 2) << "the sender is left out";
  EXPECT_EQ(::GetFocus(), view->m_hWnd);
}

// ---------------------------------------------------------------------------------------------
// Dock state

TEST(DockState, ArchiveRoundTripAndDamagedInput) {
  CDockState state;
  for (UINT id : {0xE81Bu, 0xE801u}) {
    auto* info = new CControlBarInfo;
    info->m_nBarID = id;
    info->m_bVisible = TRUE;
    info->m_bDockBar = id == 0xE81B;
    info->m_pointPos = CPoint(12, -3);
    info->m_rectMRUDockPos = CRect(1, 2, 3, 4);
    if (info->m_bDockBar) {
      info->m_arrBarID.Add(0xE801);
      info->m_arrBarID.Add(0);
    }
    state.m_arrBarInfo.Add(info);
  }
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    state.Serialize(ar);
    ar.Close();
  }
  const auto length = static_cast<UINT>(file.GetLength());
  BYTE* bytes = file.Detach();
  // Whole: the same entries. Cut anywhere: an exception, and the state read into stays as it was.
  for (UINT cut : {length, length - 1, length / 2, 3u}) {
    CDockState read;
    read.m_arrBarInfo.Add(new CControlBarInfo);
    CMemFile in(bytes, cut);
    CArchive ar(&in, CArchive::load);
    bool threw = false;
    try {
      read.Serialize(ar);
    } catch (CException* e) {
      e->Delete();
      threw = true;
    }
    EXPECT_EQ(threw, cut != length) << cut;
    if (threw) {
      EXPECT_EQ(read.GetCount(), 1) << cut;
      continue;
    }
    ASSERT_EQ(read.GetCount(), 2);
    EXPECT_EQ(read.GetAt(0)->m_nBarID, 0xE81Bu);
    EXPECT_TRUE(read.GetAt(0)->m_bDockBar);
    EXPECT_EQ(read.GetAt(0)->m_arrBarID.GetSize(), 2);
    EXPECT_EQ(read.GetAt(1)->m_pointPos, CPoint(12, -3));
    EXPECT_EQ(read.GetAt(1)->m_rectMRUDockPos, CRect(1, 2, 3, 4));
  }
  free(bytes);
}

// The OLE in-place frames are frames like the others, and nothing is in place in them.
TEST(OleFrames, AreFramesWithoutInPlaceItems) {
  EXPECT_TRUE(RUNTIME_CLASS(COleDocIPFrameWnd)->IsDerivedFrom(RUNTIME_CLASS(COleIPFrameWnd)));
  EXPECT_TRUE(RUNTIME_CLASS(COleIPFrameWnd)->IsDerivedFrom(RUNTIME_CLASS(CFrameWnd)));
  std::unique_ptr<CObject> frame(RUNTIME_CLASS(COleDocIPFrameWnd)->CreateObject());
  EXPECT_NE(dynamic_cast<COleDocIPFrameWnd*>(frame.get()), nullptr);
  COleDocument doc;
  EXPECT_EQ(doc.GetInPlaceActiveItem(nullptr), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Snapshots

TEST_F(MdiTest, Snapshots) {
  NewChildren(3);
  m_frame->MDICascade();
  m_frame->RedrawWindow(nullptr, nullptr,
                        RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  CRect r;
  m_frame->GetWindowRect(&r);
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(r, "mdi_cascade.png").empty());
  m_frame->MDITile(MDITILE_VERTICAL);
  m_frame->RedrawWindow(nullptr, nullptr,
                        RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(r, "mdi_tile_vertical.png").empty());
  m_frame->MDIMaximize(m_frame->MDIGetActive());
  m_frame->RedrawWindow(nullptr, nullptr,
                        RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(r, "mdi_maximized.png").empty());
  ::ShowWindow(m_frame->MDIGetActive()->m_hWnd, SW_MINIMIZE);
  m_frame->RedrawWindow(nullptr, nullptr,
                        RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_FALSE(pictavo::test::SaveDesktopArea(r, "mdi_minimized.png").empty());
}

}  // namespace
