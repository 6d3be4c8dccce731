#include "db/NameIndex.h"

#include <cstdlib>

#include "db/Db.h"

namespace pelk {

bool NameIndex::SameName(const char* a, const char* b, size_t width) {
  for (size_t i = 0; i < width; ++i) {
    if (a[i] != b[i]) return false;
    if (a[i] == '\0') return true;
  }
  return true;
}

uint32_t NameIndex::Hash(const char* name, size_t width) {
  uint32_t h = 2166136261u;  // FNV-1a
  for (size_t i = 0; i < width && name[i] != '\0'; ++i) {
    h ^= (unsigned char)name[i];
    h *= 16777619u;
  }
  // The low bits pick the slot: fold the high ones in.
  return h ^ (h >> 15);
}

void NameIndex::FreeSlots::operator()(Slot* p) const { free(p); }

void NameIndex::Clear() {
  m_slots.reset();
  m_mask = 0;
  m_used = 0;
  m_covered = 0;
  m_built = false;
}

size_t NameIndex::Probe(const char* block, int reclen, const char* name, uint32_t hash) const {
  size_t pos = hash & m_mask;
  for (;;) {
    const Slot& s = m_slots[pos];
    if (s.index < 0) return pos;
    if (s.hash == hash && SameName(block + (size_t)s.index * (size_t)reclen, name, m_width)) return pos;
    pos = (pos + 1) & m_mask;
  }
}

bool NameIndex::Grow(size_t slots) {
  // Big tables go on huge pages: a lookup then seldom waits for the
  // address translation as well as for the slot.
  std::unique_ptr<Slot[], FreeSlots> fresh(reinterpret_cast<Slot*>(NewBlock(slots * sizeof(Slot))));
  if (!fresh) return false;
  for (size_t i = 0; i < slots; ++i) fresh[i] = Slot{0, -1};
  const size_t mask = slots - 1;
  // Every name in the old table is distinct: each goes to the first free
  // slot from its home, without comparing names.
  for (size_t i = 0; m_slots && i <= m_mask; ++i) {
    const Slot& s = m_slots[i];
    if (s.index < 0) continue;
    size_t pos = s.hash & mask;
    while (fresh[pos].index >= 0) pos = (pos + 1) & mask;
    fresh[pos] = s;
  }
  m_slots = std::move(fresh);
  m_mask = mask;
  return true;
}

bool NameIndex::Build(const char* block, int count, int reclen) {
  Clear();
  size_t slots = 16;
  while (slots < (size_t)(count < 0 ? 0 : count) * 2) slots *= 2;
  if (!Grow(slots)) return false;
  // The slots of the names a little ahead are asked for early, so that
  // their waits overlap.
  const int kAhead = 16;
  uint32_t hashes[kAhead];
  for (int i = 0; i < kAhead && i < count; ++i) hashes[i] = Hash(block + (size_t)i * (size_t)reclen, m_width);
  for (int i = 0; i < count; ++i) {
    const char* name = block + (size_t)i * (size_t)reclen;
    const uint32_t h = hashes[i % kAhead];
    if (i + kAhead < count) {
      const uint32_t ahead = Hash(block + (size_t)(i + kAhead) * (size_t)reclen, m_width);
      hashes[i % kAhead] = ahead;
      PrefetchSlot(ahead);
    }
    Slot& s = m_slots[Probe(block, reclen, name, h)];
    if (s.index >= 0) continue;  // an earlier record has this name
    s = Slot{h, i};
    ++m_used;
  }
  m_covered = count;
  m_built = true;
  return true;
}

int NameIndex::Find(const char* block, int reclen, const char* name) const {
  if (!name) return -1;
  return Find(block, reclen, name, Hash(name, m_width));
}

int NameIndex::Find(const char* block, int reclen, const char* name, uint32_t hash) const {
  if (!m_built || !block || !name) return -1;
  return m_slots[Probe(block, reclen, name, hash)].index;
}

bool NameIndex::Reserve(size_t names) {
  if (!m_built) return true;
  size_t slots = m_mask + 1;
  while (slots < names * 2) slots *= 2;
  if (slots == m_mask + 1) return true;
  if (Grow(slots)) return true;
  Clear();
  return false;
}

void NameIndex::PrefetchSlot(uint32_t hash) const {
  if (m_slots) __builtin_prefetch(&m_slots[hash & m_mask]);
}

void NameIndex::PrefetchRecord(const char* block, int reclen, uint32_t hash) const {
  if (!m_built || !block) return;
  const Slot& s = m_slots[hash & m_mask];
  if (s.index >= 0 && s.hash == hash) __builtin_prefetch(block + (size_t)s.index * (size_t)reclen);
}

bool NameIndex::Appended(const char* block, int count, int reclen, int index) {
  if (!m_built) return true;
  if ((m_used + 1) * 2 > m_mask + 1 && !Grow((m_mask + 1) * 2)) {
    Clear();
    return false;
  }
  const char* name = block + (size_t)index * (size_t)reclen;
  const uint32_t h = Hash(name, m_width);
  Slot& s = m_slots[Probe(block, reclen, name, h)];
  if (s.index < 0) {
    s = Slot{h, index};
    ++m_used;
  }
  m_covered = count;
  return true;
}

void NameIndex::EraseSlot(size_t pos) {
  // Move later members of the probe run back so that no lookup stops at
  // the gap before reaching them.
  size_t hole = pos;
  size_t next = (hole + 1) & m_mask;
  while (m_slots[next].index >= 0) {
    const size_t home = m_slots[next].hash & m_mask;
    const bool stays = hole <= next ? (hole < home && home <= next) : (hole < home || home <= next);
    if (!stays) {
      m_slots[hole] = m_slots[next];
      hole = next;
    }
    next = (next + 1) & m_mask;
  }
  m_slots[hole] = Slot{0, -1};
  --m_used;
}

void NameIndex::Removing(const char* block, int count, int reclen, int index) {
  if (!m_built) return;
  const char* name = block + (size_t)index * (size_t)reclen;
  const size_t pos = Probe(block, reclen, name, Hash(name, m_width));
  if (m_slots[pos].index == index) {
    // The first of its name goes: a later record of the same name, if
    // any, takes its place.
    int later = -1;
    for (int j = index + 1; j < count && later < 0; ++j)
      if (SameName(block + (size_t)j * (size_t)reclen, name, m_width)) later = j;
    if (later >= 0)
      m_slots[pos].index = later;
    else
      EraseSlot(pos);
  }
  for (size_t i = 0; i <= m_mask; ++i)
    if (m_slots[i].index > index) --m_slots[i].index;
  m_covered = count - 1;
}

}  // namespace pelk
