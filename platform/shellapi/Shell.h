// The shell in one include: the namespace and its folders, special folders, file facts,
// opening, file operations, change notifications, dropped files and network browsing.
#pragma once

#include "platform/shellapi/ChangeNotify.h"
#include "platform/shellapi/DragDrop.h"
#include "platform/shellapi/FileInfo.h"
#include "platform/shellapi/FileOperation.h"
#include "platform/shellapi/ItemIdList.h"
#include "platform/shellapi/KnownFolders.h"
#include "platform/shellapi/Network.h"
#include "platform/shellapi/ShellExecute.h"
#include "platform/shellapi/ShellFolder.h"
