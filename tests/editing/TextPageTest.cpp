#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "editing/TextStyleRules.h"
#include "platform/user/Display.h"
#include "tests/editing/TextPageFixture.h"

using namespace textpagetest;

namespace {

std::string Style(int id, const char* face, int bold) {
  return "<data id=\"" + std::to_string(id) + "\" face=\"" + face + "\" size=\"30\" bold=\"" +
         std::to_string(bold) +
         "\"><brush kind=\"1\" color1=\"#FF0000\" color2=\"#0000FF\" angle=\"90\"/></data>";
}

}  // namespace

TEST_F(TextPageTest, TypedSizesAndOffsetsStayInTheSpinsRanges) {
  struct Case {
    int edit;
    const char* typed;
    int stored;         // the record's value
    const char* shown;  // the edit once left
  };
  // 500 is the spin's own top: it stays 500 (not 0, an invisible text); 520 stops at 500, not 20;
  // -5 is a fine offset and the smallest size for a size (not 291).
  const Case cases[] = {
      {IDC_TEXT_SIZE, "500", 500, "500"},
      {IDC_TEXT_SIZE, "520", 500, "500"},
      {IDC_TEXT_SIZE, "-5", 5, "5"},
      {IDC_TEXT_SIZE, "48", 48, "48"},
      {IDC_TEXT_SIZE, "", 48, "48"},  // half typed: the size stays
      {IDC_TEXT_SHADOW_X, "520", 500, "500"},
      {IDC_TEXT_SHADOW_X, "-5", -5, "-5"},
      {IDC_TEXT_SHADOW_X, "-900", -500, "-500"},
      {IDC_TEXT_SHADOW_Y, "500", 500, "500"},
      {IDC_TEXT_SHADOW_Y, "-5", -5, "-5"},
      {IDC_TEXT_SHADOW_Y, "-", -5, "-5"},
  };
  OpenPage();
  for (const Case& c : cases) {
    Type(Page(), c.edit, c.typed);
    switch (c.edit) {
      case IDC_TEXT_SIZE:
        EXPECT_EQ(m_font.nFontSize, c.stored) << c.typed;
        EXPECT_EQ(m_font.effect.nFontSize, c.stored) << c.typed;
        break;
      case IDC_TEXT_SHADOW_X:
        EXPECT_EQ(m_font.nShadowXOffset, c.stored) << c.typed;
        EXPECT_EQ(m_font.effect.nShadowOffset, c.stored) << c.typed;
        break;
      default:
        EXPECT_EQ(m_font.nShadowYOffset, c.stored) << c.typed;
    }
    SendMessage(Page(), WM_COMMAND, MAKEWPARAM(c.edit, EN_KILLFOCUS),
                reinterpret_cast<LPARAM>(GetDlgItem(Page(), c.edit)));
    EXPECT_EQ(Text(Page(), c.edit), c.shown) << c.typed;
  }
  struct Range {
    int spin, low, high;
  };
  for (const Range& r : {Range{IDC_TEXT_SIZE_SPIN, 5, 500}, Range{IDC_TEXT_SHADOW_X_SPIN, -500, 500},
                         Range{IDC_TEXT_SHADOW_Y_SPIN, -500, 500}}) {
    int low = 0, high = 0;
    SendMessage(GetDlgItem(Page(), r.spin), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, r.low) << r.spin;
    EXPECT_EQ(high, r.high) << r.spin;
  }
}

TEST_F(TextPageTest, EffectListsSelectOnlyStylesTheyHold) {
  struct Case {
    const char* name;
    std::string xml;  // empty: no file
    int count, selected;
    const char* face;  // the record's face after loading
  };
  const std::string three =
      Style(0, "DejaVu Sans", 0) + Style(1, "Liberation Serif", 1) + Style(2, "Liberation Sans", 1);
  const Case cases[] = {
      {"missing", "", 0, LB_ERR, "kept"},
      {"three styles", "<TEXT_EFFECT count=\"3\">" + three + "</TEXT_EFFECT>", 3, 2, "Liberation Sans"},
      {"a count of two thousand million", "<TEXT_EFFECT count=\"2000000000\">" + three + "</TEXT_EFFECT>", 3,
       2, "Liberation Sans"},
      {"a count of one", "<TEXT_EFFECT count=\"1\">" + three + "</TEXT_EFFECT>", 3, 2, "Liberation Sans"},
      {"one style", "<TEXT_EFFECT count=\"4\">" + Style(0, "DejaVu Sans", 0) + "</TEXT_EFFECT>", 1, 0,
       "DejaVu Sans"},
  };
  OpenPage();
  for (const Case& c : cases) {
    const std::string path = m_folder / "effect_list.xml";
    std::filesystem::remove(path);
    if (!c.xml.empty()) pictavo::test::WriteWholeFile(path, c.xml);
    std::strcpy(m_font.szFaceName, "kept");
    m_page->LoadEffectList(path.c_str());
    EXPECT_EQ(StyleCount(), c.count) << c.name;
    EXPECT_EQ(Selection(), c.selected) << c.name;
    EXPECT_STREQ(m_font.szFaceName, c.face) << c.name;
    if (c.count > 0) {
      char text[32] = {};
      SendMessage(GetDlgItem(Page(), IDC_TEXT_EFFECT_LIST), LB_GETTEXT, c.count - 1,
                  reinterpret_cast<LPARAM>(text));
      EXPECT_EQ(std::string(text), "Style " + std::to_string(c.count)) << c.name;
    }
  }
}

