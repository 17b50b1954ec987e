// CCommandLineInfo: what CWinApp::ParseCommandLine finds on the command line. Each argument goes to
// ParseParam: flags (written with a leading '-', or '/' when the rest is not a path: it holds no
// other '/' and names nothing that exists) without their prefix, everything else as a plain
// parameter; the first plain parameter is the file to open.
#pragma once

#include "platform/base/CString.h"
#include "platform/base/Object.h"

class CCommandLineInfo : public CObject {
 public:
  CCommandLineInfo() = default;
  ~CCommandLineInfo() override = default;

  // bFlag: the argument was a flag; bLast: it is the last argument.
  virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);

  BOOL m_bShowSplash = TRUE;
  BOOL m_bRunEmbedded = FALSE;
  BOOL m_bRunAutomated = FALSE;
  enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };
  int m_nShellCommand = FileNew;
  CString m_strFileName;
  CString m_strPrinterName;
  CString m_strDriverName;
  CString m_strPortName;

 protected:
  // "p" print, "pt" print to, "dde" (case-sensitive); "Register"/"Regserver",
  // "Unregister"/"Unregserver", "Embedding", "Automation" (any case).
  void ParseParamFlag(const char* pszParam);
  // The file name, then printer, driver and port of a print-to command.
  void ParseParamNotFlag(const char* pszParam);
  // After the last argument: a file name turns FileNew into FileOpen.
  void ParseLast(BOOL bLast);
};
