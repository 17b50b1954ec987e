// The text form of a hive file (see README.md): readable, typed, exact to the byte.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry/Key.h"

namespace pictavo::registry {

inline constexpr std::string_view kHiveSignature = "PICTAVO-REGISTRY 1";

// `title` goes into the comment under the signature line (the hive's name).
std::string FormatHive(const Key& root, std::string_view title);

// Reads a hive file into `root`. False for anything that is not a complete hive file of this
// version; `error` then says where and why.
[[nodiscard]] bool ParseHive(std::string_view text, Key& root, std::string& error);

}  // namespace pictavo::registry
