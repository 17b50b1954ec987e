// The drag data of toolbar buttons: the framework's in-process drag and drop.
#pragma once

#include "platform/kernel/GlobalMemory.h"
#include "platform/mfc/OleDragDrop.h"
