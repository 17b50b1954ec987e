// The binary forms LoadResource gives for resources that the files describe as elements
// (layouts in platform/res/Resources.h), and the packed DIB of a bitmap file.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/res/Templates.h"

namespace pictavo::res {

std::vector<BYTE> MenuData(const MenuTemplate& menu);
std::vector<BYTE> AcceleratorData(const AcceleratorTable& table);
std::vector<BYTE> ToolbarData(const ToolbarTemplate& toolbar);
// Block of strings 16 * (block - 1) ... + 15; null for a missing string.
std::vector<BYTE> StringBlockData(const std::array<const std::string*, 16>& strings);
// The BMP file without its file header, colour table and bits joined; nullopt with the reason
// for a damaged file.
std::optional<std::vector<BYTE>> PackedDibFromBmp(std::span<const BYTE> file, std::string& error);

}  // namespace pictavo::res
