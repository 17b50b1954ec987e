// Toolbar button drag data and command usage counts: a button survives the trip through the drag
// data, data naming another class makes nothing, drop targets refuse outside customize mode, and
// usage shares decide which commands are rarely used.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/base/Archive.h"
#include "platform/base/MemFile.h"
#include "platform/display/Display.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxUserTools.h"

namespace {

// A persistent class that is no button, as foreign drag data would name.
class CNotAButton : public CObject {
  DECLARE_SERIAL(CNotAButton)

 public:
  static int s_made;
  CNotAButton() { ++s_made; }
  void Serialize(CArchive&) override {}
};
int CNotAButton::s_made = 0;
IMPLEMENT_SERIAL(CNotAButton, CObject, 1)

HGLOBAL Block(const std::vector<BYTE>& bytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
  GlobalUnlock(block);
  return block;
}

std::vector<BYTE> Archived(CObject& object) {
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar.WriteClass(object.GetRuntimeClass());
    object.Serialize(ar);
  }
  const UINT size = static_cast<UINT>(file.GetLength());
  BYTE* bytes = file.Detach();
  std::vector<BYTE> out(bytes, bytes + size);
  free(bytes);
  return out;
}

}  // namespace

TEST(ToolbarDragData, AButtonRoundTripsAndForeignClassesAreRefused) {
  CPlxToolbarButton button(57603, 2, "Save");
  button.m_bText = TRUE;
  COleDataSource data;
  ASSERT_TRUE(button.PrepareDrag(data));
  COleDataObject object;
  object.Attach(&data);
  ASSERT_TRUE(object.IsDataAvailable(CPlxToolbarButton::GetClipboardFormat()));
  CPlxToolbarButton* copy = CPlxToolbarButton::CreateFromOleData(&object);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->m_nID, 57603u);
  EXPECT_EQ(copy->m_strText, CString("Save"));
  EXPECT_EQ(copy->GetImage(), 2);
  EXPECT_TRUE(copy->m_bText);
  delete copy;

  CNotAButton foreign;
  CNotAButton::s_made = 0;
  COleDataSource other;
  other.CacheGlobalData(CPlxToolbarButton::GetClipboardFormat(), Block(Archived(foreign)));
  object.Attach(&other);
  EXPECT_EQ(CPlxToolbarButton::CreateFromOleData(&object), nullptr);
  EXPECT_EQ(CNotAButton::s_made, 0) << "nothing of the named class is made";
  // Cut short: no button either.
  std::vector<BYTE> bytes;
  ASSERT_TRUE(button.WriteDragBytes(bytes));
  bytes.resize(bytes.size() / 2);
  other.CacheGlobalData(CPlxToolbarButton::GetClipboardFormat(), Block(bytes));
  EXPECT_EQ(CPlxToolbarButton::CreateFromOleData(&object), nullptr);
}

TEST(ToolbarDragData, DropTargetsRefuseOutsideCustomizeModeAndOtherData) {
  if (!pictavo::display::Headless()) ASSERT_TRUE(pictavo::display::Initialize());
  CWnd host;
  ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "Host", WS_POPUP | WS_VISIBLE, 0, 0, 300, 60, nullptr,
                            nullptr));
  CPlxToolBar bar;
  ASSERT_TRUE(bar.Create(&host, WS_CHILD | WS_VISIBLE | CBRS_TOP, 1001));
  bar.InsertButton(CPlxToolbarButton(57600, 0, "New"));
  bar.InsertButton(CPlxToolbarButton(57601, 1, "Open"));
  bar.AdjustLayout();
  CPlxToolbarButton dragged(57603, 2, "Save");
  COleDataSource data;
  ASSERT_TRUE(dragged.PrepareDrag(data));
  COleDataObject object;
  object.Attach(&data);
  COleDataSource text;
  text.CacheGlobalData(CF_TEXT, Block({'h', 'i', 0}));
  COleDataObject other;
  other.Attach(&text);
  const CPoint inside(5, 5);
  EXPECT_EQ(bar.m_dropTarget.OnDragEnter(&bar, &object, 0, inside), static_cast<DROPEFFECT>(DROPEFFECT_NONE));
  ASSERT_TRUE(CPlxToolBar::SetCustomizeMode(TRUE));
  EXPECT_FALSE(CPlxToolBar::SetCustomizeMode(TRUE)) << "already on";
  EXPECT_EQ(bar.m_dropTarget.OnDragEnter(&bar, &other, 0, inside), static_cast<DROPEFFECT>(DROPEFFECT_NONE));
  EXPECT_EQ(bar.m_dropTarget.OnDragEnter(&bar, &object, 0, inside), static_cast<DROPEFFECT>(DROPEFFECT_MOVE));
  EXPECT_FALSE(CPlxToolBar::m_dropSource.m_bOutsideBars);
  EXPECT_EQ(bar.m_dropTarget.OnDragOver(&bar, &object, MK_CONTROL, inside),
            static_cast<DROPEFFECT>(DROPEFFECT_COPY));
  EXPECT_EQ(bar.m_iDropIndex, 0);
  EXPECT_EQ(
      bar.m_dropTarget.OnDropEx(&bar, &object, DROPEFFECT_COPY, DROPEFFECT_COPY | DROPEFFECT_MOVE, inside),
      static_cast<DROPEFFECT>(DROPEFFECT_COPY));
  ASSERT_EQ(bar.GetCount(), 3);
  EXPECT_EQ(bar.GetItemID(0), 57603u) << "dropped before the first button";
  bar.m_dropTarget.OnDragLeave(&bar);
  EXPECT_TRUE(CPlxToolBar::m_dropSource.m_bOutsideBars);
  ASSERT_TRUE(CPlxToolBar::SetCustomizeMode(FALSE));
  host.DestroyWindow();
}

TEST(CommandUsage, SharesOfFortyUsesAndCommandsNeverCounted) {
  CPlxCommandUsage usage;
  EXPECT_FALSE(usage.IsFrequentlyUsed(100)) << "no uses yet: everything is rarely used";
  EXPECT_TRUE(usage.HasEnoughStatistics());
  for (int i = 0; i < 2; ++i) usage.AddCmd(100);
  for (int i = 0; i < 3; ++i) usage.AddCmd(200);
  for (int i = 0; i < 35; ++i) usage.AddCmd(300);
  ASSERT_EQ(usage.GetTotal(), 40u);
  struct Case {
    UINT cmd;
    bool frequent;
  };
  const Case cases[] = {{100, false}, {200, true}, {300, true}, {400, false}};  // 5 %, 7 %, 87 %, 0 %
  for (const Case& c : cases) EXPECT_EQ(usage.IsFrequentlyUsed(c.cmd) != FALSE, c.frequent) << c.cmd;

  CPlxUserToolsManager tools(0x7E00, 0x7E01, 0x7E08);
  const UINT never[] = {0, static_cast<UINT>(-1), 0xF060, 0xE110, 0xE215, 0xFF00, 0x7E00};
  for (UINT cmd : never) usage.AddCmd(cmd);
  CPlxToolBar::m_bCustomizeMode = TRUE;
  usage.AddCmd(100);
  CPlxToolBar::m_bCustomizeMode = FALSE;
  EXPECT_EQ(usage.GetTotal(), 40u);
  EXPECT_EQ(usage.GetCount(100), 2u);
  EXPECT_EQ(usage.GetCount(0xF060), 0u);
}
