// Command targets and their message maps.
//
// A message map is written as the class library's:
//
//   class CMyDlg : public CDialog { ... DECLARE_MESSAGE_MAP() };
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//     ON_WM_PAINT()
//     ON_COMMAND(ID_FILE_OPEN, OnFileOpen)
//     ON_UPDATE_COMMAND_UI_RANGE(ID_FIRST, ID_LAST, OnUpdateRange)
//     ON_NOTIFY(NM_CLICK, IDC_LIST, OnClickList)
//     ON_REGISTERED_MESSAGE(WM_WINMGR, OnWinMgr)
//   END_MESSAGE_MAP()
//
// Each entry carries a small function that unpacks the message and calls the handler by name on
// the class of the map, so a handler with the wrong parameters fails to compile, and a handler the
// class does not declare resolves to its base class's, as the class library's does. Maps are
// searched from the object's class to CCmdTarget; the first matching entry handles the message.
// This header has the command entries; the window messages (ON_WM_*) are in WndMessageMap.h.
#pragma once

#include <type_traits>

#include "platform/base/Messages.h"
#include "platform/base/Object.h"
#include "platform/base/WinTypes.h"

class CCmdTarget;
class CCmdUI;

#ifndef afx_msg
#define afx_msg
#endif

// Notification codes of OnCmdMsg: a command, and the update pass of a command's user interface.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI (static_cast<UINT>(-1))
// Messages a parent reflects back to the control that sent them are this far above the original.
#define WM_REFLECT_BASE 0xBC00
// All WM_CTLCOLOR* messages reach one kind of map entry under this number.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

// One message being dispatched to a map entry.
struct AFX_CALL {
  UINT message;  // as received (WM_CTLCOLOREDIT for an OnCtlColor entry ...)
  WPARAM wParam;
  LPARAM lParam;
  UINT nID;         // command or control id
  UINT nCode;       // notification code
  void* pExtra;     // CCmdUI* of an update handler, AFX_NOTIFY* of a notification
  LRESULT lResult;  // what the window procedure answers
};

// Calls the handler; FALSE means "not handled" (the _EX handlers' answer, or a reflected colour
// handler that gave no brush).
using AFX_MSGTHUNK = BOOL (*)(CCmdTarget* target, AFX_CALL& call);

enum AfxSig : UINT {
  AfxSig_end = 0,          // ends a map
  AfxSig_window,           // a window message (nMessage)
  AfxSig_registered,       // a registered window message (*pnMessage)
  AfxSig_command,          // WM_COMMAND or WM_NOTIFY of ids nID..nLastID with code nCode
  AfxSig_update,           // the update pass of commands nID..nLastID
  AfxSig_thread,           // a thread message (nMessage)
  AfxSig_registeredThread  // a registered thread message (*pnMessage)
};

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;          // WM_COMMAND, WM_NOTIFY (+ WM_REFLECT_BASE when reflected) or the window message
  UINT nCode;             // notification code; compared in 16 bits as the class library does
  UINT nID;               // first command or control id
  UINT nLastID;           // last one
  UINT nSig;              // AfxSig
  const UINT* pnMessage;  // registered messages: the variable that holds the number
  AFX_MSGTHUNK pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// The notification being routed (pExtra of ON_NOTIFY handlers).
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};

// Filled instead of calling the handler: tells whether (and where) a command has one.
struct AFX_CMDHANDLERINFO {
  CCmdTarget* pTarget;
  AFX_MSGTHUNK pmf;
};

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  CCmdTarget();
  ~CCmdTarget() override;

  // Routes a command (nCode CN_COMMAND or a control notification in the low word and, for
  // notifications and reflected messages, the message in the high word) or an update pass
  // (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI) to this object's message map. Derived targets pass
  // on what they do not handle (dialogs to the application object).
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

  // The wait cursor of the application, counted.
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  // The first entry of this object's maps (its own class first) for `message` (nSig
  // AfxSig_window / AfxSig_registered, or the thread kinds with `thread`).
  const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, bool thread = false) const;

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

namespace pictavo::mfc {

// The value a handler's result gives as a window procedure's result (0 for void handlers).
template <class F>
LRESULT ResultOf(F&& call) {
  using R = decltype(call());
  if constexpr (std::is_void_v<R>) {
    call();
    return 0;
  } else if constexpr (std::is_pointer_v<R>) {
    return reinterpret_cast<LRESULT>(call());
  } else {
    return static_cast<LRESULT>(call());
  }
}

}  // namespace pictavo::mfc

