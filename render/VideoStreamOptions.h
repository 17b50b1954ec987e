// The video stream's ffmpeg options every profile group gets beside its codec and average rate.
#pragma once

class CAVOutputProfile;
class CFFMpegOpts;

namespace pictavo::render {

// The profile's bit rate also as a ceiling: "-maxrate" at the rate with a rate-control buffer of
// one second of it ("-bufsize"), so that no second takes more than twice the rate (a second of
// noise-like pictures otherwise takes many times it and starves the slides after it). Nothing for
// a profile without a rate. Then the colour tags of the frame writer's samples at the profile's
// frame size (matrix, primaries, transfer, limited range), so that players need not guess.
void AddVideoStreamOptions(CFFMpegOpts& opts, const CAVOutputProfile& profile);

}  // namespace pictavo::render
