// The process-wide disc menu and its template catalogue, as the application shell sees them.
#pragma once

#include "disc/pages/MenuTemplates.h"
