#include "editing/TrimAudioDlg.h"

#include "modules/data/AudioSource.h"
#include "shell/LanguageFile.h"
#include "shell/SmallUtilities.h"

#define IDC_TRIM_PATH 1413
#define IDC_TRIM_RANGE 1425

CTrimAudioDlg::CTrimAudioDlg(_AUDIO_SOURCE* pSource, BOOL bPlayAtOnce, CWnd* pParent)
    : CDialog(IDD_TRIM_AUDIO, pParent), m_pSource(pSource), m_bPlayAtOnce(bPlayAtOnce) {}

BOOL CTrimAudioDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  TranslateDialog(m_hWnd, IDD_TRIM_AUDIO);
  if (m_pSource == nullptr) return TRUE;
  CString title;
  title.Format("Trim Audio - %s", m_pSource->strPathName.GetString());
  SetWindowText(title);
  SetDlgItemText(IDC_TRIM_PATH, m_pSource->strPathName);
  CString start, end, range;
  FormatMilliseconds(static_cast<DWORD>(m_pSource->nTrimStart > 0 ? m_pSource->nTrimStart : 0), start);
  FormatMilliseconds(static_cast<DWORD>(m_pSource->nTrimEnd > 0 ? m_pSource->nTrimEnd : 0), end);
  range.Format("%s - %s", start.GetString(), end.GetString());
  SetDlgItemText(IDC_TRIM_RANGE, range);
  return TRUE;
}
