// The process-wide list of slide transitions: the built-in set of the transition module
// followed by the transitions of the plug-ins found in the "Transition" folder of the program
// folder. Start-up fills it, the transition pickers show it, the preview and the frame encoder
// create transitions from it by name or index, and shut-down empties it and unloads the plug-ins.
//
// The list is filled and emptied on the UI thread; between start-up and shut-down it does not
// change, so the preview and encoder threads may read it without a lock.
#pragma once

#include "modules/effects/Transition.h"
#include "platform/base/Array.h"
#include "platform/base/CString.h"
#include "platform/mfc/GdiObjects.h"

// Size of one icon cell of the transition icon strip.
#define TRANSITION_ICON_WIDTH 40
#define TRANSITION_ICON_HEIGHT 30

// The group of the built-in transitions; a plug-in's group is its file name without extension.
#define TRANSITION_BUILTIN_GROUP "TransitionLib"

// One transition the program knows.
struct _tagTransitionEntry {
  _tagTransitionEntry() = default;
  _tagTransitionEntry(const _tagTransitionEntry&) = delete;
  _tagTransitionEntry& operator=(const _tagTransitionEntry&) = delete;
  ~_tagTransitionEntry();

  CString strName;                              // display name, "Name[Group]"
  HBITMAP hIcon = nullptr;                      // 40 x 30, owned; null without an icon strip
  TransitionEntryFactory pfnFactory = nullptr;  // makes a new transition object
  HMODULE hModule = nullptr;                    // the plug-in it came from; null when built in
};

// Owns its entries: whatever is still in it when it is destroyed is deleted.
class CTransitionEntryArray : public CArray<_tagTransitionEntry*, _tagTransitionEntry*> {
 public:
  ~CTransitionEntryArray() override;
  // Deletes every entry and empties the array.
  void DeleteAll();
};

using CTransitionFactoryArray = CArray<TransitionEntryFactory, TransitionEntryFactory>;
using CTransitionModuleArray = CArray<HMODULE, HMODULE>;

// The list and the plug-in modules in load order. UI thread writes; see the header comment.
extern CTransitionEntryArray g_transitionList;
extern CTransitionModuleArray g_transitionModules;

CTransitionEntryArray* GetTransitionList();

// Empties the list (unloading any plug-in), then appends the built-in set in its own order and
// registers every display name with its tag in the data model. Returns 1.
int LoadBuiltInTransitions();
// Removes the entries of plug-ins loaded before and unloads those, then loads every plug-in of
// the "Transition" folder, in name order, appending its transitions to the list and registering
// them with the data model. 0 when the program's own path cannot be determined, else 1.
int LoadTransitionPlugins();
// The same, for a given program folder (the folder holding "images" and "Transition").
int LoadBuiltInTransitions(LPCTSTR lpszProgramFolder);
int LoadTransitionPlugins(LPCTSTR lpszProgramFolder);
// Deletes every entry and unloads every plug-in module.
void UnloadTransitions();

// Empties the array and appends the factory of every entry in list order. Returns 1.
int GetTransitionFactories(int nUnused, CTransitionFactoryArray& factories);
// The factory of the first entry whose display name equals the name, both trimmed, without
// regard to case; null for an empty name or when none matches.
TransitionEntryFactory FindTransitionFactory(LPCTSTR lpszName);
// The display name without its group: the text before the last "[", trimmed.
CString StripTransitionGroup(LPCTSTR lpszDisplayName);

// Loads "images/trans_icon.bmp" of the program folder into the bitmap object (its previous
// bitmap is deleted first). 1 on success, else 0 with the object unchanged.
int LoadTransitionIconStrip(CBitmap& strip);
int LoadTransitionIconStrip(CBitmap& strip, LPCTSTR lpszProgramFolder);
// A new 40 x 30 bitmap (the caller owns it) holding cell nCell of the strip, cells counted row
// by row; a cell outside the strip gives cell 0. Null when the strip holds no whole cell.
HBITMAP MakeTransitionIcon(CBitmap& strip, int nCell);
