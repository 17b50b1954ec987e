// CPlxVisualManager: the replaceable object every toolkit control draws through. At most one is
// current: made by the first GetInstance from the default class the application chose,
// replaced by SetDefaultManager and deleted by the toolkit clean-up. This file holds its life
// cycle; the drawing operations join it with the managers' looks.
#pragma once

#include "platform/base/Object.h"

class CPlxVisualManager : public CObject {
  DECLARE_DYNCREATE(CPlxVisualManager)

 public:
  // A temporary manager is a drawing aid: it never becomes current and leaves the colours alone.
  explicit CPlxVisualManager(BOOL bTemporary = FALSE);
  ~CPlxVisualManager() override;

  // The current manager, made from the default class when there is none.
  static CPlxVisualManager* GetInstance();
  // Chooses the class of the next manager and deletes the current one; an unrelated class is
  // ignored.
  static void SetDefaultManager(CRuntimeClass* pRTI);
  // With bAutoDestroyOnly, only a manager GetInstance made is deleted.
  static void DestroyInstance(BOOL bAutoDestroyOnly = FALSE);
  // Repaints the application's main window.
  static void RedrawAll();

  virtual void OnUpdateSystemColors() {}

  BOOL m_bTemporary;
  BOOL m_bAutoDestroy = FALSE;

 protected:
  static CPlxVisualManager* m_pVisManager;
  static CRuntimeClass* m_pRTIDefault;
};

// The manager the program installs; its themed look falls back to the Office-XP drawing here.
class CPlxWinXPVisualManager : public CPlxVisualManager {
  DECLARE_DYNCREATE(CPlxWinXPVisualManager)

 public:
  explicit CPlxWinXPVisualManager(BOOL bTemporary = FALSE) : CPlxVisualManager(bTemporary) {}
};
