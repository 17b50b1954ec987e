// The web-album template language: HTML with "$Name" variables, "<ca:if "$Name">" ... "</ca:if>"
// and "<ca:else>" ... "</ca:else>" blocks, "<%=" expressions ";%>" in tags, "<% %>" script blocks
// (written as one space) and iterator blocks the generator repeats once per photo.
//
// The engine state is process-wide and not re-entrant: one pass at a time, on the web-album
// worker thread, which holds the "WebAlbumEncode" flag for the whole generation.
//
// A damaged template (a tag, quote or comment left open, a block closed that was never opened or
// left open at the end, an iterator without its closing tag) stops the pass with an error text
// in g_templateError; nothing reads past the end of the template.
#pragma once

#include <vector>

#include "disc/engines/TemplateVariables.h"
#include "platform/base/CString.h"

#define TEMPLATE_NODE_CONTROL 0
#define TEMPLATE_NODE_TAG 1
#define TEMPLATE_NODE_TEXT 2
#define TEMPLATE_NODE_SCRIPT 4
#define TEMPLATE_NODE_COMMENT 5

struct TemplateNode {
  CString text;
  int kind = TEMPLATE_NODE_TEXT;
};

// Block states: the top says whether the current position is active.
extern std::vector<BYTE> g_templateConditions;
// Block state of the most recently closed if block; kept from pass to pass.
extern BYTE g_lastIfResult;
// The template being read (the whole file) and the read position inside it.
extern CString g_templateText;
extern const char* g_templateCursor;
// The page text produced so far.
extern CString g_templateOutput;
// Why the current pass stopped early; empty while the template reads well.
extern CString g_templateError;

// Reads a template file whole; the file is opened read-only. FALSE when it cannot be read.
BOOL LoadTemplateText(LPCTSTR path);
// Sets the template text directly (what LoadTemplateText does after reading).
void SetTemplateText(const CString& text);

// Starts a page: empty output, cursor at the start, no error; with `resetConditions` the condition
// stack holds just 1.
void BeginTemplatePage(BOOL resetConditions);
// TRUE when the pass ended cleanly with every block closed; otherwise sets g_templateError.
BOOL EndTemplatePage();

// 1 = a node was read, 0 = end of text (or a damaged template: g_templateError says why).
int ReadTemplateNode(TemplateNode* node);
void ProcessTemplateNode(const TemplateNode& node);
void EmitTemplateNode(const TemplateNode& node);
// The variable name of an "<ca:if" tag: the letters after the first double quote and the
// character after it. 0, or -1 when there is no quote.
int GetConditionName(LPCTSTR text, CString* name);
// Processes nodes until one whose text contains `tag` (consumed, no output). 0 found, -1 end.
int ProcessTemplateUntil(LPCTSTR tag);
// Writes the output text as UTF-8 without a byte-order mark (malformed bytes become U+FFFD).
BOOL WriteTemplateOutput(LPCTSTR path);

// Items for the iterator blocks of a pass, given by the generator.
class CTemplateItemSource {
 public:
  virtual ~CTemplateItemSource() = default;
  // Another item for the current file iterator.
  virtual bool HasFileItem() = 0;
  // Photos remain for the row iterator.
  virtual bool HasGridItem() = 0;
  // Sets the next item's variables and moves on (`inGrid`: for the row iterator). 0, or a
  // nonzero result that ends the pass.
  virtual int SetNextItem(bool inGrid) = 0;
};

#define TEMPLATE_PASS_DAMAGED (-1)  // g_templateError says why
// A pass from the cursor to the end. Without items every iterator tag does nothing (the body is
// written once); with items the file iterator repeats its body per item, and with `rows` and
// `columns` above 0 the row iterator lays items out as a grid. An iterator without items writes
// nothing of its body. 0, TEMPLATE_PASS_DAMAGED, or the item source's nonzero result.
int RunTemplatePass(CTemplateItemSource* items, int rows = 0, int columns = 0);
