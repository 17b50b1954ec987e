// Editing on the canvas: typing texts in place, Escape and Enter, copy and paste, delete, stacking,
// Apply to All, the object menu, and that every edit reaches the album's changed flags.
#include <functional>

#include "platform/mfc/Menu.h"
#include "tests/editing/PhotoEditCanvasFixture.h"
#include "tests/support/PngPicture.h"

namespace canvastest {
namespace {

class CanvasEditTest : public CanvasTest {
 public:
  // The enabled and checked state of a menu item after the canvas prepared the menu.
  struct ItemState {
    bool enabled;
    bool checked;
  };
  ItemState MenuState(UINT id) {
    CMenu menu;
    EXPECT_TRUE(menu.LoadMenu(IDR_SPRITE_EDIT_MENU));
    CMenu* popup = menu.GetSubMenu(0);
    CMenu* found = popup;
    for (int sub : {11, 12})
      if (popup->GetSubMenu(sub) != nullptr &&
          static_cast<int>(popup->GetSubMenu(sub)->GetMenuState(id, MF_BYCOMMAND)) != -1)
        found = popup->GetSubMenu(sub);
    m_canvas.SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(found->GetSafeHmenu()), 0);
    const UINT state = found->GetMenuState(id, MF_BYCOMMAND);
    return {(state & (MF_GRAYED | MF_DISABLED)) == 0, (state & MF_CHECKED) != 0};
  }
  void Command(UINT id) {
    m_canvas.SendMessage(WM_COMMAND, id, 0);
    pictavo::test::PumpPending();
  }
  CDVDImageText* SelectedText() { return dynamic_cast<CDVDImageText*>(m_canvas.GetSelectedSprite()); }
};

TEST_F(CanvasEditTest, TypingOnEmptySpaceMakesATextAtTheFramesCorner) {
  CDVDImage* slide = ShowSlide();
  const int selections = m_host.count;
  DoubleClick(POINT{120, 90});
  ASSERT_TRUE(m_canvas.IsEditingText());
  Type("Hello");
  const std::string editing = Snapshot("photo-edit-canvas-typing.png");
  EXPECT_FALSE(editing.empty());
  Click(POINT{330, 250});  // elsewhere: commits
  EXPECT_FALSE(m_canvas.IsEditingText());
  ASSERT_EQ(slide->m_arrSprites.GetSize(), 1);
  auto* text = static_cast<CDVDImageText*>(slide->m_arrSprites[0]);
  EXPECT_EQ(text->Get_strText(), "Hello");
  // The text's corner is the edit frame's: 2 pixels left of the click and 1 above.
  EXPECT_EQ(text->Get_ptPosition(), m_canvas.ClientToReference(CPoint(118, 89)));
  EXPECT_GT(m_host.count, selections) << "the dialog is told to show the Text tab";
  EXPECT_FALSE(Snapshot("photo-edit-canvas-typed.png").empty());
}

TEST_F(CanvasEditTest, EditingAnExistingTextAndEnter) {
  CDVDImage* slide = ShowSlide();
  ASSERT_TRUE(m_canvas.InsertText("Summer"));
  CDVDImageText* text = SelectedText();
  Paint();
  const CRect box = Box(text);
  DoubleClick(POINT{box.left + 3, box.top + 3});
  ASSERT_TRUE(m_canvas.IsEditingText());
  CString shown;
  m_canvas.GetTextEdit()->GetWindowText(shown);
  EXPECT_EQ(shown, "Summer");
  Type(" 2026");
  EXPECT_FALSE(Snapshot("photo-edit-canvas-editing-existing.png").empty());
  Key(VK_RETURN);
  EXPECT_FALSE(m_canvas.IsEditingText());
  EXPECT_EQ(slide->m_arrSprites.GetSize(), 1);
  EXPECT_EQ(text->Get_strText().Left(6), "Summer");
  EXPECT_NE(text->Get_strText().Find("2026"), -1);
}

TEST_F(CanvasEditTest, NothingOfTheCaptionShowsThroughTheTransparentEdit) {
  ShowSlide();
  const std::string plainShot = Snapshot("photo-edit-canvas-plain.png");
  ASSERT_TRUE(m_canvas.AddText());
  Paint();
  const CRect box = Box(m_canvas.GetSelectedSprite());
  DoubleClick(POINT{box.left + 40, box.top + box.Height() / 2});
  ASSERT_TRUE(m_canvas.IsEditingText());
  Type("Hi");
  pictavo::test::PumpPending();  // only the paints the typing asked for
  const std::string editingShot = pictavo::test::SaveDesktopArea(CRect(0, 0, kHostWidth, kHostHeight),
                                                                 "photo-edit-canvas-caption-gone.png");
  pictavo::test::Picture plain, editing;
  ASSERT_TRUE(pictavo::test::ReadPng(plainShot, &plain));
  ASSERT_TRUE(pictavo::test::ReadPng(editingShot, &editing));
  // The right half of where the caption was: the photo again, not the caption or its handles.
  int differing = 0;
  for (int y = box.top - 4; y <= box.bottom + 4; ++y)
    for (int x = box.left + box.Width() / 2; x <= box.right + 4; ++x)
      if (plain.At(kCanvasX + x, kCanvasY + y) != editing.At(kCanvasX + x, kCanvasY + y)) ++differing;
  EXPECT_EQ(differing, 0);
}

TEST_F(CanvasEditTest, EscapeDeletesTheEditedTextAndTypesNothingNew) {
  CDVDImage* slide = ShowSlide();
  struct Case {
    const char* what;
    bool onCaption;
    int remaining;
  } cases[] = {
      {"a new text's caption: the edit opens empty and Escape deletes the text", true, 0},
      {"empty space: nothing is created", false, 0},
  };
  for (const Case& c : cases) {
    POINT at{300, 240};
    if (c.onCaption) {
      ASSERT_TRUE(m_canvas.AddText());
      Paint();
      const CRect box = Box(m_canvas.GetSelectedSprite());
      at = POINT{box.left + 3, box.top + 3};
    }
    DoubleClick(at);
    ASSERT_TRUE(m_canvas.IsEditingText()) << c.what;
    CString shown;
    m_canvas.GetTextEdit()->GetWindowText(shown);
    EXPECT_TRUE(shown.IsEmpty()) << c.what;
    if (!c.onCaption) Type("Gone");
    Key(VK_ESCAPE);
    EXPECT_FALSE(m_canvas.IsEditingText()) << c.what;
    EXPECT_EQ(slide->m_arrSprites.GetSize(), c.remaining) << c.what;
  }
}

TEST_F(CanvasEditTest, TheCopyBufferIsClearedWhenItsObjectGoes) {
  CDVDImage* slide = ShowSlide();
  using Removal = std::function<void(CanvasEditTest&, CDVDImageSprite*)>;
  struct Case {
    const char* what;
    bool text;
    Removal remove;
  } cases[] = {
      {"Delete key", false, [](CanvasEditTest& t, CDVDImageSprite*) { t.Key(VK_DELETE); }},
      {"Delete command", false, [](CanvasEditTest& t, CDVDImageSprite*) { t.Command(ID_SPRITE_DELETE); }},
      {"Escape while editing it", true,
       [](CanvasEditTest& t, CDVDImageSprite* s) {
         const CRect box = t.Box(s);
         t.DoubleClick(POINT{box.left + 3, box.top + 3});
         t.Key(VK_ESCAPE);
       }},
      {"an emptied text committed", true,
       [](CanvasEditTest& t, CDVDImageSprite* s) {
         const CRect box = t.Box(s);
         t.DoubleClick(POINT{box.left + 3, box.top + 3});
         t.m_canvas.GetTextEdit()->SetWindowText("");
         t.m_canvas.CommitTextEdit();
       }},
  };
  for (const Case& c : cases) {
    if (c.text)
      ASSERT_TRUE(m_canvas.InsertText("Copied"));
    else
      AddClipArtAt(CRect(60, 60, 120, 110));
    CDVDImageSprite* sprite = m_canvas.GetSelectedSprite();
    Paint();
    Command(ID_SPRITE_COPY);
    ASSERT_EQ(m_canvas.GetCopiedSprite(), sprite);
    EXPECT_TRUE(MenuState(ID_SPRITE_PASTE).enabled) << c.what;
    m_canvas.SetFocus();
    c.remove(*this, sprite);
    EXPECT_EQ(slide->m_arrSprites.IndexOf(sprite), -1) << c.what;
    EXPECT_EQ(m_canvas.GetCopiedSprite(), nullptr) << c.what;
    EXPECT_FALSE(MenuState(ID_SPRITE_PASTE).enabled) << c.what;
    Command(ID_SPRITE_PASTE);  // reads nothing freed
    EXPECT_EQ(slide->m_arrSprites.GetSize(), 0) << c.what;
  }
}

TEST_F(CanvasEditTest, PasteCopiesNearThePointerOntoTheShownSlide) {
  CDVDImage* first = ShowSlide();
  ASSERT_TRUE(m_canvas.InsertText("Twice"));
  Command(ID_SPRITE_COPY);
  CDVDImage* second = AddSlide();
  m_canvas.SetImage(second);
  Paint();
  MoveTo(POINT{200, 150});
  Command(ID_SPRITE_PASTE);
  ASSERT_EQ(second->m_arrSprites.GetSize(), 1);
  auto* copy = static_cast<CDVDImageText*>(second->m_arrSprites[0]);
  EXPECT_EQ(copy->Get_strText(), "Twice");
  EXPECT_EQ(copy->Get_ptPosition(), m_canvas.ClientToReference(CPoint(180, 130)));
  EXPECT_EQ(first->m_arrSprites.GetSize(), 1);
  EXPECT_EQ(m_canvas.GetSelectedSprite(), copy);
}

TEST_F(CanvasEditTest, EveryObjectEditMarksTheAlbumChanged) {
  CDVDImage* slide = ShowSlide();
  ASSERT_TRUE(m_canvas.InsertText("Edit me"));
  CDVDImageSprite* text = m_canvas.GetSelectedSprite();
  CDVDImageSprite* art = AddClipArtAt(CRect(220, 160, 280, 210));
  Paint();
  using Edit = std::function<void(CanvasEditTest&)>;
  struct Case {
    const char* what;
    Edit edit;
  } cases[] = {
      {"move",
       [&](CanvasEditTest& t) {
         t.Drag(POINT{240, 180}, POINT{260, 190}, 2);
       }},
      {"clip-art resize",
       [&](CanvasEditTest& t) {
         const CRect b = t.Box(art);
         t.Drag(POINT{b.right, b.bottom}, POINT{b.right + 20, b.bottom + 20}, 2);
       }},
      {"text resize",
       [&](CanvasEditTest& t) {
         const CRect b = t.Box(text);
         t.Click(POINT{b.left + 2, b.top + 2});
         t.Drag(POINT{b.right, b.bottom}, POINT{b.right + 40, b.bottom + 30}, 4);
       }},
      {"style from the text page",
       [&](CanvasEditTest& t) {
         t.m_canvas.SendMessage(WM_TEXT_FONT_CHANGED, 0, 0);
         const CRect b = t.Box(text);
         t.Click(POINT{b.left + 2, b.top + 2});
         _DVDImageTextFont style = t.m_style;
         style.bBold = !style.bBold;
         t.m_canvas.SendMessage(WM_TEXT_FONT_CHANGED, reinterpret_cast<WPARAM>(&style), 0);
       }},
      {"text typed",
       [&](CanvasEditTest& t) {
         const CRect b = t.Box(text);
         t.DoubleClick(POINT{b.left + 2, b.top + 2});
         t.Type("!");
         t.Key(VK_RETURN);
       }},
      {"send to back",
       [&](CanvasEditTest& t) {
         t.Click(POINT{240, 180});
         t.Command(ID_SPRITE_SEND_TO_BACK);
       }},
      {"paste", [&](CanvasEditTest& t) { t.Command(ID_SPRITE_COPY), t.Command(ID_SPRITE_PASTE); }},
      {"delete", [&](CanvasEditTest& t) { t.Key(VK_DELETE); }},
      {"apply to all", [&](CanvasEditTest& t) { t.Command(ID_SPRITE_APPLY_TO_ALL); }},
  };
  for (const Case& c : cases) {
    ClearDirty();
    c.edit(*this);
    EXPECT_TRUE(m_album->Get_bDirty()) << c.what;
    EXPECT_TRUE(m_album->Get_bEncodeDirty()) << c.what;
    Paint();
  }
  EXPECT_TRUE(slide->IsChanged());
}

TEST_F(CanvasEditTest, ApplyToAllMovesTheObjectsToTheAlbum) {
  CDVDImage* slide = ShowSlide();
  CDVDImage* other = AddSlide(Source("samples/media/valley_large.jpg"));
  ASSERT_TRUE(m_canvas.InsertText("On every photo"));
  CDVDImageSprite* art = AddClipArtAt(CRect(220, 160, 280, 210));
  CDVDImageSprite* text = slide->m_arrSprites[0];
  // With one selected only that one goes.
  Command(ID_SPRITE_APPLY_TO_ALL);
  EXPECT_EQ(slide->m_arrSprites.IndexOf(art), -1);
  EXPECT_EQ(m_album->m_arrSprites.IndexOf(art), 0);
  EXPECT_EQ(art->Get_srRange(), DVD_SPRITE_RANGE_ALBUM);
  EXPECT_EQ(slide->m_arrSprites.IndexOf(text), 0);
  // With nothing selected the slide's list empties into the album's.
  Click(POINT{380, 280});
  ASSERT_EQ(m_canvas.GetSelectedSprite(), nullptr);
  const CPoint where = text->Get_ptPosition();
  Command(ID_SPRITE_APPLY_TO_ALL);
  EXPECT_EQ(slide->m_arrSprites.GetSize(), 0);
  ASSERT_EQ(m_album->m_arrSprites.GetSize(), 2);
  EXPECT_EQ(m_album->m_arrSprites[1], text);
  EXPECT_EQ(text->Get_ptPosition(), where);
  // Another photo shows them and they can be picked there.
  m_canvas.SetImage(other);
  Paint();
  Click(POINT{Box(art).left + 5, Box(art).top + 5});
  EXPECT_EQ(m_canvas.GetSelectedSprite(), art);
  EXPECT_FALSE(Snapshot("photo-edit-canvas-album-wide.png").empty());
}

TEST_F(CanvasEditTest, StackingCommandsAndTheirMenuStates) {
  CDVDImage* slide = ShowSlide();
  CDVDImageSprite* bottom = AddClipArtAt(CRect(60, 60, 120, 110));
  CDVDImageSprite* top = AddClipArtAt(CRect(90, 80, 150, 130));
  EXPECT_FALSE(MenuState(ID_SPRITE_BRING_TO_FRONT).enabled);
  EXPECT_FALSE(MenuState(ID_SPRITE_BRING_FORWARD).enabled);
  EXPECT_TRUE(MenuState(ID_SPRITE_SEND_TO_BACK).enabled);
  Command(ID_SPRITE_SEND_BACKWARD);
  EXPECT_EQ(slide->m_arrSprites.IndexOf(top), 0);
  EXPECT_FALSE(MenuState(ID_SPRITE_SEND_TO_BACK).enabled);
  EXPECT_TRUE(MenuState(ID_SPRITE_BRING_TO_FRONT).enabled);
  Command(ID_SPRITE_BRING_TO_FRONT);
  EXPECT_EQ(slide->m_arrSprites.IndexOf(bottom), 0);
  // Nothing selected: the object items are grayed, the aspect and scale items show the project's.
  Click(POINT{350, 30});
  GetProject()->GetOptionsData()->nAspectCorrection = 2;
  struct Case {
    UINT id;
    ItemState state;
  } cases[] = {
      {ID_SPRITE_COPY, {false, false}},         {ID_SPRITE_DELETE, {false, false}},
      {ID_SPRITE_APPLY_TO_ALL, {false, false}}, {ID_CANVAS_ASPECT_16X9, {true, true}},
      {ID_CANVAS_ASPECT_4X3, {true, false}},    {ID_CANVAS_SCALE_FIT, {true, true}},
  };
  for (const Case& c : cases) {
    const ItemState state = MenuState(c.id);
    EXPECT_EQ(state.enabled, c.state.enabled) << c.id;
    EXPECT_EQ(state.checked, c.state.checked) << c.id;
  }
}

TEST_F(CanvasEditTest, TheObjectMenuOpensOnARightClick) {
  ShowSlide();
  ASSERT_TRUE(m_canvas.InsertText("Menu"));
  Paint();
  const CRect box = Box(m_canvas.GetSelectedSprite());
  std::string shot;
  RightClick(POINT{box.left + 4, box.top + 4}, [&] {
    pictavo::test::PumpPending();
    shot = pictavo::test::SaveDesktopArea(CRect(0, 0, kHostWidth + 200, kHostHeight),
                                          "photo-edit-canvas-menu.png");
  });
  EXPECT_FALSE(shot.empty());
  EXPECT_TRUE(m_canvas.IsTextSelected());
}

TEST_F(CanvasEditTest, ChoosingTheAspectAlreadySetChangesNothing) {
  CDVDImage* slide = ShowSlide();
  ASSERT_TRUE(m_canvas.InsertText("Wide"));
  GetProject()->GetOptionsData()->nAspectCorrection = 1;
  GetProject()->ClearAllDirty();
  m_album->Put_bEncodeDirty(FALSE);
  Command(ID_CANVAS_ASPECT_4X3);
  EXPECT_FALSE(m_album->Get_bEncodeDirty());
  Command(ID_CANVAS_ASPECT_16X9);
  EXPECT_EQ(GetProject()->GetOptionsData()->nAspectCorrection, 2);
  EXPECT_TRUE(m_album->Get_bEncodeDirty());
  Paint();
  EXPECT_EQ(m_canvas.GetFrameRect(), CRect(1, 38, 399, 261));
  EXPECT_EQ(slide->m_arrSprites.GetSize(), 1);
  EXPECT_FALSE(Snapshot("photo-edit-canvas-16x9.png").empty());
}

}  // namespace
}  // namespace canvastest
