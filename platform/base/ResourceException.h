// CResourceException: a window class, menu or other resource that could not be made.
#pragma once

#include "platform/base/Exceptions.h"

class CResourceException : public CException {
  DECLARE_DYNAMIC(CResourceException)

 public:
  explicit CResourceException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

[[noreturn]] void AfxThrowResourceException();
