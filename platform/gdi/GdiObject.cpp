#include "platform/gdi/GdiObject.h"

#include <deque>
#include <mutex>
#include <vector>

#include "platform/base/ErrorCodes.h"
#include "platform/base/LastError.h"

namespace pictavo::gdi {
namespace {

// Value layout: bit 30 set, generation in bits 20-27, slot in bits 2-19.
constexpr uint32_t kTag = 0x40000000u;
constexpr uint32_t kSlotCount = 1u << 18;
constexpr uint32_t kGenerationMask = 0xFFu;

struct Slot {
  std::shared_ptr<GdiObject> object;
  uint32_t generation = 0;
};

class Table {
 public:
  void* Insert(std::shared_ptr<GdiObject> object, void*& handleField) {
    std::lock_guard lock(m_lock);
    uint32_t slot;
    if (!m_free.empty()) {
      slot = m_free.back();
      m_free.pop_back();
    } else {
      if (m_slots.size() >= kSlotCount) return nullptr;
      slot = static_cast<uint32_t>(m_slots.size());
      m_slots.emplace_back();
    }
    Slot& s = m_slots[slot];
    uint32_t value = kTag | ((s.generation & kGenerationMask) << 20) | (slot << 2);
    handleField = reinterpret_cast<void*>(static_cast<uintptr_t>(value));
    s.object = std::move(object);
    return handleField;
  }

  std::shared_ptr<GdiObject> Find(const void* handle) {
    uint32_t slot;
    if (!Decode(handle, slot)) return nullptr;
    std::lock_guard lock(m_lock);
    if (slot >= m_slots.size() || !m_slots[slot].object || m_slots[slot].object->Handle() != handle)
      return nullptr;
    return m_slots[slot].object;
  }

  bool Remove(const void* handle) {
    uint32_t slot;
    if (!Decode(handle, slot)) return false;
    std::shared_ptr<GdiObject> doomed;  // released outside the lock: destructors may look up handles
    {
      std::lock_guard lock(m_lock);
      if (slot >= m_slots.size() || !m_slots[slot].object || m_slots[slot].object->Handle() != handle)
        return false;
      doomed = std::move(m_slots[slot].object);
      ++m_slots[slot].generation;
      m_free.push_front(slot);  // oldest free slot is reused first
    }
    return true;
  }

 private:
  static bool Decode(const void* handle, uint32_t& slot) {
    uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if ((value & ~uintptr_t{0x4FFFFFFC}) != 0 || !(value & kTag)) return false;
    slot = static_cast<uint32_t>((value >> 2) & (kSlotCount - 1));
    return true;
  }

  std::mutex m_lock;
  std::vector<Slot> m_slots;    // guarded by m_lock
  std::deque<uint32_t> m_free;  // guarded by m_lock
};

Table& TheTable() {
  static Table* table = new Table;  // outlives every static object that may still hold handles
  return *table;
}

}  // namespace

void* InsertObject(std::shared_ptr<GdiObject> object, bool stock) {
  if (!object) return nullptr;
  GdiObject* raw = object.get();
  raw->m_stock = stock;
  void* handle = TheTable().Insert(std::move(object), raw->m_handle);
  if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return handle;
}

std::shared_ptr<GdiObject> FindObject(const void* handle) {
  if (!handle) return nullptr;
  return TheTable().Find(handle);
}

bool RemoveObject(const void* handle) {
  return TheTable().Remove(handle);
}

}  // namespace pictavo::gdi
