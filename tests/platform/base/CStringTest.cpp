#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "platform/base/CString.h"

namespace {

TEST(CString, Construction) {
  EXPECT_EQ(CString(), "");
  EXPECT_EQ(CString(static_cast<const char*>(nullptr)), "");
  EXPECT_EQ(CString("abc", 2), "ab");
  EXPECT_EQ(CString('-', 3), "---");
  EXPECT_EQ(CString('-', 0), "");
  EXPECT_EQ(CString(std::string_view("view")), "view");
  EXPECT_EQ(CString(L"caf\u00e9"), "caf\xc3\xa9");
  EXPECT_EQ(CString(L"wide", 2), "wi");
  CString s("x");
  s = "";
  EXPECT_TRUE(s.IsEmpty());
  s = 'q';
  EXPECT_EQ(s.GetLength(), 1);
  s = L"w";
  EXPECT_EQ(s, "w");
}

TEST(CString, AccessAndConversion) {
  CString s("hello");
  EXPECT_EQ(s.GetAt(1), 'e');
  EXPECT_EQ(s[4], 'o');
  EXPECT_EQ(s.GetAt(5), '\0');  // out of range reads nothing
  s.SetAt(0, 'j');
  s.SetAt(9, 'x');  // ignored
  EXPECT_STREQ(static_cast<LPCTSTR>(s), "jello");
  EXPECT_EQ(std::strlen(s), 5u);
  s.Empty();
  EXPECT_EQ(s.GetLength(), 0);
}

TEST(CString, ConcatenationAndComparison) {
  const CString a("ab");
  EXPECT_EQ(a + "cd", "abcd");
  EXPECT_EQ("<" + a, "<ab");
  EXPECT_EQ(a + '!', "ab!");
  EXPECT_EQ('[' + a, "[ab");
  EXPECT_EQ(a + a, "abab");
  EXPECT_EQ(CString("x") + "y" + "z", "xyz");
  CString s(a);
  s += "c";
  s += 'd';
  s += a;
  s += static_cast<const char*>(nullptr);
  EXPECT_EQ(s, "abcdab");
  s += s.GetString() + 4;  // text from the string itself
  EXPECT_EQ(s, "abcdabab");

  EXPECT_TRUE(a == "ab");
  EXPECT_TRUE("ab" == a);
  EXPECT_TRUE(a != "aB");
  EXPECT_TRUE(CString("abc") < CString("abd"));
  EXPECT_TRUE(CString("ab") < "abc");
  EXPECT_TRUE(CString("\xc3\xa9") > "z");  // bytes compare unsigned
  std::map<CString, int> byName{{"b", 2}, {"a", 1}};
  EXPECT_EQ(byName.begin()->second, 1);

  struct Case {
    const char* left;
    const char* right;
    int compare, noCase;
  };
  const Case kCases[] = {{"abc", "abc", 0, 0},  {"abc", "ABC", 1, 0}, {"ABC", "abd", -1, -1},
                         {"ab", "abc", -1, -1}, {"b", "A", 1, 1},     {"", "", 0, 0}};
  for (const auto& c : kCases) {
    EXPECT_EQ(CString(c.left).Compare(c.right), c.compare) << c.left << " " << c.right;
    EXPECT_EQ(CString(c.left).CompareNoCase(c.right), c.noCase) << c.left << " " << c.right;
  }
  EXPECT_EQ(CString("a").Collate("b"), -1);
  EXPECT_EQ(CString("a").CollateNoCase("A"), 0);
}

TEST(CString, ExtractionClampsItsArguments) {
  const CString s("abcdef");
  struct Case {
    int first, count;
    const char* expected;
  };
  const Case kMid[] = {{0, 3, "abc"}, {2, 2, "cd"}, {4, 10, "ef"}, {-3, 2, "ab"},
                       {6, 1, ""},    {9, 1, ""},   {1, -1, ""},   {0, 6, "abcdef"}};
  for (const auto& c : kMid) EXPECT_EQ(s.Mid(c.first, c.count), c.expected) << c.first << "," << c.count;
  EXPECT_EQ(s.Mid(3), "def");
  EXPECT_EQ(s.Mid(-1), "abcdef");
  EXPECT_EQ(s.Left(2), "ab");
  EXPECT_EQ(s.Left(-2), "");
  EXPECT_EQ(s.Left(99), "abcdef");
  EXPECT_EQ(s.Right(2), "ef");
  EXPECT_EQ(s.Right(0), "");
  EXPECT_EQ(s.Right(99), "abcdef");
  EXPECT_EQ(CString("123abc").SpanIncluding("0123456789"), "123");
  EXPECT_EQ(CString("abc;def").SpanExcluding(";,"), "abc");
  EXPECT_EQ(CString("abc").SpanExcluding(";"), "abc");
  EXPECT_EQ(CString("\xc3\xa9\xc3\xa9x").SpanIncluding("\xc3\xa9"), "\xc3\xa9\xc3\xa9");
}

TEST(CString, Searching) {
  const CString s("a\\b\\c.txt");
  EXPECT_EQ(s.Find('\\'), 1);
  EXPECT_EQ(s.Find('\\', 2), 3);
  EXPECT_EQ(s.Find('\\', 4), -1);
  EXPECT_EQ(s.Find('a', 100), -1);
  EXPECT_EQ(s.Find('a', -5), 0);
  EXPECT_EQ(s.Find("c.t"), 4);
  EXPECT_EQ(s.Find(".txt", 5), 5);
  EXPECT_EQ(s.Find("zz"), -1);
  EXPECT_EQ(s.Find(""), 0);
  EXPECT_EQ(s.ReverseFind('\\'), 3);
  EXPECT_EQ(s.ReverseFind('#'), -1);
  EXPECT_EQ(s.FindOneOf(".\\"), 1);
  EXPECT_EQ(s.FindOneOf("#"), -1);
  EXPECT_EQ(CString("").Find('a'), -1);
  EXPECT_EQ(CString("x\xe2\x82\xac").FindOneOf("\xe2\x82\xac"), 1);  // one multibyte character
}

TEST(CString, ReplaceRemoveInsertDelete) {
  struct Case {
    const char* text;
    const char* from;
    const char* to;
    int count;
    const char* expected;
  };
  const Case kCases[] = {
      {"a.b.c", ".", "::", 2, "a::b::c"}, {"aaaa", "aa", "a", 2, "aa"}, {"abc", "", "x", 0, "abc"},
      {"abc", "x", "y", 0, "abc"},        {"abab", "ab", "", 2, ""},    {"&&x&", "&&", "&", 1, "&x&"},
  };
  for (const auto& c : kCases) {
    CString s(c.text);
    EXPECT_EQ(s.Replace(c.from, c.to), c.count) << c.text;
    EXPECT_EQ(s, c.expected) << c.text;
  }
  CString path("a/b/c");
  EXPECT_EQ(path.Replace('/', '\\'), 2);
  EXPECT_EQ(path, "a\\b\\c");
  EXPECT_EQ(path.Remove('\\'), 2);
  EXPECT_EQ(path, "abc");
  CString self("ab");
  self.Replace("a", self.GetString());  // the new text may come from the string itself
  EXPECT_EQ(self, "abb");

  CString s("ace");
  EXPECT_EQ(s.Insert(1, 'b'), 4);
  EXPECT_EQ(s.Insert(3, "d"), 5);
  EXPECT_EQ(s.Insert(99, "!"), 6);
  EXPECT_EQ(s.Insert(-3, '>'), 7);
  EXPECT_EQ(s, ">abcde!");
  EXPECT_EQ(s.Delete(0), 6);
  EXPECT_EQ(s.Delete(4, 10), 4);
  EXPECT_EQ(s.Delete(9, 1), 4);
  EXPECT_EQ(s.Delete(1, 0), 4);
  EXPECT_EQ(s, "abcd");
}

TEST(CString, Trimming) {
  struct Case {
    const char* text;
    const char* both;
    const char* left;
    const char* right;
  };
  const Case kCases[] = {{"  a b \t\r\n", "a b", "a b \t\r\n", "  a b"},
                         {"", "", "", ""},
                         {" \t ", "", "", ""},
                         {"x", "x", "x", "x"}};
  for (const auto& c : kCases) {
    EXPECT_EQ(CString(c.text).Trim(), c.both) << '"' << c.text << '"';
    EXPECT_EQ(CString(c.text).TrimLeft(), c.left) << '"' << c.text << '"';
    EXPECT_EQ(CString(c.text).TrimRight(), c.right) << '"' << c.text << '"';
  }
  EXPECT_EQ(CString("xxaxx").Trim('x'), "a");
  EXPECT_EQ(CString("xxaxx").TrimLeft('x'), "axx");
  EXPECT_EQ(CString("xxaxx").TrimRight('x'), "xxa");
  EXPECT_EQ(CString("-=a=-").Trim("=-"), "a");
  EXPECT_EQ(CString("-=a=-").TrimRight("-="), "-=a");
  EXPECT_EQ(CString("\xe2\x82\xac"
                    "a"
                    "\xe2\x82\xac")
                .Trim("\xe2\x82\xac"),
            "a");
  // A byte that only belongs to a multibyte character of the set is not trimmed on its own.
  EXPECT_EQ(CString("a\xac").TrimRight("\xe2\x82\xac"), "a\xac");
}

TEST(CString, CaseAndReverse) {
  EXPECT_EQ(CString("MiXed 1\xc3\x89").MakeUpper(), "MIXED 1\xc3\x89");
  EXPECT_EQ(CString("MiXed").MakeLower(), "mixed");
  EXPECT_EQ(CString("abc").MakeReverse(), "cba");
  EXPECT_EQ(CString("a\xc3\xa9z").MakeReverse(),
            "z\xc3\xa9"
            "a");  // characters stay whole
  EXPECT_EQ(CString("").MakeReverse(), "");
}

TEST(CString, TokenizeWalksEveryToken) {
  struct Case {
    const char* text;
    const char* delimiters;
    std::vector<std::string> tokens;
  };
  const Case kCases[] = {{"a,b;;c", ",;", {"a", "b", "c"}},
                         {";;lead;trail;;", ";", {"lead", "trail"}},
                         {"single", ",", {"single"}},
                         {"", ",", {}},
                         {",,,", ",", {}},
                         {"rest of it", "", {"rest of it"}}};
  for (const auto& c : kCases) {
    const CString text(c.text);
    std::vector<std::string> tokens;
    int position = 0;
    for (CString token = text.Tokenize(c.delimiters, position); position != -1;
         token = text.Tokenize(c.delimiters, position)) {
      tokens.push_back(token.Str());
      ASSERT_LT(tokens.size(), 10u) << c.text;
    }
    EXPECT_EQ(tokens, c.tokens) << c.text;
  }
}

TEST(CString, BufferAccess) {
  CString s("abc");
  char* buffer = s.GetBuffer(11);
  std::strcpy(buffer, "longer text");  // 11 characters and the terminator
  s.ReleaseBuffer();
  EXPECT_EQ(s, "longer text");

  buffer = s.GetBuffer(3);
  buffer[2] = '\0';
  s.ReleaseBuffer();
  EXPECT_EQ(s, "lo");

  buffer = s.GetBufferSetLength(4);
  std::memcpy(buffer, "wxyz", 4);
  s.ReleaseBuffer(2);
  EXPECT_EQ(s, "wx");

  buffer = s.GetBuffer(0);
  s.ReleaseBuffer(99);  // cannot grow past the buffer
  EXPECT_EQ(s, "wx");
  s.LockBuffer()[0] = 'W';
  s.UnlockBuffer();
  EXPECT_EQ(s, "Wx");
}

TEST(CString, LoadStringUsesTheInstalledLoader) {
  CString s("kept");
  EXPECT_FALSE(s.LoadString(101));
  EXPECT_EQ(s, "kept");

  pictavo::SetStringResourceLoader([](UINT id, std::string& text) {
    if (id != 101) return false;
    text = "Value: %d";
    return true;
  });
  EXPECT_TRUE(s.LoadString(101));
  EXPECT_EQ(s, "Value: %d");
  EXPECT_FALSE(s.LoadString(102));
  EXPECT_EQ(s, "Value: %d");
  CString formatted;
  formatted.Format(101u, 7);
  EXPECT_EQ(formatted, "Value: 7");
  // A resource id in place of a text pointer loads the string.
  EXPECT_EQ(CString(reinterpret_cast<LPCSTR>(static_cast<uintptr_t>(101))), "Value: %d");
  pictavo::SetStringResourceLoader(nullptr);
  EXPECT_FALSE(s.LoadString(101));
}

}  // namespace