TEST_F(TextPageTest, TheRememberedStyleIsChosenOnlyWhenTheListHasIt) {
  struct Case {
    int stored, selected;
  };
  // The shipped list starts on its fourth style.
  const Case cases[] = {{5, 5}, {0, 0}, {-1, 3}, {-40, 3}, {400, 3}};
  for (const Case& c : cases) {
    _DVDImageTextFont& saved = GetAppSettings()->TextFont.Font;
    saved.nEffectIndex = c.stored;
    std::strcpy(saved.szFaceName, "DejaVu Serif");
    saved.nFontSize = 44;
    GetAppSettings()->TextFont.Save();
    OpenPage();
    EXPECT_GE(StyleCount(), 4);
    EXPECT_EQ(Selection(), c.selected) << c.stored;
    // The remembered face and size win over the style's.
    EXPECT_STREQ(m_font.szFaceName, "DejaVu Serif") << c.stored;
    EXPECT_EQ(m_font.nFontSize, 44) << c.stored;
    EXPECT_EQ(Text(Page(), IDC_TEXT_SIZE), "44") << c.stored;
    EXPECT_EQ(ComboText(Page(), IDC_TEXT_FACE), "DejaVu Serif") << c.stored;
    m_page->DestroyWindow();
    m_page.reset();
  }
}

TEST_F(TextPageTest, BoldItalicAndUnderlineSetTheTextAndItsStyle) {
  struct Case {
    int button;
    int32_t _DVDImageTextFont::*text;
    int32_t _TextEffect::*style;
  };
  const Case cases[] = {{IDC_TEXT_BOLD, &_DVDImageTextFont::bBold, &_TextEffect::bBold},
                        {IDC_TEXT_ITALIC, &_DVDImageTextFont::bItalic, &_TextEffect::bItalic},
                        {IDC_TEXT_UNDERLINE, &_DVDImageTextFont::bUnderline, &_TextEffect::bUnderline}};
  OpenPage();
  for (const Case& c : cases) {
    for (const int on : {1, 0}) {
      Check(Page(), c.button, on != 0);
      Click(Page(), c.button);
      EXPECT_EQ(m_font.*c.text, on) << c.button;
      EXPECT_EQ(m_font.effect.*c.style, on) << c.button;
    }
  }
}

TEST_F(TextPageTest, ARecordFromTheCanvasIsShownWithoutBeingReadBackHalfWay) {
  OpenPage();
  // The canvas copies a selected text's style into the shared record and posts it.
  std::strcpy(m_font.effect.szFaceName, "Liberation Serif");
  m_font.effect.nFontSize = 77;
  m_font.nFontSize = 77;
  m_font.effect.bBold = m_font.bBold = 1;
  m_font.effect.bItalic = m_font.bItalic = 1;
  m_font.effect.bShadow = m_font.bShadow = 1;
  m_font.effect.nShadowOffset = 6;
  m_font.nShadowXOffset = m_font.nShadowYOffset = 6;
  const _DVDImageTextFont sent = m_font;
  SendMessage(Page(), WM_TEXT_FONT_CHANGED, reinterpret_cast<WPARAM>(&m_font), 0);
  EXPECT_EQ(std::memcmp(&m_font, &sent, sizeof sent), 0) << "showing the record must not change it";
  EXPECT_EQ(Text(Page(), IDC_TEXT_SIZE), "77");
  EXPECT_TRUE(Checked(Page(), IDC_TEXT_BOLD));
  EXPECT_TRUE(Checked(Page(), IDC_TEXT_ITALIC));
  EXPECT_FALSE(Checked(Page(), IDC_TEXT_UNDERLINE));
  EXPECT_TRUE(Checked(Page(), IDC_TEXT_SHADOW));
  EXPECT_EQ(ComboText(Page(), IDC_TEXT_FACE), "Liberation Serif");
  // A face the combo does not list shows the first one.
  std::strcpy(m_font.effect.szFaceName, "No Such Face");
  SendMessage(Page(), WM_TEXT_FONT_CHANGED, reinterpret_cast<WPARAM>(&m_font), 0);
  EXPECT_EQ(SendMessage(GetDlgItem(Page(), IDC_TEXT_FACE), CB_GETCURSEL, 0, 0), 0);
}

