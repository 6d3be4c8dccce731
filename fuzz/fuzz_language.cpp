// A language file of arbitrary bytes is loaded, and every text it replaced
// is then used as the program uses it: list texts are split, and the texts
// that are formats are filled in with the arguments the program passes.
#include <cstring>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "config/MyConfig.h"

namespace {

struct Use {
  int id;
  const char* builtin;
  std::string kinds;  // the built-in text's directives
  bool list;
};

const std::vector<Use>& Uses() {
  static const std::vector<Use> uses = [] {
    std::vector<Use> out;
    for (const TLangDefault& d : default_language) {
      Use u{d.id, d.text, pelk::FormatDirectives(d.text), strchr(d.text, '|') != nullptr};
      if (!u.kinds.empty() || u.list) out.push_back(u);
    }
    return out;
  }();
  return uses;
}

// The program's calls, by the directives of the built-in text.
void FillIn(const wxString& format, const std::string& kinds) {
  const wxString name("vallong.txt"), other("2.1.0");
  wxString text;
  if (kinds == "s,")
    text = wxString::Format(format, name);
  else if (kinds == "s,s,")
    text = wxString::Format(format, name, other);
  else if (kinds == "d,s,")
    text = wxString::Format(format, 31024, name);
  else if (kinds == "s,d,")
    text = wxString::Format(format, name, 17);
  else if (kinds == "s,s,d,")
    text = wxString::Format(format, name, other, 17);
  else if (kinds == "d,d,")
    text = wxString::Format(format, 1, 15);
  else
    pelk_fuzz::Fail(("a built-in format the harness cannot fill in: " + kinds).c_str());
  if (text.empty() && !format.empty()) pelk_fuzz::Fail("a format gave nothing");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pelk_fuzz::Setup();
  pelk_fuzz::WriteFile("fuzz.lng", data, size);
  if (config->LoadLanguage("fuzz.lng") != 0) pelk_fuzz::Fail("an existing language file was not loaded");
  for (const Use& u : Uses()) {
    // The built-in texts are known to work; a run spends its time on the
    // ones the file replaced.
    const char* text = config->get(u.id);
    if (!text) pelk_fuzz::Fail("a text went missing");
    if (strcmp(text, u.builtin) == 0) continue;
    if (u.list) config->GetList(u.id);
    if (!u.kinds.empty()) FillIn(config->GetText(u.id), u.kinds);
  }
  return 0;
}
