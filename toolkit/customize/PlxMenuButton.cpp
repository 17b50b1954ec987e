#include "toolkit/customize/PlxMenuButton.h"

IMPLEMENT_DYNAMIC(CPlxMenuButton, CPlxButton)
