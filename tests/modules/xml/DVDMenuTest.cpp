#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "modules/xml/DVDMenu.h"
#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"
#include "tests/modules/xml/MenuFixtures.h"

namespace {

using menutest::Albums;
using menutest::ObjectsOf;

class BasicMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_menu.SetTemplateXMLFile((menutest::TemplateFolder() + "/19basic.xml").c_str()))
        << m_menu.GetTemplateError().GetString();
    m_menu.SetTVScreenSize(768, 576, FALSE);
  }
  void Show(const pictavo::menu::MenuContent& content) {
    m_menu.SetMenuContent(content);
    m_menu.SetStatus(0);
    ASSERT_TRUE(m_menu.ParseMenu(0));
  }
  CDVDMenu m_menu;
};

TEST(DVDMenuShipped, PageCountsFollowTheAlbumEntries) {
  for (const char* name : menutest::kShippedTemplates) {
    CDVDMenu menu;
    ASSERT_TRUE(menu.SetTemplateXMLFile((menutest::TemplateFolder() + "/" + name).c_str())) << name;
    const int perPage = menu.GetMaxAlbumCountPerPage();
    struct Case {
      int albums, pages;
    };
    const Case cases[] = {{0, 1},           {1, 1},           {perPage, 1},
                          {perPage + 1, 2}, {3 * perPage, 3}, {3 * perPage + 1, 4}};
    for (const auto& c : cases) {
      menu.SetMenuContent(Albums(c.albums));
      ASSERT_TRUE(menu.ParseMenu(0));
      EXPECT_EQ(menu.GetPageCount(), c.pages) << name << " with " << c.albums;
    }
  }
}

TEST_F(BasicMenu, PageDataAndButtonsOnEachPage) {
  const int perPage = m_menu.GetMaxAlbumCountPerPage();
  ASSERT_EQ(perPage, 6);
  Show(Albums(2 * perPage + 2));  // pages of 6, 6 and 2
  struct Case {
    int page, albums, previous, next;
  };
  const Case cases[] = {{0, 6, 0, 1}, {1, 6, 1, 1}, {2, 2, 1, 0}};
  for (const auto& c : cases) {
    ASSERT_TRUE(m_menu.SetCurrentPage(c.page));
    EXPECT_EQ(m_menu.GetCurrentPage(), c.page);
    int albums = -1, previous = -1, next = -1;
    m_menu.GetCurrentPageData(albums, previous, next);
    EXPECT_EQ(albums, c.albums) << c.page;
    EXPECT_EQ(previous, c.previous) << c.page;
    EXPECT_EQ(next, c.next) << c.page;

    std::vector<int> ids;
    for (const CMenuButton* button : ObjectsOf<CMenuButton>(m_menu)) ids.push_back(button->GetButtonID());
    std::vector<int> expected;
    if (c.previous) expected.push_back(CMenuButton::kPreviousPage);
    if (c.next) expected.push_back(CMenuButton::kNextPage);
    EXPECT_EQ(ids, expected) << c.page;

    const auto texts = ObjectsOf<CMenuAlbumText>(m_menu);
    const auto thumbnails = ObjectsOf<CMenuThumbnail>(m_menu);
    ASSERT_EQ(texts.size(), static_cast<size_t>(c.albums));
    ASSERT_EQ(thumbnails.size(), static_cast<size_t>(c.albums));
    for (int k = 0; k < c.albums; ++k) {
      EXPECT_EQ(texts[k]->GetAlbumIndex(), c.page * perPage + k);
      EXPECT_EQ(thumbnails[k]->GetIndex(), c.page * perPage + k);
      EXPECT_EQ(texts[k]->GetText(), CString(("Album " + std::to_string(c.page * perPage + k + 1)).c_str()));
    }
  }
  EXPECT_FALSE(m_menu.SetCurrentPage(3));
  EXPECT_FALSE(m_menu.ParsePage(-1));
  EXPECT_EQ(m_menu.GetCurrentPage(), 2);
}

TEST_F(BasicMenu, ObjectsComeInAFixedOrder) {
  Show(Albums(7));
  std::vector<std::string> kinds;
  for (POSITION pos = m_menu.GetObjectPtrList()->GetHeadPosition(); pos;)
    kinds.push_back(m_menu.GetObjectPtrList()->GetNext(pos)->GetRuntimeClass()->m_lpszClassName);
  std::vector<std::string> expected = {"CMenuTitleText"};
  for (int k = 0; k < 6; ++k)
    expected.insert(expected.end(), {"CMenuThumbnail", "CMenuAlbumText", "CMenuText"});
  expected.insert(expected.end(), {"CMenuText", "CMenuButton"});  // "1 / 2", next page
  EXPECT_EQ(kinds, expected);
  const auto title = ObjectsOf<CMenuTitleText>(m_menu);
  ASSERT_EQ(title.size(), 1u);
  EXPECT_EQ(title[0]->GetText(), "Our Year");
  EXPECT_TRUE(title[0]->IsKindOf(RUNTIME_CLASS(CMenuText)));
  EXPECT_FALSE(title[0]->IsKindOf(RUNTIME_CLASS(CMenuAlbumText)));
}

