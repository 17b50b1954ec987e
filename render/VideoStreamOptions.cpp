#include "render/VideoStreamOptions.h"

#include <cstdlib>

#include "modules/data/OutputProfile.h"
#include "modules/encoders/CmdOpts.h"
#include "modules/yuv/StreamFormat.h"

namespace pictavo::render {

void AddVideoStreamOptions(CFFMpegOpts& opts, const CAVOutputProfile& profile) {
  const CString rate = profile.Get_strVideoBitRate();
  const long kilobits = std::strtol(static_cast<LPCTSTR>(rate), nullptr, 10);
  if (kilobits > 0) {
    opts.Add(CMDOPT_IN_PLACE, "-maxrate", "%ldk", kilobits);
    opts.Add(CMDOPT_IN_PLACE, "-bufsize", "%ldk", kilobits);
  }
  const pictavo::yuv::ColourTags tags =
      pictavo::yuv::ColourOf(profile.Get_nVideoWidth(), profile.Get_nVideoHeight());
  opts.Add(CMDOPT_IN_PLACE, "-colorspace", tags.colorspace);
  opts.Add(CMDOPT_IN_PLACE, "-color_primaries", tags.primaries);
  opts.Add(CMDOPT_IN_PLACE, "-color_trc", tags.transfer);
  opts.Add(CMDOPT_IN_PLACE, "-color_range", tags.range);
}

}  // namespace pictavo::render