#define DECLARE_MESSAGE_MAP()                   \
 protected:                                     \
  static const AFX_MSGMAP* GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)        \
  const AFX_MSGMAP* theClass::GetMessageMap() const { \
    return GetThisMessageMap();                       \
  }                                                   \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {   \
    using ThisClass [[maybe_unused]] = theClass;      \
    using TheBaseClass = baseClass;                   \
    static const AFX_MSGMAP_ENTRY pictavo_messageEntries[] = {
// clang-format off
#define END_MESSAGE_MAP()                                                 \
      {0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};                        \
    static const AFX_MSGMAP pictavo_messageMap = {                        \
        &TheBaseClass::GetThisMessageMap, pictavo_messageEntries};        \
    return &pictavo_messageMap;                                           \
  }
// clang-format on

// An entry whose thunk runs `body` with `self` (the object as the map's class) and `call`.
#define PICTAVO_MAP_ENTRY(message, code, id, lastId, sig, registered, ...)       \
  {static_cast<UINT>(message),                                                   \
   static_cast<UINT>(code),                                                      \
   static_cast<UINT>(id),                                                        \
   static_cast<UINT>(lastId),                                                    \
   sig,                                                                          \
   registered,                                                                   \
   [](CCmdTarget* pictavo_target, AFX_CALL& pictavo_call) -> BOOL {              \
     [[maybe_unused]] ThisClass* self = static_cast<ThisClass*>(pictavo_target); \
     [[maybe_unused]] AFX_CALL& call = pictavo_call;                             \
     __VA_ARGS__                                                                 \
   }},

// Commands: void handler(), or BOOL handler(UINT id) for the _EX forms (FALSE routes on).
#define ON_COMMAND(id, memberFxn) \
  PICTAVO_MAP_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxSig_command, nullptr, self->memberFxn(); return TRUE;)
#define ON_COMMAND_EX(id, memberFxn)                                         \
  PICTAVO_MAP_ENTRY(WM_COMMAND, CN_COMMAND, id, id, AfxSig_command, nullptr, \
                    return self->memberFxn(call.nID);)
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                             \
  PICTAVO_MAP_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, AfxSig_command, nullptr, self->memberFxn(call.nID); \
                    return TRUE;)
#define ON_COMMAND_EX_RANGE(id, idLast, memberFxn)                               \
  PICTAVO_MAP_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, AfxSig_command, nullptr, \
                    return self->memberFxn(call.nID);)
// Update handlers: void handler(CCmdUI*).
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                           \
  PICTAVO_MAP_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, AfxSig_update, nullptr, \
                    self->memberFxn(static_cast<CCmdUI*>(call.pExtra));               \
                    return TRUE;)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                 \
  PICTAVO_MAP_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, AfxSig_update, nullptr, \
                    self->memberFxn(static_cast<CCmdUI*>(call.pExtra));                   \
                    return TRUE;)

// Control notifications (WM_COMMAND): void handler(), void handler(UINT id) for ranges.
#define ON_CONTROL(code, id, memberFxn) \
  PICTAVO_MAP_ENTRY(WM_COMMAND, code, id, id, AfxSig_command, nullptr, self->memberFxn(); return TRUE;)
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                                                 \
  PICTAVO_MAP_ENTRY(WM_COMMAND, code, id, idLast, AfxSig_command, nullptr, self->memberFxn(call.nID); \
                    return TRUE;)
// Reflected back to the control that sent it: void handler(), or BOOL handler() for _EX (FALSE lets
// the parent handle it too).
#define ON_CONTROL_REFLECT(code, memberFxn)                                                               \
  PICTAVO_MAP_ENTRY(WM_COMMAND + WM_REFLECT_BASE, code, 0, 0, AfxSig_command, nullptr, self->memberFxn(); \
                    return TRUE;)
#define ON_CONTROL_REFLECT_EX(code, memberFxn)                                         \
  PICTAVO_MAP_ENTRY(WM_COMMAND + WM_REFLECT_BASE, code, 0, 0, AfxSig_command, nullptr, \
                    return self->memberFxn();)

