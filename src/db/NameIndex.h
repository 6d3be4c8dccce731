// A hash index from a record's name field to the position of the first
// record that carries that name. The star table holds a whole validation
// file, and every observation of an index and every star of a merge is
// looked up in it: without this, each of those lookups would walk the
// table from the start.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace pelk {

class NameIndex {
 public:
  // `width` is the size of the name field at the start of each record; a
  // name that fills it has no terminator and is read as `width` bytes.
  explicit NameIndex(size_t width) : m_width(width) {}

  // Forgets everything; the next Build starts from nothing.
  void Clear();
  bool IsBuilt() const { return m_built; }
  // Indexes `count` records of `reclen` bytes at `block`, the earlier of
  // two equal names winning. False when memory runs out (the index is then
  // left unbuilt).
  bool Build(const char* block, int count, int reclen);
  // Position of the first record named `name` (read as at most `width`
  // bytes), or -1.
  int Find(const char* block, int reclen, const char* name) const;
  // Record `index`, just appended, joins the index unless an earlier record
  // has its name. False when memory runs out (the index is then unbuilt).
  bool Appended(const char* block, int count, int reclen, int index);
  // Room for `names` names without growing again. False when memory runs
  // out (the index is then unbuilt).
  bool Reserve(size_t names);
  // Asks for the memory a lookup of a name with this hash will read, so
  // that lookups issued in a row overlap their waits: the slot, or, once
  // the slot has arrived, the record it points at.
  void PrefetchSlot(uint32_t hash) const;
  void PrefetchRecord(const char* block, int reclen, uint32_t hash) const;
  // Find with the hash of `name` already known.
  int Find(const char* block, int reclen, const char* name, uint32_t hash) const;
  // Record `index` of the `count` in the block is about to be removed and
  // the records behind it moved down one place: called before the move.
  void Removing(const char* block, int count, int reclen, int index);
  // Number of records the index was last brought up to date with.
  int Covered() const { return m_covered; }

  // Name comparisons and hashing, bounded by the field width.
  static bool SameName(const char* a, const char* b, size_t width);
  static uint32_t Hash(const char* name, size_t width);

 private:
  struct Slot {
    uint32_t hash;
    int32_t index;  // -1: empty
  };
  struct FreeSlots {
    void operator()(Slot* p) const;
  };
  bool Grow(size_t slots);
  // Slot holding `name`, or the empty slot where it would go.
  size_t Probe(const char* block, int reclen, const char* name, uint32_t hash) const;
  void EraseSlot(size_t pos);

  size_t m_width;
  std::unique_ptr<Slot[], FreeSlots> m_slots;
  size_t m_mask = 0;  // slot count - 1 (a power of two)
  size_t m_used = 0;
  int m_covered = 0;
  bool m_built = false;
};

}  // namespace pelk
