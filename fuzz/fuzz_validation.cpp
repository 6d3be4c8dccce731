// A validation file of arbitrary bytes is read as both loaders read it,
// and merged as both merge it: the AAVSO loader carries a table's stars
// over into the file's, the eclipsing loader merges the file's stars into
// the table, replacing the data of the stars it has.
#include <cstring>

#include "FuzzSupport.h"
#include "config/MyConfig.h"
#include "db/DbStars.h"

namespace {

// A small table as one that has been in use: stars of every class, one
// name filling its field.
void FillTable(wxDbStars& table) {
  using pelk_fuzz::Star;
  const TStar_data stars[] = {
      Star("R LEO", "0942+11", "M", 'F'),        Star("SS CYG", "2138+43", "UGSS", 'F'),
      Star("AB AND", "2308+36a", "EW", 'E'),     Star("V1234 SGR", "1800-30", "?", 'U'),
      Star("ABCDEFGHIJKL", "9999+99", "EA:", 'U'),
  };
  for (const TStar_data& s : stars)
    if (table.Insert(&s) != 0) pelk_fuzz::Fail("a star could not be inserted");
}

// Lookups through the name index agree with a walk through the table, and
// every star of `source` with a class in `classes` is now in `table`.
void Check(wxDbStars& table, wxDbStars& source, const char* classes) {
  const int n = table.GetCount();
  for (int i = 0; i < n && i < 64; ++i) {
    const TStar_data* s = static_cast<const TStar_data*>(table.Get(i));
    int first = 0;
    while (table.TestKey(first, s->name, 0) != 0) ++first;
    if (table.GetIndex(s->name, 0) != first) pelk_fuzz::Fail("the name index and the table disagree");
  }
  for (int i = 0; i < source.GetCount() && i < 64; ++i) {
    const TStar_data* s = static_cast<const TStar_data*>(source.Get(i));
    if (s->cls && strchr(classes, s->cls) && table.GetIndex(s->name, 0) < 0)
      pelk_fuzz::Fail("a merged star cannot be found");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pelk_fuzz::Setup();
  const std::string path = pelk_fuzz::WriteFile("vallong.txt", data, size);

  wxDbStars table;
  FillTable(table);

  wxDbStars aavso;
  if (aavso.OpenText(wxString(path), 'F') != 0) pelk_fuzz::Fail("a readable validation file was refused");
  if (aavso.Merge(table, "FEU", 0) < 0) pelk_fuzz::Fail("merge ran out of memory");
  Check(aavso, table, "FEU");

  wxDbStars eclipsing;
  if (eclipsing.OpenText(wxString(path), 'E') != 0) pelk_fuzz::Fail("a readable validation file was refused");
  if (table.Merge(eclipsing, "E", 1) < 0) pelk_fuzz::Fail("merge ran out of memory");
  Check(table, eclipsing, "E");
  // A star that goes keeps the index in step with the table.
  if (table.GetCount() > 0) {
    table.Delete(0);
    Check(table, eclipsing, "");
  }

  // Nothing of this reaches a file.
  aavso.AbandonChanges();
  eclipsing.AbandonChanges();
  table.AbandonChanges();
  return 0;
}
