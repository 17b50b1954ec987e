// CCommandLineInfo: the standard flags and the file to open.
#include "platform/mfc/CommandLineInfo.h"

#include <cstring>

#include "platform/kernel/Unicode.h"

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast) {
  if (bFlag)
    ParseParamFlag(pszParam);
  else
    ParseParamNotFlag(pszParam);
  ParseLast(bLast);
}

void CCommandLineInfo::ParseParamFlag(const char* pszParam) {
  using pictavo::unicode::EqualsNoCase;
  if (std::strcmp(pszParam, "pt") == 0) {
    m_nShellCommand = FilePrintTo;
  } else if (std::strcmp(pszParam, "p") == 0) {
    m_nShellCommand = FilePrint;
  } else if (EqualsNoCase(pszParam, "Register") || EqualsNoCase(pszParam, "Regserver")) {
    m_nShellCommand = AppRegister;
  } else if (EqualsNoCase(pszParam, "Unregister") || EqualsNoCase(pszParam, "Unregserver")) {
    m_nShellCommand = AppUnregister;
  } else if (std::strcmp(pszParam, "dde") == 0) {
    m_nShellCommand = FileDDE;
  } else if (EqualsNoCase(pszParam, "Embedding")) {
    m_bRunEmbedded = TRUE;
    m_bShowSplash = FALSE;
  } else if (EqualsNoCase(pszParam, "Automation")) {
    m_bRunAutomated = TRUE;
    m_bShowSplash = FALSE;
  }
}

void CCommandLineInfo::ParseParamNotFlag(const char* pszParam) {
  if (m_strFileName.IsEmpty())
    m_strFileName = pszParam;
  else if (m_nShellCommand == FilePrintTo && m_strPrinterName.IsEmpty())
    m_strPrinterName = pszParam;
  else if (m_nShellCommand == FilePrintTo && m_strDriverName.IsEmpty())
    m_strDriverName = pszParam;
  else if (m_nShellCommand == FilePrintTo && m_strPortName.IsEmpty())
    m_strPortName = pszParam;
}

void CCommandLineInfo::ParseLast(BOOL bLast) {
  if (!bLast) return;
  if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty()) m_nShellCommand = FileOpen;
  m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
}