TEST_F(TextPageTest, AStyleKeepsTheFaceAndSizeOfTheSelectedText) {
  CPhotoEditCanvas& canvas = OpenCanvas();
  OpenPage();
  ASSERT_GE(StyleCount(), 4);
  // No text selected: a style brings its face and size.
  PickStyle(1);
  EXPECT_STREQ(m_font.szFaceName, ShippedStyle(1).szFaceName);
  EXPECT_EQ(m_font.nFontSize, textstyle::ClampSize(ShippedStyle(1).nFontSize));
  EXPECT_EQ(m_font.nEffectIndex, 1);
  Click(Page(), IDC_TEXT_ADD);
  pictavo::test::PumpPending();
  ASSERT_TRUE(canvas.IsTextSelected());
  auto* text = static_cast<CDVDImageText*>(canvas.GetSelectedSprite());
  Type(Page(), IDC_TEXT_SIZE, "61");
  pictavo::test::PumpPending();
  const std::string face = m_font.szFaceName;
  // A selected text keeps its face and size and takes the rest of the style.
  PickStyle(2);
  EXPECT_EQ(std::string(m_font.szFaceName), face);
  EXPECT_EQ(std::string(m_font.effect.szFaceName), face);
  EXPECT_EQ(m_font.nFontSize, 61);
  EXPECT_EQ(m_font.effect.nFontSize, 61);
  EXPECT_EQ(m_font.effect.brush.nBrushType, ShippedStyle(2).brush.nBrushType);
  EXPECT_EQ(m_font.bBold, ShippedStyle(2).bBold);
  EXPECT_EQ(m_font.nEffectIndex, 2);
  // The canvas applied it to the text.
  EXPECT_EQ(text->GetDVDImageTextFont().nFontSize, 61);
  EXPECT_EQ(text->GetDVDImageTextFont().effect.brush.nBrushType, ShippedStyle(2).brush.nBrushType);
  SnapshotWindow(m_owner.m_hWnd, "photo-edit-text-page-with-canvas.png");
}

TEST_F(TextPageTest, DoubleClickingAStyleAddsATextOnlyWhenNoneIsSelected) {
  CPhotoEditCanvas& canvas = OpenCanvas();
  OpenPage();
  EXPECT_EQ(canvas.GetSelectedSprite(), nullptr);
  PickStyle(0, true);
  ASSERT_TRUE(canvas.IsTextSelected());
  CDVDImageSprite* first = canvas.GetSelectedSprite();
  EXPECT_EQ(static_cast<CDVDImageText*>(first)->GetDVDImageTextFont().effect.brush.nBrushType,
            ShippedStyle(0).brush.nBrushType);
  PickStyle(3, true);
  EXPECT_EQ(canvas.GetSelectedSprite(), first) << "the selected text took the style; no new text";
}

TEST_F(TextPageTest, ObjectButtonsFollowTheCanvasSelection) {
  struct Step {
    const char* what;
    bool canvas, addText;
    bool enabled;
  };
  const Step steps[] = {{"no canvas", false, false, false},
                        {"nothing selected", true, false, false},
                        {"a text selected", true, true, true}};
  for (const Step& s : steps) {
    if (s.canvas && !m_canvas) OpenCanvas();
    if (!m_page) OpenPage();
    if (s.addText) Click(Page(), IDC_TEXT_ADD);
    pictavo::test::PumpPending();
    SendMessage(Page(), WM_IDLEUPDATECMDUI, TRUE, 0);
    EXPECT_EQ(Enabled(Page(), IDC_TEXT_APPLY_ALL), s.enabled) << s.what;
    EXPECT_EQ(Enabled(Page(), IDC_TEXT_DELETE), s.enabled) << s.what;
    if (!s.canvas) {
      m_page->DestroyWindow();
      m_page.reset();
    }
  }
}

