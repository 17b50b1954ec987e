#include "disc/engines/TemplateEngine.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "disc/engines/TemplateExpression.h"
#include "modules/log/Log.h"
#include "platform/base/Utf8.h"
#include "platform/kernel/Path.h"

std::vector<BYTE> g_templateConditions{1};
BYTE g_lastIfResult = 0;
CString g_templateText;
const char* g_templateCursor = nullptr;
CString g_templateOutput;
CString g_templateError;

namespace {

constexpr char kFileIterator[] = "<ca:fileiterator>";
constexpr char kFileIteratorEnd[] = "</ca:fileiterator>";
constexpr char kRowIterator[] = "<ca:rowiterator>";
constexpr char kRowIteratorEnd[] = "</ca:rowiterator>";
constexpr char kColIterator[] = "<ca:coliterator>";
constexpr char kColIteratorEnd[] = "</ca:coliterator>";

const char* TextBegin() {
  return g_templateText.GetString();
}

const char* TextEnd() {
  return g_templateText.GetString() + g_templateText.GetLength();
}

int LineOf(const char* position) {
  int line = 1;
  for (const char* p = TextBegin(); p < position && p < TextEnd(); ++p)
    if (*p == '\n') ++line;
  return line;
}

// Records the first fault of the pass; reading stops at the end of the text from here on.
void Fail(const char* where, const char* what) {
  if (!g_templateError.IsEmpty()) return;
  g_templateError.Format("line %d: %s", LineOf(where), what);
  g_templateCursor = TextEnd();
}

BYTE Top() {
  return g_templateConditions.empty() ? 1 : g_templateConditions.back();
}

bool Pop(const char* where, const char* tag) {
  // The stack's bottom entry belongs to the page, not to a block.
  if (g_templateConditions.size() <= 1) {
    CString what;
    what.Format("%s without a block to close", tag);
    Fail(where, what);
    return false;
  }
  g_templateConditions.pop_back();
  return true;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool StartsWith(const char* p, const char* end, const char* prefix) {
  const size_t n = std::strlen(prefix);
  return static_cast<size_t>(end - p) >= n && std::memcmp(p, prefix, n) == 0;
}

// Reads up to and including the ">" that closes a tag, skipping quoted sections; a script closes
// only at "%>". Null when the text ends first (the fault is recorded).
const char* FindTagEnd(const char* start, const char* end, bool script) {
  const char* p = start + 1;
  while (p < end) {
    if (*p == '"') {
      const char* quote = p;
      const void* close = std::memchr(p + 1, '"', static_cast<size_t>(end - p - 1));
      if (close == nullptr) {
        Fail(quote, "a quote that is never closed");
        return nullptr;
      }
      p = static_cast<const char*>(close) + 1;
      continue;
    }
    if (*p == '>' && (!script || p[-1] == '%')) return p + 1;
    ++p;
  }
  Fail(start, script ? "a script block that is never closed" : "a tag that is never closed");
  return nullptr;
}

// Skips an iterator's body without output; the cursor ends after `endTag`.
int SkipBlock(const char* start, const char* endTag) {
  const size_t depth = g_templateConditions.size();
  g_templateConditions.push_back(0);
  const int found = ProcessTemplateUntil(endTag);
  g_templateConditions.resize(depth);
  if (found != 0) {
    CString what;
    what.Format("an iterator without its %s", endTag);
    Fail(start, what);
    return TEMPLATE_PASS_DAMAGED;
  }
  return 0;
}

int Until(const char* blockStart, const char* tag) {
  if (ProcessTemplateUntil(tag) == 0) return 0;
  CString what;
  what.Format("an iterator without its %s", tag);
  Fail(blockStart, what);
  return TEMPLATE_PASS_DAMAGED;
}

int RunFileIterator(CTemplateItemSource& items) {
  const char* bodyStart = g_templateCursor;
  if (!items.HasFileItem()) return SkipBlock(bodyStart, kFileIteratorEnd);
  while (items.HasFileItem()) {
    if (const int stop = items.SetNextItem(false); stop != 0) return stop;
    g_templateCursor = bodyStart;
    if (const int r = Until(bodyStart, kFileIteratorEnd); r != 0) return r;
  }
  return 0;
}

int RunRowIterator(CTemplateItemSource& items, int rows, int columns) {
  const char* rowStart = g_templateCursor;
  if (!items.HasGridItem()) return SkipBlock(rowStart, kRowIteratorEnd);
  for (int row = 0; row < rows && items.HasGridItem(); ++row) {
    g_templateCursor = rowStart;
    if (const int r = Until(rowStart, kColIterator); r != 0) return r;
    const char* cellStart = g_templateCursor;
    for (int column = 0; column < columns && items.HasGridItem(); ++column) {
      if (const int stop = items.SetNextItem(true); stop != 0) return stop;
      g_templateCursor = cellStart;
      if (const int r = Until(cellStart, kColIteratorEnd); r != 0) return r;
    }
    if (const int r = Until(rowStart, kRowIteratorEnd); r != 0) return r;
  }
  return 0;
}

}  // namespace

void SetTemplateText(const CString& text) {
  g_templateText = text;
  // A byte-order mark would reach the page; pages are written without one.
  if (g_templateText.View().starts_with("\xEF\xBB\xBF")) g_templateText.Delete(0, 3);
  g_templateCursor = TextBegin();
}

BOOL LoadTemplateText(LPCTSTR path) {
  std::ifstream in(pictavo::path::ToNative(path), std::ios::binary | std::ios::in);
  if (!in) return FALSE;
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return FALSE;
  SetTemplateText(CString(std::move(bytes)));
  return TRUE;
}

void BeginTemplatePage(BOOL resetConditions) {
  if (resetConditions) g_templateConditions.assign(1, 1);
  g_templateOutput.Empty();
  g_templateError.Empty();
  g_templateCursor = TextBegin();
}

BOOL EndTemplatePage() {
  if (!g_templateError.IsEmpty()) return FALSE;
  if (g_templateConditions.size() != 1) {
    g_templateError = "an if or else block that is never closed";
    return FALSE;
  }
  return TRUE;
}

int ReadTemplateNode(TemplateNode* node) {
  const char* end = TextEnd();
  const char* start = g_templateCursor;
  if (start == nullptr || start >= end || !g_templateError.IsEmpty()) return 0;

  const char* p = start;
  if (IsBlank(*p)) {
    while (p < end && IsBlank(*p)) ++p;
    node->kind = TEMPLATE_NODE_TEXT;
  } else if (*p == '<') {
    if (StartsWith(p, end, "<!--")) {
      const char* close = nullptr;
      for (const char* q = p + 4; q + 3 <= end; ++q) {
        if (std::memcmp(q, "-->", 3) == 0) {
          close = q + 3;
          break;
        }
      }
      if (close == nullptr) {
        Fail(start, "a comment that is never closed");
        return 0;
      }
      p = close;
      node->kind = TEMPLATE_NODE_COMMENT;
    } else {
      if (StartsWith(p, end, "<ca:") || StartsWith(p, end, "</ca"))
        node->kind = TEMPLATE_NODE_CONTROL;
      else if (p + 1 < end && p[1] == '%' && !(p + 2 < end && p[2] == '='))
        node->kind = TEMPLATE_NODE_SCRIPT;
      else
        node->kind = TEMPLATE_NODE_TAG;
      p = FindTagEnd(p, end, node->kind == TEMPLATE_NODE_SCRIPT);
      if (p == nullptr) return 0;
    }
  } else {
    // A "<" inside parentheses does not end the text: "(<b>3</b> photos)" stays one node.
    while (p < end && *p != '<') {
      if (*p == '(') {
        const void* close = std::memchr(p, ')', static_cast<size_t>(end - p));
        p = close != nullptr ? static_cast<const char*>(close) + 1 : end;
      } else {
        ++p;
      }
    }
    node->kind = TEMPLATE_NODE_TEXT;
  }
  node->text = CString(start, static_cast<int>(p - start));
  g_templateCursor = p;
  return 1;
}

int GetConditionName(LPCTSTR text, CString* name) {
  name->Empty();
  const char* quote = std::strchr(text, '"');
  if (quote == nullptr) return -1;
  const char* p = quote + 1;
  if (*p != '\0') ++p;  // the dollar sign
  const char* first = p;
  while ((*p >= 'A' && *p <= 'Z') || (*p >= 'a' && *p <= 'z')) ++p;
  *name = CString(first, static_cast<int>(p - first));
  return 0;
}

void ProcessTemplateNode(const TemplateNode& node) {
  if (node.kind != TEMPLATE_NODE_CONTROL) {
    if (Top() != 0) EmitTemplateNode(node);
    return;
  }
  const char* where = g_templateCursor - node.text.GetLength();
  if (node.text.Find("<ca:if") >= 0) {
    CString name;
    if (GetConditionName(node.text, &name) != 0) {
      Fail(where, "an <ca:if> without a quoted variable name");
      return;
    }
    const CString* value = g_templateVariables.Lookup(name);
    g_templateConditions.push_back(value != nullptr && !value->IsEmpty() && Top() != 0 ? 1 : 0);
  } else if (node.text.Find("<ca:else>") >= 0) {
    g_templateConditions.push_back(g_lastIfResult != 0 ? 0 : Top());
  } else if (node.text.Find("</ca:else>") >= 0) {
    Pop(where, "</ca:else>");
  } else if (node.text.Find("</ca:if>") >= 0) {
    const BYTE result = Top();
    if (Pop(where, "</ca:if>")) g_lastIfResult = result;
  }
}

void EmitTemplateNode(const TemplateNode& node) {
  CString text = node.text;
  if (text.Find('$') >= 0) {
    g_templateVariables.ForEach([&text](const CString& name, const CString& value) {
      if (!name.IsEmpty()) text.Replace("$" + name, value);
    });
  }
  if (node.kind == TEMPLATE_NODE_TAG) EvaluateTemplateExpressions(text);
  if (node.kind == TEMPLATE_NODE_SCRIPT) text = " ";
  g_templateOutput += text;
}

int ProcessTemplateUntil(LPCTSTR tag) {
  TemplateNode node;
  while (ReadTemplateNode(&node)) {
    if (node.text.Find(tag) >= 0) return 0;
    ProcessTemplateNode(node);
  }
  return -1;
}

int RunTemplatePass(CTemplateItemSource* items, int rows, int columns) {
  TemplateNode node;
  while (ReadTemplateNode(&node)) {
    int result = 0;
    if (items != nullptr && node.text.Find(kFileIterator) >= 0)
      result = RunFileIterator(*items);
    else if (items != nullptr && rows > 0 && columns > 0 && node.text.Find(kRowIterator) >= 0)
      result = RunRowIterator(*items, rows, columns);
    else
      ProcessTemplateNode(node);
    if (result != 0) return result;
  }
  return g_templateError.IsEmpty() ? 0 : TEMPLATE_PASS_DAMAGED;
}

BOOL WriteTemplateOutput(LPCTSTR path) {
  const std::string text = pictavo::utf8::FromWide(pictavo::utf8::ToWide(g_templateOutput.View()));
  std::ofstream out(pictavo::path::ToNative(path), std::ios::binary | std::ios::trunc);
  if (!out) {
    WriteErrorLog("Cannot create web page %s.", path);
    return FALSE;
  }
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) {
    WriteErrorLog("Cannot write web page %s.", path);
    return FALSE;
  }
  return TRUE;
}
