#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "disc/engines/TemplateEngine.h"

namespace {

// A plain pass over a template text; the page as written, or "ERROR: ..." for a damaged one.
std::string RunPlain(const char* text) {
  SetTemplateText(text);
  BeginTemplatePage(TRUE);
  const int result = RunTemplatePass(nullptr);
  if (result != 0 || !EndTemplatePage()) return "ERROR: " + g_templateError.Str();
  return g_templateOutput.Str();
}

std::vector<std::pair<int, std::string>> ReadAll(const char* text) {
  SetTemplateText(text);
  BeginTemplatePage(TRUE);
  std::vector<std::pair<int, std::string>> nodes;
  TemplateNode node;
  while (ReadTemplateNode(&node)) nodes.emplace_back(node.kind, node.text.Str());
  return nodes;
}

TEST(TemplateNodes, KindsAndBounds) {
  using Nodes = std::vector<std::pair<int, std::string>>;
  struct Case {
    const char* text;
    Nodes nodes;
  };
  const Case kCases[] = {
      {" \t\r\nab<b>",
       {{TEMPLATE_NODE_TEXT, " \t\r\n"}, {TEMPLATE_NODE_TEXT, "ab"}, {TEMPLATE_NODE_TAG, "<b>"}}},
      {"<ca:if \"$A\"></ca:if>",
       {{TEMPLATE_NODE_CONTROL, "<ca:if \"$A\">"}, {TEMPLATE_NODE_CONTROL, "</ca:if>"}}},
      {"<img alt=\"a>b\">x", {{TEMPLATE_NODE_TAG, "<img alt=\"a>b\">"}, {TEMPLATE_NODE_TEXT, "x"}}},
      {"<% a > b %>c", {{TEMPLATE_NODE_SCRIPT, "<% a > b %>"}, {TEMPLATE_NODE_TEXT, "c"}}},
      {"<%=1;%>", {{TEMPLATE_NODE_TAG, "<%=1;%>"}}},
      {"<!-- a > b -->", {{TEMPLATE_NODE_COMMENT, "<!-- a > b -->"}}},
      {"Photos (<b>3</b> of 5)<i>",
       {{TEMPLATE_NODE_TEXT, "Photos (<b>3</b> of 5)"}, {TEMPLATE_NODE_TAG, "<i>"}}},
  };
  for (const Case& c : kCases) EXPECT_EQ(ReadAll(c.text), c.nodes) << c.text;
}

TEST(TemplateLanguage, VariablesAndBlocks) {
  struct Case {
    const char* title;  // AlbumTitle, or null for never set
    const char* text;
    const char* written;
  };
  const Case kCases[] = {
      {"Trip", "<h1>$AlbumTitle</h1>", "<h1>Trip</h1>"},
      {"Trip", "$Unknown stays", "$Unknown stays"},
      {"Trip", "<ca:if \"$AlbumTitle\">A</ca:if><ca:else>B</ca:else>", "A"},
      {"", "<ca:if \"$AlbumTitle\">A</ca:if><ca:else>B</ca:else>", "B"},
      {nullptr, "<ca:if \"$AlbumTitle\">A</ca:if><ca:else>B</ca:else>", "B"},
      {"0", "<ca:if \"$AlbumTitle\">zero counts</ca:if>", "zero counts"},
      // A false outer block makes everything inside it inactive, an else after a nested if too.
      {"", "<ca:if \"$AlbumTitle\">a<ca:if \"$Other\">b</ca:if><ca:else>c</ca:else>d</ca:if>e", "e"},
      {"T", "<ca:if \"$AlbumTitle\">a<ca:if \"$Missing\">b</ca:if><ca:else>c</ca:else>d</ca:if>", "acd"},
      {"T", "x<% hidden %>y", "x y"},
      {"T", "<!-- $AlbumTitle -->", "<!-- T -->"},
      {"T", "<td width=\"<%= 2 * 3 ;%>\">", "<td width=\"6\">"},
      {"T", "<!-- <%= 1 ;%> -->(<%= 2 ;%>)", "<!-- <%= 1 ;%> -->(<%= 2 ;%>)"},
      {"T", "<ca:rowiterator>once</ca:rowiterator>", "once"},
  };
  for (const Case& c : kCases) {
    g_templateVariables.RemoveAll();
    g_templateVariables.Set("Other", "x");
    if (c.title != nullptr) g_templateVariables.Set("AlbumTitle", c.title);
    EXPECT_EQ(RunPlain(c.text), c.written) << c.text;
  }
}

TEST(TemplateLanguage, ConditionNameStopsAtTheFirstNonLetter) {
  CString name;
  EXPECT_EQ(GetConditionName("<ca:if \"$Image2Path\">", &name), 0);
  EXPECT_EQ(name, "Image");
  EXPECT_EQ(GetConditionName("<ca:if $Image>", &name), -1);
}

TEST(TemplateLanguage, DamagedTemplatesStopWithAReason) {
  struct Case {
    const char* text;
    const char* reason;
  };
  const Case kCases[] = {
      {"<p>ok</p>\n<img src=\"a.jpg\"", "line 2: a tag that is never closed"},
      {"<img alt=\"open>\n", "line 1: a quote that is never closed"},
      {"<!-- no end", "line 1: a comment that is never closed"},
      {"<% script", "line 1: a script block that is never closed"},
      {"a</ca:if>", "line 1: </ca:if> without a block to close"},
      {"</ca:else>", "line 1: </ca:else> without a block to close"},
      {"<ca:if \"$A\">open", "an if or else block that is never closed"},
      {"<ca:if A>x</ca:if>", "line 1: an <ca:if> without a quoted variable name"},
      {"<", "line 1: a tag that is never closed"},
  };
  for (const Case& c : kCases) EXPECT_EQ(RunPlain(c.text), std::string("ERROR: ") + c.reason) << c.text;
}

// Items for the iterator cases: each sets Item to its number.
class CountingItems : public CTemplateItemSource {
 public:
  explicit CountingItems(int count) : m_count(count) {}
  bool HasFileItem() override { return m_next < m_count; }
  bool HasGridItem() override { return m_next < m_count; }
  int SetNextItem(bool) override {
    g_templateVariables.SetInt("Item", ++m_next);
    return 0;
  }

