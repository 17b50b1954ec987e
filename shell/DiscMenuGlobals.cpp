#include "shell/DiscMenuGlobals.h"