TEST_F(BasicMenu, VisibilityChoicesRemoveTheirObjects) {
  struct Case {
    bool pictavo::menu::MenuContent::*flag;
    const char* className;
  };
  const Case cases[] = {
      {&pictavo::menu::MenuContent::showTitle, "CMenuTitleText"},
      {&pictavo::menu::MenuContent::showAlbumTitles, "CMenuAlbumText"},
      {&pictavo::menu::MenuContent::showThumbnails, "CMenuThumbnail"},
      {&pictavo::menu::MenuContent::showAlbumIndex, "CMenuText"},  // the numbers
      {&pictavo::menu::MenuContent::showPageIndex, "CMenuText"},
  };
  const auto count = [this](const char* className) {
    int n = 0;
    for (POSITION pos = m_menu.GetObjectPtrList()->GetHeadPosition(); pos;)
      n += std::string(m_menu.GetObjectPtrList()->GetNext(pos)->GetRuntimeClass()->m_lpszClassName) ==
           className;
    return n;
  };
  Show(Albums(9));
  const int plainTexts = count("CMenuText");
  EXPECT_EQ(plainTexts, 7);  // six numbers and the page number
  for (const auto& c : cases) {
    auto content = Albums(9);
    content.*c.flag = false;
    Show(content);
    const int expected = std::string(c.className) == "CMenuText"
                             ? (c.flag == &pictavo::menu::MenuContent::showPageIndex ? 6 : 1)
                             : 0;
    EXPECT_EQ(count(c.className), expected) << c.className;
  }
  // A single page has no page number.
  Show(Albums(3));
  EXPECT_EQ(count("CMenuText"), 3);
}

TEST_F(BasicMenu, RectanglesFollowTheTvScreen) {
  Show(Albums(1));
  const CRect atDesign = ObjectsOf<CMenuThumbnail>(m_menu)[0]->GetRect();
  EXPECT_EQ(atDesign, CRect(72, 140, 200, 236));
  struct Case {
    int width, height;
  };
  const Case cases[] = {{720, 576}, {720, 480}, {704, 480}, {1536, 1152}};
  for (const auto& c : cases) {
    m_menu.SetTVScreenSize(c.width, c.height, TRUE);
    const CRect r = ObjectsOf<CMenuThumbnail>(m_menu)[0]->GetRect();
    EXPECT_NEAR(r.left, 72.0 * c.width / 768, 0.5) << c.width;
    EXPECT_NEAR(r.right, 200.0 * c.width / 768, 0.5) << c.width;
    EXPECT_NEAR(r.top, 140.0 * c.height / 576, 0.5) << c.height;
    EXPECT_NEAR(r.bottom, 236.0 * c.height / 576, 0.5) << c.height;
    const CRect text = ObjectsOf<CMenuAlbumText>(m_menu)[0]->GetTextRect();
    EXPECT_FALSE(text.IsRectEmpty());
  }
}

TEST_F(BasicMenu, TextsTakeEditsAtOnce) {
  Show(Albums(1));
  CMenuAlbumText* text = ObjectsOf<CMenuAlbumText>(m_menu)[0];
  const CRect before = text->GetTextRect();
  EXPECT_EQ(text->GetFontSize(), 24);
  EXPECT_EQ(text->GetFontFaceName(), "DejaVu Sans");
  EXPECT_TRUE(text->HasShadow());

  text->SetFont("DejaVu Serif", 36, RGB(1, 2, 3));
  EXPECT_EQ(text->GetFontFaceName(), "DejaVu Serif");
  EXPECT_EQ(text->GetFontColor(), RGB(1, 2, 3));
  EXPECT_GT(text->GetTextRect().Height(), before.Height());

  text->SetFont("", 600, RGB(4, 5, 6));  // no face chosen: the face stays; sizes are bounded
  EXPECT_EQ(text->GetFontFaceName(), "DejaVu Serif");
  EXPECT_EQ(text->GetFontSize(), 500);
  text->SetFont("DejaVu Sans", 24, RGB(255, 255, 255));

  text->SetShadow(FALSE);
  EXPECT_FALSE(text->HasShadow());
  text->SetShadowFont(RGB(9, 9, 9), 0);
  EXPECT_EQ(text->GetShadowColor(), RGB(9, 9, 9));
  EXPECT_EQ(text->GetShadowSize(), 1);

  // A long name is shortened to its entry's width but kept whole as the text.
  const std::string longName(200, 'W');
  text->SetText(longName.c_str());
  EXPECT_EQ(text->GetText(), CString(longName));
  EXPECT_LE(text->GetTextRect().Width(), 180);

  text->SetTextPosition(CPoint(300, 50));
  EXPECT_EQ(text->GetTextPosition(), CPoint(300, 50));
  EXPECT_EQ(text->GetTextRect().TopLeft(), CPoint(300, 50));
  text->SetFont("DejaVu Sans", 30, RGB(255, 255, 255));  // a moved text stays where it was put
  EXPECT_EQ(text->GetTextPosition(), CPoint(300, 50));
}

