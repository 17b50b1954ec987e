// The "Randomize Transition Effect" dialog (template 361): the transitions of the transition list
// split into the subset random choices pick from and the unselected rest. Album mode (0) comes from
// the album options page's Randomize command and stores the subset only when "Default setting for
// next new album" stays checked; defaults mode (1) comes from the album defaults page and always
// stores it, in the settings and in the data model.
#pragma once

#include "controls/HintBitmapStatic.h"
#include "editing/TransitionControls.h"
#include "platform/base/Array.h"
#include "platform/mfc/Dialog.h"

#define IDD_RANDOM_TRANSITION 361
#define IDC_RANDOM_SUBSET_LIST 1021
#define IDC_RANDOM_UNSELECTED_LIST 1022
#define IDC_RANDOM_ADD 1143
#define IDC_RANDOM_REMOVE 1144
#define IDC_RANDOM_REMOVE_ALL 1145
#define IDC_RANDOM_ADD_ALL 1447
#define IDC_RANDOM_DEFAULT 1448

class CRandomTransitionDlg : public CDialog {
 public:
  // nMode 0: the album's Randomize command; 1: the album defaults of the options dialog.
  explicit CRandomTransitionDlg(int nMode, CWnd* pParent = nullptr);
  ~CRandomTransitionDlg() override;

  // The subset's full display names in transition-list order, as the last collect left them.
  const CStringArray& GetSubsetNames() const { return m_arrSubset; }
  // Reads the subset list; asks before an empty subset is stored (0 on No); orders the names by
  // transition id; stores them unless album mode has the default check box clear. 1 otherwise.
  int CollectSubset();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  afx_msg void OnSelChangeSubset();
  afx_msg void OnSelChangeUnselected();
  afx_msg void OnAdd();
  afx_msg void OnRemove();
  afx_msg void OnAddAll();
  afx_msg void OnRemoveAll();
  DECLARE_MESSAGE_MAP()

 private:
  // Moves the selected row of `from` to the top of `to` and selects it there.
  void MoveSelected(CListBox& from, CListBox& to);
  // Moves every row of `from`, keeping their order, above the rows of `to`.
  void MoveAll(CListBox& from, CListBox& to);
  void InsertRow(CListBox& list, int nAt, const CString& text, DWORD_PTR data);
  void PlaySelected(CListBox& list);
  void UpdateOkButton();

  CHintBitmapStatic m_banner;
  CTransitionListBox m_listSubset;
  CTransitionListBox m_listUnselected;
  COLORREF m_clrPreview = 0;  // black around the sample pictures; the preview reads it
  CTransitionPreviewStatic m_preview;
  int m_nMode;
  CStringArray m_arrSubset;
  int m_bDefault = 0;
  BOOL m_bInitializing = TRUE;
};
