// The comparison rules of the list sorter, kept apart from the windows so they can be checked on
// their own. lParamSort carries the kind, negated for a descending sort.
#pragma once

#include "platform/base/WinTypes.h"

// Kinds of CListCtrlSorter::Sort.
#define LIST_SORT_LONG 1         // whole numbers (atol)
#define LIST_SORT_DOUBLE 2       // real numbers (atof)
#define LIST_SORT_TEXT 3         // text, case counts
#define LIST_SORT_TEXT_NOCASE 4  // text, case ignored
#define LIST_SORT_DATE 5         // dates; texts that are no dates as kind 6
#define LIST_SORT_LENGTH 6       // shorter text first, equal lengths as kind 4

// Negative when `a` sorts before `b`, 0 for equals, positive after; other kinds give 0.
int CompareListSortTexts(const char* a, const char* b, LPARAM lParamSort);

// A date and time as lists show them ("2024-05-01 10:20:30", "2024/05/01", "05/01/2024 10:20")
// in seconds since 1970 for comparing; FALSE for a text that is none.
BOOL ParseListDateTime(const char* text, long long* seconds);
