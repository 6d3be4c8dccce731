// A growable array of plain records that reports running out of memory
// instead of throwing. Big ones go on huge pages (NewBlock).
#pragma once

#include <cstddef>
#include <cstdlib>
#include <utility>

#include "db/Db.h"

namespace pelk {

template <typename T>
class PodBuffer {
 public:
  PodBuffer() = default;
  PodBuffer(const PodBuffer&) = delete;
  PodBuffer& operator=(const PodBuffer&) = delete;
  ~PodBuffer() { free(m_items); }

  // Room for `capacity` items; false when memory runs out.
  bool Reserve(size_t capacity) {
    if (capacity <= m_capacity) return true;
    if (capacity > (size_t)-1 / sizeof(T)) return false;
    void* grown = m_items ? realloc(m_items, capacity * sizeof(T)) : NewBlock(capacity * sizeof(T));
    if (!grown) return false;
    m_items = static_cast<T*>(grown);
    m_capacity = capacity;
    return true;
  }
  // Appends a copy; false when memory runs out.
  bool Add(const T& item) {
    if (m_count == m_capacity && !Reserve(m_capacity < 1024 ? 1024 : m_capacity * 2)) return false;
    m_items[m_count++] = item;
    return true;
  }
  // Frees everything.
  void Clear() {
    free(m_items);
    m_items = nullptr;
    m_count = m_capacity = 0;
  }
  void Swap(PodBuffer& other) {
    std::swap(m_items, other.m_items);
    std::swap(m_count, other.m_count);
    std::swap(m_capacity, other.m_capacity);
  }
  size_t Count() const { return m_count; }
  T* Data() { return m_items; }
  const T* Data() const { return m_items; }
  T& operator[](size_t i) { return m_items[i]; }
  const T& operator[](size_t i) const { return m_items[i]; }

 private:
  T* m_items = nullptr;
  size_t m_count = 0;
  size_t m_capacity = 0;
};

}  // namespace pelk
