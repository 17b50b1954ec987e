#include "editing/PhotoConfigRules.h"

namespace photo_config {

std::vector<int> ListedAlbumIndexes(const std::vector<UINT>& subset, int albumCount) {
  std::vector<int> rows;
  if (subset.size() >= 2) {
    for (UINT index : subset)
      if (static_cast<long long>(index) < albumCount) rows.push_back(static_cast<int>(index));
    return rows;
  }
  for (int i = 0; i < albumCount; ++i) rows.push_back(i);
  return rows;
}

int StartTab(int bStart, BOOL bRemembered, int nRemembered) {
  if (bStart != 0 || !bRemembered || nRemembered < 0) return 0;
  return nRemembered % kTabCount;
}

int StoredTab(int nShown, int nPageCount) {
  if (nPageCount <= 0 || nShown < 0) return 0;
  return nShown % nPageCount;
}

std::array<BOOL, kNavButtons> NavButtonStates(BOOL bReady, int nFirstSelected, int nListed) {
  std::array<BOOL, kNavButtons> on{};
  if (!bReady) return on;
  on[4] = on[5] = on[6] = TRUE;
  if (nFirstSelected == 0) {
    on[2] = on[3] = TRUE;
  } else {
    on[0] = on[1] = TRUE;
    on[2] = on[3] = nFirstSelected + 1 != nListed;
  }
  return on;
}

int NavigationTarget(int nButton, int nFirstSelected, int nRows) {
  if (nRows <= 0) return -1;
  switch (nButton) {
    case 0:
      return 0;
    case 3:
      return nRows - 1;
    case 1:
      return nFirstSelected > 0 && nFirstSelected < nRows ? nFirstSelected - 1 : -1;
    case 2:
      return nFirstSelected >= 0 && nFirstSelected + 1 < nRows ? nFirstSelected + 1 : -1;
    default:
      return -1;
  }
}

int RowOfAlbumIndex(const std::vector<int>& listed, int nAlbumIndex) {
  for (size_t row = 0; row < listed.size(); ++row)
    if (listed[row] == nAlbumIndex) return static_cast<int>(row);
  return -1;
}

}  // namespace photo_config