TEST_F(BasicMenu, UserStylesAndPositionsFromTheContentWin) {
  auto content = Albums(2);
  pictavo::menu::TextOverride user;
  user.style.face = "DejaVu Serif";
  user.style.size = 30;
  user.style.color = RGB(10, 20, 30);
  user.position = POINT{420, 60};
  content.albums[1].text = user;
  content.titleText = pictavo::menu::TextOverride{.style = user.style};  // style only: the template places it
  Show(content);
  const auto texts = ObjectsOf<CMenuAlbumText>(m_menu);
  EXPECT_EQ(texts[0]->GetFontFaceName(), "DejaVu Sans");
  EXPECT_EQ(texts[1]->GetFontFaceName(), "DejaVu Serif");
  EXPECT_EQ(texts[1]->GetFontColor(), RGB(10, 20, 30));
  EXPECT_EQ(texts[1]->GetTextPosition(), CPoint(420, 60));
  const CMenuTitleText* title = ObjectsOf<CMenuTitleText>(m_menu)[0];
  EXPECT_EQ(title->GetFontSize(), 30);
  const CRect r = title->GetTextRect();
  EXPECT_NEAR((r.left + r.right) / 2.0, 384, 2);  // still centred in the title box
}

TEST_F(BasicMenu, TitleFallsBackToTheTemplateSample) {
  auto content = Albums(1);
  content.title.clear();
  Show(content);
  EXPECT_EQ(ObjectsOf<CMenuTitleText>(m_menu)[0]->GetText(), "My Photo Albums");
}

TEST_F(BasicMenu, StatusStopsLayout) {
  m_menu.SetMenuContent(Albums(3));
  m_menu.SetStatus(1);
  EXPECT_FALSE(m_menu.ParseMenu(0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_OPERATION_ABORTED));
  EXPECT_EQ(m_menu.GetObjectPtrList(), nullptr);
  m_menu.SetStatus(0);
  EXPECT_TRUE(m_menu.ParseMenu(0));
  EXPECT_NE(m_menu.GetObjectPtrList(), nullptr);
}

TEST_F(BasicMenu, ContentChangesApplyOnTheNextLayout) {
  Show(Albums(20));  // four pages
  ASSERT_TRUE(m_menu.SetCurrentPage(3));
  m_menu.SetMenuContent(Albums(8));  // two pages now
  EXPECT_EQ(m_menu.GetPageCount(), 4);
  m_menu.ProjectDataChanged();
  EXPECT_EQ(m_menu.GetPageCount(), 2);
  EXPECT_EQ(m_menu.GetCurrentPage(), 1);  // the last page that still exists

  m_menu.ChangeTemplate((menutest::TemplateFolder() + "/64Xmas.xml").c_str());  // four per page
  EXPECT_EQ(m_menu.GetXMLFile(), CString((menutest::TemplateFolder() + "/64Xmas.xml").c_str()));
  EXPECT_EQ(m_menu.GetPageCount(), 2);
  EXPECT_EQ(m_menu.GetCurrentPage(), 0);
  EXPECT_EQ(m_menu.GetMaxAlbumCountPerPage(), 4);
}

TEST(DVDMenuEmpty, WithoutATemplateNothingIsLaidOut) {
  CDVDMenu menu;
  menu.SetMenuContent(Albums(3));
  EXPECT_FALSE(menu.ParseMenu(0));
  EXPECT_FALSE(menu.ParsePage(0));
  EXPECT_EQ(menu.GetPageCount(), 0);
  EXPECT_EQ(menu.GetMaxAlbumCountPerPage(), 0);
  EXPECT_EQ(menu.GetTotalFrame(), 0);
  EXPECT_EQ(menu.GetObjectPtrList(), nullptr);
  EXPECT_TRUE(menu.GetXMLFile().IsEmpty());
  int albums = -1, previous = -1, next = -1;
  menu.GetCurrentPageData(albums, previous, next);
  EXPECT_EQ(albums, 0);
  EXPECT_EQ(previous, 0);
  EXPECT_EQ(next, 0);
  menutest::TestCanvas canvas(64, 48);
  EXPECT_FALSE(menu.DrawFrame(canvas.Dc(), 0, 0));
  EXPECT_EQ(menu.GetButtonMaskBitmap(0), nullptr);
  menu.StopPlaying();
}

TEST_F(BasicMenu, MotionLengthFollowsTheTvSystem) {
  m_menu.SetTVScreenSize(720, 576, TRUE);
  EXPECT_EQ(m_menu.GetTotalFrame(), 12 * 25);
  m_menu.SetTVScreenSize(720, 480, FALSE);
  EXPECT_EQ(m_menu.GetTotalFrame(), 12 * 30);
}

}  // namespace
