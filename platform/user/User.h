// The window layer in one include: windows, messages, painting, input, timers, hooks, cursors,
// metrics, the standard controls, the caret and the clipboard.
#pragma once

#include "platform/base/Messages.h"
#include "platform/base/Styles.h"
#include "platform/base/VirtualKeys.h"
#include "platform/user/Caret.h"
#include "platform/user/Clipboard.h"
#include "platform/user/Controls.h"
#include "platform/user/CrossProcess.h"
#include "platform/user/Cursor.h"
#include "platform/user/Hooks.h"
#include "platform/user/Input.h"
#include "platform/user/Message.h"
#include "platform/user/Metrics.h"
#include "platform/user/ModalLoop.h"
#include "platform/user/Paint.h"
#include "platform/user/Timer.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"
#include "platform/user/WindowPos.h"
