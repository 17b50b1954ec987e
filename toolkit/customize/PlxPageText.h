// Texts the customize pages show about commands and document templates.
#pragma once

#include "platform/base/CString.h"

class CDocTemplate;
class CWnd;

namespace plx_page {

// The status-line text of a command: its string resource up to the first line feed.
CString CommandDescription(UINT uiCmd);
// One part of a template's document string (0 window title, 1 document name, 2 new-file name,
// 3 filter, 4 extension, 5 type id, 6 type name); empty when the template has none.
CString DocString(const CDocTemplate* pTemplate, int index);

// The option bits of the customize sheet a page sits in; 0 outside one.
UINT SheetOptions(const CWnd* pPage);

}  // namespace plx_page