 private:
  int m_count;
  int m_next = 0;
};

std::string RunItems(const char* text, int count, int rows, int columns) {
  SetTemplateText(text);
  BeginTemplatePage(TRUE);
  CountingItems items(count);
  const int result = RunTemplatePass(&items, rows, columns);
  if (result != 0 || !EndTemplatePage()) return "ERROR: " + g_templateError.Str();
  return g_templateOutput.Str();
}

TEST(TemplateLanguage, Iterators) {
  struct Case {
    const char* text;
    int count, rows, columns;
    const char* written;
  };
  const char* kFiles = "[<ca:fileiterator>($Item)</ca:fileiterator>]";
  const char* kGrid = "<ca:rowiterator>{<ca:coliterator>$Item </ca:coliterator>}</ca:rowiterator>.";
  const Case kCases[] = {
      {kFiles, 3, 0, 0, "[(1)(2)(3)]"},
      {"[<ca:fileiterator><i>$Item</i></ca:fileiterator>]", 3, 0, 0, "[<i>1</i><i>2</i><i>3</i>]"},
      {"[<ca:fileiterator><i>$Item</i></ca:fileiterator>]", 0, 0, 0, "[]"},
      {kGrid, 5, 2, 2, "{1 2 }{3 4 }."},
      {kGrid, 3, 2, 2, "{1 2 }{3 }."},
      {kGrid, 0, 2, 2, "."},
      {"<ca:fileiterator>x", 2, 0, 0, "ERROR: line 1: an iterator without its </ca:fileiterator>"},
      {"<ca:rowiterator>x", 2, 1, 1, "ERROR: line 1: an iterator without its <ca:coliterator>"},
  };
  for (const Case& c : kCases) {
    g_templateVariables.RemoveAll();
    EXPECT_EQ(RunItems(c.text, c.count, c.rows, c.columns), c.written) << c.text << " " << c.count;
  }
}

}  // namespace