// WM_NOTIFY: void handler(NMHDR*, LRESULT*); ranges and _EX take the id first, _EX returns BOOL.
#define ON_NOTIFY(code, id, memberFxn)                                       \
  PICTAVO_MAP_ENTRY(WM_NOTIFY, code, id, id, AfxSig_command, nullptr,        \
                    auto* pictavo_n = static_cast<AFX_NOTIFY*>(call.pExtra); \
                    self->memberFxn(pictavo_n->pNMHDR, pictavo_n->pResult); return TRUE;)
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                         \
  PICTAVO_MAP_ENTRY(WM_NOTIFY, code, id, idLast, AfxSig_command, nullptr,    \
                    auto* pictavo_n = static_cast<AFX_NOTIFY*>(call.pExtra); \
                    self->memberFxn(call.nID, pictavo_n->pNMHDR, pictavo_n->pResult); return TRUE;)
#define ON_NOTIFY_EX(code, id, memberFxn)                                    \
  PICTAVO_MAP_ENTRY(WM_NOTIFY, code, id, id, AfxSig_command, nullptr,        \
                    auto* pictavo_n = static_cast<AFX_NOTIFY*>(call.pExtra); \
                    return self->memberFxn(call.nID, pictavo_n->pNMHDR, pictavo_n->pResult);)
#define ON_NOTIFY_EX_RANGE(code, id, idLast, memberFxn)                      \
  PICTAVO_MAP_ENTRY(WM_NOTIFY, code, id, idLast, AfxSig_command, nullptr,    \
                    auto* pictavo_n = static_cast<AFX_NOTIFY*>(call.pExtra); \
                    return self->memberFxn(call.nID, pictavo_n->pNMHDR, pictavo_n->pResult);)
#define ON_NOTIFY_REFLECT(code, memberFxn)                                            \
  PICTAVO_MAP_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, code, 0, 0, AfxSig_command, nullptr, \
                    auto* pictavo_n = static_cast<AFX_NOTIFY*>(call.pExtra);          \
                    self->memberFxn(pictavo_n->pNMHDR, pictavo_n->pResult); return TRUE;)
#define ON_NOTIFY_REFLECT_EX(code, memberFxn)                                         \
  PICTAVO_MAP_ENTRY(WM_NOTIFY + WM_REFLECT_BASE, code, 0, 0, AfxSig_command, nullptr, \
                    auto* pictavo_n = static_cast<AFX_NOTIFY*>(call.pExtra);          \
                    return self->memberFxn(pictavo_n->pNMHDR, pictavo_n->pResult);)

// Any window message: LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn)                                                                    \
  PICTAVO_MAP_ENTRY(                                                                                      \
      message, 0, 0, 0, AfxSig_window, nullptr,                                                           \
      call.lResult = ::pictavo::mfc::ResultOf([&] { return self->memberFxn(call.wParam, call.lParam); }); \
      return TRUE;)
// A message registered by name; the variable holds its number.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                \
  PICTAVO_MAP_ENTRY(                                                                                      \
      0xC000, 0, 0, 0, AfxSig_registered, &(nMessageVariable),                                            \
      call.lResult = ::pictavo::mfc::ResultOf([&] { return self->memberFxn(call.wParam, call.lParam); }); \
      return TRUE;)
// Thread messages (no window) in a CWinThread's map: void handler(WPARAM, LPARAM).
#define ON_THREAD_MESSAGE(message, memberFxn)                                                            \
  PICTAVO_MAP_ENTRY(message, 0, 0, 0, AfxSig_thread, nullptr, self->memberFxn(call.wParam, call.lParam); \
                    return TRUE;)
#define ON_REGISTERED_THREAD_MESSAGE(nMessageVariable, memberFxn)                  \
  PICTAVO_MAP_ENTRY(0xC000, 0, 0, 0, AfxSig_registeredThread, &(nMessageVariable), \
                    self->memberFxn(call.wParam, call.lParam);                     \
                    return TRUE;)

// The standard controls' notifications.
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_EN_ERRSPACE(id, memberFxn) ON_CONTROL(EN_ERRSPACE, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)
#define ON_STN_ENABLE(id, memberFxn) ON_CONTROL(STN_ENABLE, id, memberFxn)
#define ON_STN_DISABLE(id, memberFxn) ON_CONTROL(STN_DISABLE, id, memberFxn)
