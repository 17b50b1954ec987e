// PlaySound: the system's short event sounds by alias. The sounds are our own, drawn by
// SystemSoundSamples; they play on the sound device through SDL and, without a device (or with
// SDL's dummy driver), nothing plays and the call answers FALSE at once. Only what the program
// asks for is offered: aliases played synchronously, and SND_PURGE (or a null sound) to stop the
// sound playing now from any thread. Safe from any thread; one sound plays at a time.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"

#define SND_SYNC 0x0000u
#define SND_ASYNC 0x0001u
#define SND_NODEFAULT 0x0002u
#define SND_MEMORY 0x0004u
#define SND_LOOP 0x0008u
#define SND_NOSTOP 0x0010u
#define SND_PURGE 0x0040u
#define SND_NOWAIT 0x00002000u
#define SND_ALIAS 0x00010000u
#define SND_FILENAME 0x00020000u

// pszSound is an alias ("MenuPopup", "MenuCommand", "SystemDefault") with SND_ALIAS; an unknown
// alias plays "SystemDefault" unless SND_NODEFAULT. Returns when the sound has played (TRUE), or
// FALSE when nothing played: no device, unknown alias with SND_NODEFAULT, another sound playing
// with SND_NOWAIT, stopped by a purge, or a form the program does not use (files, memory
// images, SND_ASYNC, SND_LOOP). Without SND_NOWAIT a new sound stops the one playing.
BOOL PlaySound(LPCSTR pszSound, HMODULE hmod, DWORD fdwSound);

namespace pictavo::media {

// The samples of a system sound (mono, 16-bit, at `sampleRate`); empty for an unknown alias.
// Short and soft: they start and end at zero so the device never clicks.
std::vector<int16_t> SystemSoundSamples(std::string_view alias, int sampleRate);

}  // namespace pictavo::media
