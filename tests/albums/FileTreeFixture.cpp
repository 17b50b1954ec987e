#include "tests/albums/FileTreeFixture.h"

namespace filetree_test {

BEGIN_MESSAGE_MAP(CTreeHostDlg, CDialog)
ON_NOTIFY(TVN_SELCHANGED, kTreeId, OnTreeSelChanged)
ON_WM_ENTERIDLE()
END_MESSAGE_MAP()

}  // namespace filetree_test
