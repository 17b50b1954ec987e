#include "toolkit/customize/PlxPageText.h"

#include "platform/mfc/Document.h"

namespace plx_page {

CString CommandDescription(UINT uiCmd) {
  CString text;
  if (uiCmd == 0 || !text.LoadString(uiCmd)) return CString();
  const int lf = text.Find('\n');
  return lf >= 0 ? text.Left(lf) : text;
}

CString DocString(const CDocTemplate* pTemplate, int index) {
  CString all;
  if (pTemplate == nullptr || !all.LoadString(pTemplate->m_nIDResource)) return CString();
  for (int i = 0; i < index; ++i) {
    const int lf = all.Find('\n');
    if (lf < 0) return CString();
    all = all.Mid(lf + 1);
  }
  const int lf = all.Find('\n');
  return lf >= 0 ? all.Left(lf) : all;
}

}  // namespace plx_page

#include "toolkit/customize/PlxCustomizeSheet.h"

UINT plx_page::SheetOptions(const CWnd* pPage) {
  const auto* sheet =
      pPage != nullptr ? dynamic_cast<const CPlxToolbarCustomize*>(pPage->GetParent()) : nullptr;
  return sheet != nullptr ? sheet->GetFlags() : 0;
}
