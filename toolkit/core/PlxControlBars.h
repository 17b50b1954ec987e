// The toolkit's docking bar kinds the visual managers tell apart, as far as they read them: the
// sizing control bar, the caption bar and the colour bar (their own files). The other bars'
// windows come with the frames and bars.
#pragma once

#include "platform/base/List.h"
#include "platform/mfc/ControlBar.h"
#include "toolkit/bars/PlxToolBar.h"
#include "toolkit/core/PlxCaptionBar.h"
#include "toolkit/core/PlxColorBar.h"
#include "toolkit/core/PlxSizingControlBar.h"
