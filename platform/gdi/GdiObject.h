// Drawing objects behind HGDIOBJ, HDC and HICON values, and the table that hands out those values.
// Handle values fit in 32 bits (records store them so), are never 0, and a freed value is not
// handed out again until its slot's generation wraps.
#pragma once

#include <memory>

#include "platform/base/WinTypes.h"

namespace pictavo::gdi {

enum class ObjectKind { Pen, Brush, Font, Bitmap, Region, Palette, Dc, Icon };

class GdiObject {
 public:
  explicit GdiObject(ObjectKind kind) : m_kind(kind) {}
  virtual ~GdiObject() = default;
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  ObjectKind Kind() const { return m_kind; }
  // The object's handle; null for objects that never got one (an icon's inner bitmaps).
  void* Handle() const { return m_handle; }
  // Stock objects ignore DeleteObject.
  bool IsStock() const { return m_stock; }

 private:
  friend void* InsertObject(std::shared_ptr<GdiObject>, bool);
  const ObjectKind m_kind;
  void* m_handle = nullptr;  // set once, before the object is shared
  bool m_stock = false;
};

// Gives the object a handle. Fails (null, ERROR_NOT_ENOUGH_MEMORY) when the table is full.
void* InsertObject(std::shared_ptr<GdiObject> object, bool stock = false);
std::shared_ptr<GdiObject> FindObject(const void* handle);
// Removes the handle; the object lives on while something (a DC it is selected into) holds it.
bool RemoveObject(const void* handle);

template <class T>
std::shared_ptr<T> FindAs(const void* handle, ObjectKind kind) {
  std::shared_ptr<GdiObject> object = FindObject(handle);
  if (!object || object->Kind() != kind) return nullptr;
  return std::static_pointer_cast<T>(object);
}

template <class H, class T>
H HandleOf(const std::shared_ptr<T>& object) {
  return object ? static_cast<H>(object->Handle()) : nullptr;
}

}  // namespace pictavo::gdi
