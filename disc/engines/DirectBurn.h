// Direct burning: the image sink hands its sectors to DirectBurnThread, which feeds the working
// recorder of g_pActiveBurnEngine in session-at-once mode while the image is still being made.
#pragma once

#include <cstdint>

struct VideoCDJob;

constexpr unsigned WM_BURN_INIT = 0xBD0;
constexpr unsigned WM_BURN_LEADIN = 0xBD1;
constexpr unsigned WM_BURN_PROGRESS = 0xBD2;
constexpr unsigned WM_BURN_LEADOUT = 0xBD3;
constexpr unsigned WM_BURN_FINISHED = 0xBD4;
constexpr unsigned WM_BURN_FAILED = 0xBD5;

constexpr int kBurnBlockSectors = 27;
constexpr int kBurnQueueLimit = 100;

bool IsRawBurnMode();
// Producer side (the image sink, on the worker thread).
void BeginBurnStream();
void StartDirectBurn(VideoCDJob* job);
// False once the consumer has ended (failed set-up, stop, failed write): nothing takes sectors.
bool HandSectorToBurner(const uint8_t* sector);
// After the whole image: the rest and the end of the stream; waits for the burner and returns
// whether the disc was finished.
bool EndBurnStream();
// After a stopped or failed image: the burner stops without a lead-out; waits for it.
void AbortBurnStream();

// The consumer; started by StartDirectBurn.
unsigned DirectBurnThread(VideoCDJob* job);
