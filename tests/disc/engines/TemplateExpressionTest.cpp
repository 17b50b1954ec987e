#include <gtest/gtest.h>

#include "disc/engines/TemplateExpression.h"
#include "disc/engines/TemplateVariables.h"

namespace {

struct Case {
  const char* expression;  // between the delimiters
  const char* name;        // a variable set for the case, or null
  const char* value;
  const char* written;
};

const Case kCases[] = {
    {"$ThumbnailWidth / 2", "ThumbnailWidth", "121", "60"},
    {"7 / 2 * 2", nullptr, nullptr, "7"},
    {"(int)(7 / 2) * 2", nullptr, nullptr, "6"},
    {"int 7 / 2", nullptr, nullptr, "3"},
    {"2 * (int) 3.9", nullptr, nullptr, "6"},
    {"10 - 4 - 3", nullptr, nullptr, "3"},
    {"2 + 3 * 4", nullptr, nullptr, "14"},
    {"(2 + 3) * 4", nullptr, nullptr, "20"},
    {"1 - 3.5", nullptr, nullptr, "-2"},
    {"3.5 + 2.6", nullptr, nullptr, "6"},
    {"MaxRowNum * 100", "MaxRowNum", "3", "300"},
    {"float 7 / 2 * 2", nullptr, nullptr, "7"},
    {"1.2.3 * 10", nullptr, nullptr, "12"},
};

// The tag as the engine evaluates it after the node pass replaced "$Name" references.
CString Evaluate(const char* expression) {
  CString tag = CString("<td width=\"<%=") + expression + ";%>\">";
  g_templateVariables.ForEach(
      [&tag](const CString& name, const CString& value) { tag.Replace("$" + name, value); });
  EvaluateTemplateExpressions(tag);
  return tag;
}

TEST(TemplateExpression, TableOfCases) {
  for (const Case& c : kCases) {
    g_templateVariables.RemoveAll();
    if (c.name != nullptr) g_templateVariables.Set(c.name, c.value);
    EXPECT_EQ(Evaluate(c.expression), CString("<td width=\"") + c.written + "\">") << c.expression;
  }
}

// Faulty expressions print 0 instead of crashing or printing garbage.
TEST(TemplateExpression, FaultsPrintZero) {
  g_templateVariables.RemoveAll();
  const char* kFaulty[] = {
      "1 / 0", "7 / (2 - 2)", "+",      "2 *",   "- 3",   "",
      "int",   "(1 + 2",      "1 + 2)", "x + 1", "2 # 3", "99999999999 * 99999999999 / 0"};
  for (const char* expression : kFaulty) EXPECT_EQ(Evaluate(expression), "<td width=\"0\">") << expression;
  // Out of 32 bits: the value stops at the range's end.
  EXPECT_EQ(Evaluate("99999999999 * 99"), "<td width=\"2147483647\">");
}

TEST(TemplateExpression, EvaluatorResults) {
  ExpressionTokenList postfix;
  double value = 0;
  ASSERT_EQ(InfixToPostfix("(1 + 2", postfix), 0);
  EXPECT_EQ(EvaluatePostfix(postfix, &value), EXPR_ERROR_PARENTHESIS);
  ASSERT_EQ(InfixToPostfix("4 / 0", postfix), 0);
  EXPECT_EQ(EvaluatePostfix(postfix, &value), EXPR_ERROR_DIVISION);
  ASSERT_EQ(InfixToPostfix("*", postfix), 0);
  EXPECT_EQ(EvaluatePostfix(postfix, &value), EXPR_ERROR_OPERANDS);
  EXPECT_EQ(InfixToPostfix("1 + q", postfix), -2);
  EXPECT_EQ(InfixToPostfix("1 ; 2", postfix), -1);
}

TEST(TemplateExpression, TokensAndLengths) {
  struct TokenCase {
    const char* text;
    int consumed;
    int kind;
  };
  const TokenCase kTokens[] = {{"+1", 1, EXPR_PLUS},          {"-", 1, EXPR_MINUS},
                               {"*", 1, EXPR_TIMES},          {"/", 1, EXPR_DIVIDE},
                               {"int x", 3, EXPR_INT_CAST},   {"Ix", 2, EXPR_INT_CAST},
                               {"float", 5, EXPR_FLOAT_CAST}, {"(", 1, EXPR_OPEN},
                               {")", 1, EXPR_CLOSE},          {"12.5.1+", 6, EXPR_NUMBER}};
  for (const TokenCase& t : kTokens) {
    ExpressionToken token;
    EXPECT_EQ(ReadExpressionToken(t.text, &token), t.consumed) << t.text;
    EXPECT_EQ(token.kind, t.kind) << t.text;
  }
  ExpressionToken token;
  EXPECT_EQ(ReadExpressionToken("a", &token), -2);
  EXPECT_EQ(ReadExpressionToken("%", &token), -1);
}

TEST(TemplateExpression, FindAndRepeat) {
  CString text = "a <%=1;%> b";
  EXPECT_EQ(FindExpression(text), 0);
  EXPECT_EQ(text, "<%=1;%>");
  CString none = "plain";
  EXPECT_EQ(FindExpression(none), -1);
  CString open = "<b x=\"<%=1 + 1\">";
  EXPECT_EQ(FindExpression(open), -2);
  EXPECT_EQ(open, "<b x=\"<%=1 + 1\">");

  // The same expression twice gets the one result in both places; an unclosed one stays.
  CString twice = "<img width=\"<%=2*3;%>\" height=\"<%=2*3;%>\" alt=\"<%=1\">";
  EvaluateTemplateExpressions(twice);
  EXPECT_EQ(twice, "<img width=\"6\" height=\"6\" alt=\"<%=1\">");
}

TEST(TemplateVariables, OrderFollowsTheBuckets) {
  CTemplateVariableTable table;
  table.Set("b", "1");
  table.Set("a", "2");
  table.Set("r", "3");  // same bucket as "a" (97 % 17 == 114 % 17), added later: first
  table.Set("a", "4");  // a new value keeps the place
  std::vector<std::string> order;
  table.ForEach([&order](const CString& name, const CString& value) {
    order.push_back(name.Str() + "=" + value.Str());
  });
  EXPECT_EQ(CTemplateVariableTable::Bucket("a"), CTemplateVariableTable::Bucket("r"));
  const std::vector<std::string> expected = {"r=3", "a=4", "b=1"};
  EXPECT_EQ(order, expected);
}

}  // namespace
