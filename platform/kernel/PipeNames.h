// Where named pipes live: `\\.\pipe\NAME` is a FIFO in a folder of this process under the user's
// runtime folder ($XDG_RUNTIME_DIR/pictavo/pipes/<pid>/NAME, or /tmp/pictavo-<uid>/pipes/<pid>/NAME
// when that variable is not set). Pipe names are matched without regard to ASCII case, as the
// platform does; the FIFO carries the name in lower case.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pictavo::kernel {

// NAME of `\\.\pipe\NAME` (either separator, any case); nothing for other paths or a name that
// cannot be a file name here (empty, "." or "..", holding `/`, longer than 256 bytes).
std::optional<std::string> PipeNameFromPath(std::string_view path);

// The folder that holds the pipe folders of every process of this user (not created here).
std::string PipeRootFolder();
// This process's FIFO path for a pipe name (as PipeNameFromPath gives it).
std::string PipeFifoPath(std::string_view name);
// Creates this process's pipe folder (and the folders above it, mode 0700) on first use, after
// removing the folders that runs which are gone left behind. False with errno set on failure.
[[nodiscard]] bool EnsurePipeFolder();
// Removes the pipe folders of processes that no longer run (a crashed run's FIFOs). Returns how
// many folders went.
int RemoveStalePipeFolders();

// The text with every pipe name in it replaced by its FIFO path, for handing names to another
// program: `-i \\.\pipe\video` becomes `-i /run/user/1000/pictavo/pipes/123/video`. A name runs up
// to a separator, a quote, a blank, `|`, `,` or `;`. The names met are added to `names`.
std::string TranslatePipeNames(std::string_view text, std::vector<std::string>* names = nullptr);

}  // namespace pictavo::kernel
