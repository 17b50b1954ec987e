#include "toolkit/core/PlxDialog.h"

IMPLEMENT_DYNAMIC(CPlxDialog, CDialog)
IMPLEMENT_DYNAMIC(CPlxPropertyPage, CPropertyPage)
