// Change notifications of the shell namespace. SHChangeNotify tells this program's own listeners
// (its folder trees and lists) that something changed, synchronously on the calling thread; other
// programs watch the file system themselves. SHFileOperation reports what it does the same way.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/base/WinTypes.h"

#define SHCNE_RENAMEITEM 0x00000001L
#define SHCNE_CREATE 0x00000002L
#define SHCNE_DELETE 0x00000004L
#define SHCNE_MKDIR 0x00000008L
#define SHCNE_RMDIR 0x00000010L
#define SHCNE_MEDIAINSERTED 0x00000020L
#define SHCNE_MEDIAREMOVED 0x00000040L
#define SHCNE_DRIVEREMOVED 0x00000080L
#define SHCNE_DRIVEADD 0x00000100L
#define SHCNE_NETSHARE 0x00000200L
#define SHCNE_NETUNSHARE 0x00000400L
#define SHCNE_ATTRIBUTES 0x00000800L
#define SHCNE_UPDATEDIR 0x00001000L
#define SHCNE_UPDATEITEM 0x00002000L
#define SHCNE_SERVERDISCONNECT 0x00004000L
#define SHCNE_UPDATEIMAGE 0x00008000L
#define SHCNE_DRIVEADDGUI 0x00010000L
#define SHCNE_RENAMEFOLDER 0x00020000L
#define SHCNE_FREESPACE 0x00040000L
#define SHCNE_EXTENDED_EVENT 0x04000000L
#define SHCNE_ASSOCCHANGED 0x08000000L
#define SHCNE_DISKEVENTS 0x0002381FL
#define SHCNE_GLOBALEVENTS 0x0C0581E0L
#define SHCNE_ALLEVENTS 0x7FFFFFFFL
#define SHCNE_INTERRUPT 0x80000000L

#define SHCNF_IDLIST 0x0000u
#define SHCNF_PATHA 0x0001u
#define SHCNF_PRINTERA 0x0002u
#define SHCNF_DWORD 0x0003u
#define SHCNF_PATHW 0x0005u
#define SHCNF_PRINTERW 0x0006u
#define SHCNF_TYPE 0x00FFu
#define SHCNF_FLUSH 0x1000u
#define SHCNF_FLUSHNOWAIT 0x3000u
#define SHCNF_PATH SHCNF_PATHA
#define SHCNF_PRINTER SHCNF_PRINTERA

// `item1` and `item2` are item id lists, multibyte (UTF-8) or wide paths as `flags` says; they
// reach the listeners as paths (empty for an item without one). The flush flags are accepted:
// delivery is always immediate.
void SHChangeNotify(LONG eventId, UINT flags, LPCVOID item1, LPCVOID item2);

namespace pictavo::shell {

struct ChangeEvent {
  LONG eventId;
  std::string path1;
  std::string path2;  // the new name of SHCNE_RENAMEITEM / SHCNE_RENAMEFOLDER
};
using ChangeListener = std::function<void(const ChangeEvent&)>;

// Keeps a listener registered while it lives. Listeners run on the thread that reports the
// change, in the order they subscribed; one may unsubscribe itself (or another) while it runs.
class ChangeSubscription {
 public:
  ChangeSubscription() = default;
  explicit ChangeSubscription(std::shared_ptr<ChangeListener> listener) : m_listener(std::move(listener)) {}
  ~ChangeSubscription();
  ChangeSubscription(ChangeSubscription&&) noexcept = default;
  ChangeSubscription& operator=(ChangeSubscription&& other) noexcept;
  ChangeSubscription(const ChangeSubscription&) = delete;
  ChangeSubscription& operator=(const ChangeSubscription&) = delete;

 private:
  std::shared_ptr<ChangeListener> m_listener;
};

[[nodiscard]] ChangeSubscription SubscribeToChanges(ChangeListener listener);

}  // namespace pictavo::shell
