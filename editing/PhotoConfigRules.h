// What the photo configuration dialog decides, kept apart from its window: which photos its list
// shows, the tab it opens on and stores, which navigation buttons are enabled, where navigation
// goes, and which row follows the preview. UI thread only; no windows touched.
#pragma once

#include <array>
#include <vector>

#include "platform/base/WinTypes.h"

namespace photo_config {

constexpr int kTabCount = 5;
constexpr int kNavButtons = 7;

// Album indexes listed, row by row: the caller's subset when it holds two or more indexes (in its
// order, indexes outside the album left out), else every photo of the album.
// ({4, 1}, 6) -> {4, 1}; ({3}, 4) -> {0, 1, 2, 3}; ({1, 9}, 3) -> {1}
std::vector<int> ListedAlbumIndexes(const std::vector<UINT>& subset, int albumCount);

// The tab a dialog opens on: 0 with the start flag; else the remembered one modulo the tab count,
// 0 when none was remembered or it is negative.
// (1, 3) -> 0; (0, 3) -> 3; (0, 7) -> 2; (0, -1) -> 0; (0, absent) -> 0
int StartTab(int bStart, BOOL bRemembered, int nRemembered);
// The tab index written back on closing: the shown page modulo the page count, never negative.
int StoredTab(int nShown, int nPageCount);

// Enabled state of buttons 0 to 6 for the first selected row (-1 for none) and n listed photos;
// all disabled without a current photo or album.
// (ready, 0, 5) -> first/previous off, next/last on; (ready, 4, 5) -> next/last off
std::array<BOOL, kNavButtons> NavButtonStates(BOOL bReady, int nFirstSelected, int nListed);

// The row buttons 0 to 3 select from the first selected row in a list of nRows rows; -1 when
// there is none to go to (an empty list, nothing selected, no neighbour): the dialog beeps.
int NavigationTarget(int nButton, int nFirstSelected, int nRows);

// The row showing album index nAlbumIndex; -1 when it is not listed (a subset without it, or an
// index the preview never reached).
int RowOfAlbumIndex(const std::vector<int>& listed, int nAlbumIndex);

}  // namespace photo_config
