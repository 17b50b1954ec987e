#include "toolkit/core/PlxFrameCore.h"
