#include "platform/res/Binary.h"

#include <cstdint>

#include "platform/base/Utf8.h"

namespace pictavo::res {

namespace {

void AppendWord(std::vector<BYTE>& out, unsigned value) {
  out.push_back(static_cast<BYTE>(value & 0xFF));
  out.push_back(static_cast<BYTE>((value >> 8) & 0xFF));
}

std::u16string Utf16(std::string_view text) {
  std::u16string out;
  for (const wchar_t wide : utf8::ToWide(text)) {
    const auto cp = static_cast<char32_t>(wide);
    if (cp > 0xFFFF) {
      out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

void AppendText(std::vector<BYTE>& out, std::string_view text) {
  for (const char16_t unit : Utf16(text)) AppendWord(out, unit);
  AppendWord(out, 0);
}

void AppendItems(std::vector<BYTE>& out, const std::vector<MenuItem>& items) {
  constexpr UINT kCarried =
      kMenuGrayed | kMenuDisabled | kMenuChecked | kMenuBarBreak | kMenuBreak | kMenuHelp;
  for (size_t i = 0; i < items.size(); ++i) {
    const MenuItem& item = items[i];
    const UINT end = i + 1 == items.size() ? kMenuEnd : 0;
    switch (item.kind) {
      case MenuItem::Kind::Popup:
        AppendWord(out, (item.flags & kCarried) | kMenuPopup | end);
        AppendText(out, item.text);
        AppendItems(out, item.items);
        break;
      case MenuItem::Kind::Command:
        AppendWord(out, (item.flags & kCarried) | end);
        AppendWord(out, item.id);
        AppendText(out, item.text);
        break;
      case MenuItem::Kind::Separator:
        AppendWord(out, end);
        AppendWord(out, 0);
        AppendText(out, "");
        break;
    }
  }
}

uint32_t Read32(std::span<const BYTE> bytes, size_t offset) {
  return bytes[offset] | (bytes[offset + 1] << 8) | (bytes[offset + 2] << 16) |
         (static_cast<uint32_t>(bytes[offset + 3]) << 24);
}

uint16_t Read16(std::span<const BYTE> bytes, size_t offset) {
  return static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

}  // namespace

std::vector<BYTE> MenuData(const MenuTemplate& menu) {
  std::vector<BYTE> out;
  AppendWord(out, 0);  // version
  AppendWord(out, 0);  // the items follow the header at once
  AppendItems(out, menu.items);
  return out;
}

std::vector<BYTE> AcceleratorData(const AcceleratorTable& table) {
  std::vector<BYTE> out;
  for (size_t i = 0; i < table.entries.size(); ++i) {
    const Accelerator& accel = table.entries[i];
    AppendWord(out, accel.flags | (i + 1 == table.entries.size() ? 0x80 : 0));
    AppendWord(out, accel.key);
    AppendWord(out, accel.command);
    AppendWord(out, 0);
  }
  return out;
}

std::vector<BYTE> ToolbarData(const ToolbarTemplate& toolbar) {
  std::vector<BYTE> out;
  AppendWord(out, 1);
  AppendWord(out, static_cast<unsigned>(toolbar.imageWidth));
  AppendWord(out, static_cast<unsigned>(toolbar.imageHeight));
  AppendWord(out, static_cast<unsigned>(toolbar.commands.size()));
  for (const WORD command : toolbar.commands) AppendWord(out, command);
  return out;
}

std::vector<BYTE> StringBlockData(const std::array<const std::string*, 16>& strings) {
  std::vector<BYTE> out;
  for (const std::string* text : strings) {
    const std::u16string units = text ? Utf16(*text) : std::u16string();
    AppendWord(out, static_cast<unsigned>(units.size()));
    for (const char16_t unit : units) AppendWord(out, unit);
  }
  return out;
}

std::optional<std::vector<BYTE>> PackedDibFromBmp(std::span<const BYTE> file, std::string& error) {
  constexpr size_t kFileHeader = 14;
  if (file.size() < kFileHeader + 12 || file[0] != 'B' || file[1] != 'M') {
    error = "not a BMP file";
    return std::nullopt;
  }
  const uint32_t bitsOffset = Read32(file, 10);
  const uint32_t headerSize = Read32(file, kFileHeader);
  const bool core = headerSize == 12;
  if (!core && (headerSize < 40 || headerSize > 124)) {
    error = "unknown bitmap header of " + std::to_string(headerSize) + " bytes";
    return std::nullopt;
  }
  if (kFileHeader + headerSize > file.size()) {
    error = "the file ends inside the bitmap header";
    return std::nullopt;
  }
  const size_t info = kFileHeader;
  const int64_t width = core ? Read16(file, info + 4) : static_cast<int32_t>(Read32(file, info + 4));
  const int64_t height =
      core ? static_cast<int16_t>(Read16(file, info + 6)) : static_cast<int32_t>(Read32(file, info + 8));
  const unsigned bitCount = core ? Read16(file, info + 10) : Read16(file, info + 14);
  const uint32_t compression = core ? 0 : Read32(file, info + 16);
  const uint32_t colorsUsed = core ? 0 : Read32(file, info + 32);
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32) {
    error = "unsupported colour depth of " + std::to_string(bitCount) + " bits";
    return std::nullopt;
  }
  if (width <= 0 || height == 0 || width > 65535 || height > 65535 || height < -65535) {
    error = "bad bitmap size";
    return std::nullopt;
  }
  const uint64_t colors = colorsUsed != 0 ? colorsUsed : (bitCount <= 8 ? 1u << bitCount : 0);
  const bool bitFields = compression == 3 || compression == 6;
  if (colors > 65536 || (compression != 0 && compression != 1 && compression != 2 && !bitFields)) {
    error = "unsupported bitmap compression or colour table";
    return std::nullopt;
  }
  const uint64_t masks = (headerSize == 40 && bitFields) ? (compression == 6 ? 16 : 12) : 0;
  const uint64_t tableEnd = kFileHeader + headerSize + masks + colors * (core ? 3 : 4);
  if (tableEnd > bitsOffset || bitsOffset > file.size()) {
    error = "the colour table and the bits overlap or lie outside the file";
    return std::nullopt;
  }
  uint64_t bitsSize = file.size() - bitsOffset;
  if (compression == 0 || bitFields) {
    const uint64_t stride = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
    const uint64_t needed = stride * static_cast<uint64_t>(height < 0 ? -height : height);
    if (needed > bitsSize) {
      error = "the file ends inside the bits";
      return std::nullopt;
    }
    bitsSize = needed;
  }
  std::vector<BYTE> out(file.begin() + kFileHeader, file.begin() + static_cast<ptrdiff_t>(tableEnd));
  out.insert(out.end(), file.begin() + bitsOffset,
             file.begin() + static_cast<ptrdiff_t>(bitsOffset + bitsSize));
  return out;
}

}  // namespace pictavo::res
