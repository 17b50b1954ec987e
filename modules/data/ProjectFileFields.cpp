#include "modules/data/ProjectFileFields.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "modules/xml/ValueNotation.h"

namespace pictavo::data::projectfile {

void WriteFields(pugi::xml_node node, const void* record, std::span<const Field> fields) {
  const auto* base = static_cast<const unsigned char*>(record);
  for (const Field& field : fields) {
    const unsigned char* at = base + field.offset;
    switch (field.kind) {
      case FieldKind::Int: {
        int32_t value;
        std::memcpy(&value, at, sizeof value);
        node.append_attribute(field.name) = value;
        break;
      }
      case FieldKind::Colour: {
        uint32_t value;
        std::memcpy(&value, at, sizeof value);
        char text[8];
        std::snprintf(text, sizeof text, "#%02X%02X%02X", value & 0xFF, (value >> 8) & 0xFF,
                      (value >> 16) & 0xFF);
        node.append_attribute(field.name) = text;
        break;
      }
      case FieldKind::Text: {
        const char* text = reinterpret_cast<const char*>(at);
        node.append_attribute(field.name) = std::string(text, strnlen(text, field.size)).c_str();
        break;
      }
    }
  }
}

void ReadFields(const pugi::xml_node& node, void* record, std::span<const Field> fields) {
  auto* base = static_cast<unsigned char*>(record);
  for (const Field& field : fields) {
    const pugi::xml_attribute attribute = node.attribute(field.name);
    if (!attribute) continue;
    unsigned char* at = base + field.offset;
    switch (field.kind) {
      case FieldKind::Int:
        if (const auto value = pictavo::xml::ParseInt(attribute.value())) {
          const int32_t v = *value;
          std::memcpy(at, &v, sizeof v);
        }
        break;
      case FieldKind::Colour:
        if (const auto value = pictavo::xml::ParseColor(attribute.value())) {
          const uint32_t v = *value & 0xFFFFFF;
          std::memcpy(at, &v, sizeof v);
        }
        break;
      case FieldKind::Text: {
        const char* text = attribute.value();
        const size_t n = std::min(field.size - 1, std::strlen(text));
        std::memcpy(at, text, n);
        std::memset(at + n, 0, field.size - n);
        break;
      }
    }
  }
}

void WriteTextFont(pugi::xml_node node, const _DVDImageTextFont& font) {
  WriteFields(node, &font, kTextFontFields);
  pugi::xml_node effect = node.append_child("effect");
  WriteFields(effect, &font.effect, kEffectFields);
  for (const BrushMember& brush : kEffectBrushes)
    WriteFields(effect.append_child(brush.name),
                reinterpret_cast<const unsigned char*>(&font.effect) + brush.offset, kBrushFields);
}

void ReadTextFont(const pugi::xml_node& node, _DVDImageTextFont& font) {
  ReadFields(node, &font, kTextFontFields);
  const pugi::xml_node effect = node.child("effect");
  if (!effect) return;
  ReadFields(effect, &font.effect, kEffectFields);
  for (const BrushMember& brush : kEffectBrushes)
    if (const pugi::xml_node child = effect.child(brush.name))
      ReadFields(child, reinterpret_cast<unsigned char*>(&font.effect) + brush.offset, kBrushFields);
}

}  // namespace pictavo::data::projectfile