TEST_F(TextPageTest, TheBrushDialogChangesTheStyleOnlyOnOk) {
  CPhotoEditCanvas& canvas = OpenCanvas();
  OpenPage();
  Click(Page(), IDC_TEXT_ADD);
  pictavo::test::PumpPending();
  auto* text = static_cast<CDVDImageText*>(canvas.GetSelectedSprite());
  ASSERT_NE(text, nullptr);
  const int before = m_font.effect.brush.nBrushType;
  struct Case {
    const char* what;
    int radio;
    WPARAM button;
    int kind;
  };
  const Case cases[] = {{"Linear Gradient, Cancel", IDC_TEXT_BRUSH_GRADIENT_RADIO, IDCANCEL, before},
                        {"Linear Gradient, OK", IDC_TEXT_BRUSH_GRADIENT_RADIO, IDOK, 1},
                        {"Texture, OK", IDC_TEXT_BRUSH_TEXTURE_RADIO, IDOK, 2}};
  for (const Case& c : cases) {
    g_dialog = nullptr;
    g_steps = [&](HWND dialog) {
      for (const int radio :
           {IDC_TEXT_BRUSH_SOLID_RADIO, IDC_TEXT_BRUSH_GRADIENT_RADIO, IDC_TEXT_BRUSH_TEXTURE_RADIO})
        Check(dialog, radio, radio == c.radio);
      Click(dialog, c.radio);
      return c.button;
    };
    Click(Page(), IDC_TEXT_BRUSH);
    pictavo::test::PumpPending();
    EXPECT_EQ(m_font.effect.brush.nBrushType, c.kind) << c.what;
    EXPECT_EQ(text->GetDVDImageTextFont().effect.brush.nBrushType, c.kind) << c.what;
    if (c.kind == 1) SnapshotWindow(Page(), "photo-edit-text-page-gradient-brush.png");
  }
}

TEST_F(TextPageTest, ThePageAsTheUserSeesIt) {
  OpenPage();
  ASSERT_GE(StyleCount(), 4);
  EXPECT_EQ(Selection(), 3);
  EXPECT_FALSE(SnapshotWindow(Page(), "photo-edit-text-page.png").empty());
  // The list scrolls sideways to the styles past the first columns.
  HWND list = GetDlgItem(Page(), IDC_TEXT_EFFECT_LIST);
  SendMessage(list, WM_HSCROLL, SB_RIGHT, 0);
  EXPECT_GT(SendMessage(list, LB_GETTOPINDEX, 0, 0), 0);
  SnapshotWindow(Page(), "photo-edit-text-page-last-styles.png");
  SendMessage(list, WM_HSCROLL, SB_LEFT, 0);
  EXPECT_EQ(SendMessage(list, LB_GETTOPINDEX, 0, 0), 0);
  SnapshotWindow(Page(), "photo-edit-text-page-first-styles.png");
}

namespace {

// The photo configuration dialog's part in the macro menu: it receives the chosen command.
class CCommandHost : public CWnd {
 public:
  std::vector<UINT> m_commands;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    m_commands.push_back(LOWORD(wParam));
    return CWnd::OnCommand(wParam, lParam);
  }
};

}  // namespace

TEST_F(TextPageTest, AMacroChosenFromTheMenuGoesToTheDialog) {
  struct Case {
    std::vector<UINT> keys;
    std::vector<UINT> commands;
  };
  const Case cases[] = {{{VK_DOWN, VK_RETURN}, {32823}},
                        {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, {32825}},
                        {{VK_UP, VK_RETURN}, {32831}},
                        {{VK_ESCAPE}, {}}};
  CCommandHost host;
  ASSERT_TRUE(
      host.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, CRect(0, 0, 700, 200), nullptr, 0));
  CPhotoEditOperTextPage page(&m_font);
  ASSERT_TRUE(page.Create(IDD_PHOTO_EDIT_TEXT, &host));
  page.ShowWindow(SW_SHOW);
  pictavo::test::PumpPending();
  for (const Case& c : cases) {
    host.m_commands.clear();
    for (const UINT key : c.keys) {
      pictavo::user::InjectKey({key, true});
      pictavo::user::InjectKey({key, false});
    }
    Click(page.m_hWnd, IDC_TEXT_ADD_MACRO);
    pictavo::test::PumpPending();
    EXPECT_EQ(host.m_commands, c.commands) << c.keys.size() << " keys";
  }
  page.DestroyWindow();
  host.DestroyWindow();
}
