// A push button whose pushed, hot and checked flags a test sets directly, as the mouse would.
#pragma once

#include "toolkit/core/PlxButton.h"

namespace pictavo::test {

template <typename Button = CPlxButton>
class StatefulButton : public Button {
 public:
  StatefulButton& Show(BOOL bPushed, BOOL bHot, BOOL bChecked = FALSE) {
    this->m_bPushed = bPushed;
    this->m_bHighlighted = bHot;
    this->m_bChecked = bChecked;
    return *this;
  }
};

}  // namespace pictavo::test
